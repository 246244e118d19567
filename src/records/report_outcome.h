#pragma once
#include <string>

#include "report_reader.h"

// How a level ended, as its report tells it.
enum class Outcome { Won, Trap, Lives, Bullets, NotFinished };

// The ending a sentence of a report tells; NotFinished for a sentence that
// ends no level.
Outcome endingSaid(const std::string& sentence);

// How the level of a report ended: the last ending its sentences tell. A
// report whose history was full before the end lost that sentence; then a
// last step that reached the end tells a win, or a trap when it stands on
// one.
Outcome levelOutcome(const Report& report);
