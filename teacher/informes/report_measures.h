#pragma once
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "report_file.h"

// How a level ended, as the report's sentences tell it.
enum class Outcome { Won, Trap, Lives, Bullets, NotFinished };
const char* outcomeText(Outcome outcome);  // "ganado", "trampa", ...

// The measures navigation research uses, from one report.
struct Measures {
    Outcome outcome = Outcome::NotFinished;
    std::optional<int> shortest;  // steps of the shortest route from start to exit on the report's grid
    double ratio = 0;             // steps walked / shortest (NaN without a route)
    double meanGap = 0;           // seconds between steps (NaN below two steps)
    double longestGap = 0;
    int errors = 0;               // missed shots + wall bumps + steps with a monster + door bumps
    double errorsPerTen = 0;      // errors per ten steps walked (NaN without steps)
    std::optional<double> reactionSeconds;  // median time from an announcement to the player's next key
    std::string settings;                   // the teacher's settings the level was played with ("" unknown)
};
Measures measure(const Report& report);

// Where the errors that the sentences reveal happened: the squares (row, col)
// of the missed shots, found by following each shot against what stood on
// the square then. Door bumps are placed when the path crossed a single centre
// door (the only squares where they can happen).
struct ErrorPlaces {
    std::map<std::pair<int, int>, int> missedShots;
    std::map<std::pair<int, int>, int> doorBumps;
    int missedShotsPlaced = 0;
};
ErrorPlaces placeErrors(const Report& report);

// The square the player stood on when each sentence was said.
std::pair<int, int> squareAt(const Report& report, Tick tick);

// The tick the level is counted from: the first thing the report records.
Tick firstTick(const Report& report);
