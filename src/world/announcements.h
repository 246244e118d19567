#pragma once
#include <cstdint>

// What a square's content sounds like and says when the player steps on it.
struct Announcement {
    const char* sound;
    const char* message;
};

// The announcement of kinds 3..18 (doors, bullets, creatures); null sound for
// any other kind.
Announcement announcementFor(int32_t kind);

inline bool isMonster(int32_t kind) { return kind >= 10 && kind <= 12; }
inline bool isMutant(int32_t kind) { return kind >= 13 && kind <= 15; }
inline bool isSuperMonster(int32_t kind) { return kind >= 16 && kind <= 18; }
inline bool isCreature(int32_t kind) { return kind >= 10 && kind <= 18; }
inline bool isBullets(int32_t kind) { return kind >= 7 && kind <= 9; }
