#include "report_measures.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "announcements.h"
#include "map_route.h"

namespace {
bool says(const std::string& sentence, const char* text) { return sentence == text; }

// Ticks wrap after 49 days; they are compared as distances from the first.
uint32_t since(const Report& report, Tick tick) { return tick - firstTick(report); }

int shotSide(const std::string& sentence)
{
    if (sentence == "Disparo a la izquierda.") return 0;
    if (sentence == "Disparo al centro.") return 1;
    if (sentence == "Disparo a la derecha.") return 2;
    return -1;
}

// The kind a sentence says now stands on the player's square (a creature
// that changed side), or -1.
int32_t announcedKind(const std::string& sentence)
{
    for (int32_t kind = CellKind::MonsterLeft; kind <= CellKind::SuperRight; ++kind) {
        const Announcement a = announcementFor(kind);
        if (a.message && sentence + "\n" == a.message)
            return kind;
    }
    return -1;
}
}

const char* outcomeText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Won: return "ganado";
    case Outcome::Trap: return "trampa";
    case Outcome::Lives: return "sin vidas";
    case Outcome::Bullets: return "sin balas";
    default: return "sin terminar";
    }
}

Tick firstTick(const Report& report)
{
    if (report.sentences.empty())
        return report.path.empty() ? 0 : report.path.front().tick;
    const Tick sentence = report.sentences.front().tick;
    if (report.path.empty())
        return sentence;
    const Tick step = report.path.front().tick;
    // The earlier of the two, across a wrap of the counter.
    return static_cast<int32_t>(step - sentence) < 0 ? step : sentence;
}

std::pair<int, int> squareAt(const Report& report, Tick tick)
{
    const StartSquare start = findStart(report.kinds);
    std::pair<int, int> at{start.row, start.col};
    const uint32_t when = since(report, tick);
    for (const ReportStep& step : report.path) {
        if (since(report, step.tick) > when)
            break;
        at = {step.row, step.col};
    }
    return at;
}

Measures measure(const Report& report)
{
    Measures m;
    for (const ReportSentence& s : report.sentences) {
        if (says(s.text, "Has Ganado.")) m.outcome = Outcome::Won;
        if (says(s.text, "Has sido atrapado.")) m.outcome = Outcome::Trap;
        if (says(s.text, "No tienes vidas, perdiste.")) m.outcome = Outcome::Lives;
        if (says(s.text, "Perdiste, se te acabaron las balas.")) m.outcome = Outcome::Bullets;
    }
    // A full history may have lost the ending's sentence; the last square says it.
    if (m.outcome == Outcome::NotFinished && report.reachedEnd && !report.path.empty()) {
        const int32_t last = report.kinds[report.path.back().row][report.path.back().col];
        m.outcome = last == CellKind::Trap ? Outcome::Trap : Outcome::Won;
    }

    const auto route = findRoute(report.kinds, CodeSet::Kinds);
    const double steps = report.counters[StepCount];
    if (route)
        m.shortest = route->advances;
    m.ratio = route && route->advances > 0 ? steps / route->advances : NAN;

    m.meanGap = m.longestGap = NAN;
    if (report.path.size() >= 2) {
        double total = 0, longest = 0;
        for (size_t i = 1; i < report.path.size(); ++i) {
            const double gap = static_cast<uint32_t>(report.path[i].tick - report.path[i - 1].tick) / 1000.0;
            total += gap;
            longest = std::max(longest, gap);
        }
        m.meanGap = total / static_cast<double>(report.path.size() - 1);
        m.longestGap = longest;
    }
    m.errors = report.counters[MissedShots] + report.counters[WallBumps] + report.counters[StepsWithMonster] +
               report.counters[DoorBumps];
    m.errorsPerTen = steps > 0 ? m.errors * 10.0 / steps : NAN;
    return m;
}

ErrorPlaces placeErrors(const Report& report)
{
    ErrorPlaces places;
    // What stands on the player's square: the grid's content on every
    // arrival (the rules never change the grid), then what the sentences say.
    std::pair<int, int> at{-1, -1};
    int32_t content = 0;
    for (const ReportSentence& s : report.sentences) {
        const auto square = squareAt(report, s.tick);
        if (s.text == "Avanzaste un paso." || square != at) {
            at = square;
            content = at.first >= 0 ? report.kinds[at.first][at.second] : 0;
        }
        const int side = shotSide(s.text);
        const bool creatureThere = isCreature(content) && (content - CellKind::MonsterLeft) % 3 == side;
        if ((side >= 0 && !creatureThere) || s.text == "No tienes balas.") {
            ++places.missedShots[at];
            ++places.missedShotsPlaced;
        }
        if (s.text.find("fue eliminado") != std::string::npos || s.text.rfind("Tomaste las balas", 0) == 0 ||
            s.text.rfind("Has abierto la puerta", 0) == 0)
            content = CellKind::Wall;
        if (const int32_t kind = announcedKind(s.text); kind >= 0 && s.text != "Avanzaste un paso.")
            content = kind;
    }

    if (report.counters[DoorBumps] > 0) {
        std::pair<int, int> door{-1, -1};
        bool single = true;
        for (const ReportStep& step : report.path)
            if (report.kinds[step.row][step.col] == CellKind::DoorCentre) {
                single = single && (door.first < 0 || door == std::make_pair(int(step.row), int(step.col)));
                door = {step.row, step.col};
            }
        if (door.first >= 0 && single)
            places.doorBumps[door] = report.counters[DoorBumps];
    }
    return places;
}
