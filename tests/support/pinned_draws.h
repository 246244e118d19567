#pragma once
#include <cstdint>

// A seed for GameState::random under which a level's first draws come out as
// the scripted tests expect: the first two squares of bullets or creatures
// on the left, the third in the centre; an exit that may be a trap is a trap
// when it is the second square drawn.
constexpr uint32_t kLeftSidesSeed = 20044;
