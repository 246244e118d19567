#pragma once
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "report_outcome.h"
#include "report_reader.h"

// How a level ended (report_outcome.h), as the pages and tables name it.
const char* outcomeText(Outcome outcome);  // "ganado", "trampa", ...

// An option of the level as the report tells it: on or off the whole level,
// changed during it, or not said (a report from before the game wrote it).
enum class Setting { On, Off, Changed, Unknown };
const char* settingText(Setting setting);  // "sí", "no", "cambió", "desconocido"

// The measures navigation research uses, from one report.
struct Measures {
    Outcome outcome = Outcome::NotFinished;
    std::optional<int> shortest;  // steps of the shortest route from start to exit on the report's grid
    double ratio = 0;             // steps walked / shortest, for a level won only (NaN otherwise)
    // How far along the shortest route the player got: the furthest of its
    // squares he stood on, as a share of it (1 when won) and as the steps of
    // it still ahead of him. NaN / empty without a route.
    double routeCovered = 0;
    std::optional<int> stepsLeft;
    int wrongSideShots = 0;       // shots missed with a creature on the square
    int reactionCount = 0;        // announcements the player answered with a key
    Setting infiniteBullets = Setting::Unknown;
    Setting mapShown = Setting::Unknown;
    Setting replay = Setting::Unknown;  // played on from a saved game
    double meanGap = 0;           // seconds between steps (NaN below two steps)
    int errors = 0;               // missed shots + wall bumps + steps with a monster + door bumps
    double errorsPerTen = 0;      // errors per ten steps walked (NaN without steps)
    std::optional<double> reactionSeconds;  // median time from an announcement to the player's next key
    std::string settings;                   // the teacher's settings the level was played with ("" unknown)
};
Measures measure(const Report& report);

// The sentences that announce what stands on the player's square (a door,
// bullets, a creature, on arrival or when a creature changes side), each with
// the seconds until the player's next key the report shows: the next step,
// shot, bullets taken, door opened, question or option. An announcement
// followed by another before any key is answered by the later one and has
// none; so has one the level ended on.
struct Reaction {
    size_t sentence = 0;              // index in report.sentences
    std::optional<double> seconds;
};
std::vector<Reaction> reactions(const Report& report);

// Whether a sentence is the answer to one of the player's keys.
bool isPlayerKey(const std::string& sentence);
// Whether a sentence is a shot ("Disparo a la izquierda.", "No tienes balas.",
// "Perdiste, se te acabaron las balas.").
bool isShot(const std::string& sentence);

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

// The square the player stood on at a tick of the report: the square of the
// last step taken by then (steps in the report's order, up to the first one
// taken later), or the start square before the first. Asked once for every
// sentence, of thousands, against hundreds of steps: the answer is found by
// halving over the latest tick seen up to each step.
class SquareAtTick {
public:
    explicit SquareAtTick(const Report& report);
    std::pair<int, int> operator()(Tick tick) const;

private:
    const Report& report_;
    std::vector<uint32_t> latest_;  // since the first tick, the latest up to each step
    std::pair<int, int> start_;
};

// The tick the level is counted from: the first thing the report records.
Tick firstTick(const Report& report);
