#include "report_measures.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "announcements.h"
#include "catalogue.h"
#include "map_route.h"

namespace {
namespace cat = catalogue;

// Whether a sentence read from a report is the one the game writes for line.
bool says(const std::string& sentence, const catalogue::Line& line) { return sentence == line.shown; }

bool saysOneOf(const std::string& sentence, std::initializer_list<const catalogue::Line*> lines)
{
    for (const catalogue::Line* line : lines)
        if (says(sentence, *line))
            return true;
    return false;
}

// A door opened, bullets taken or a creature killed: the square holds nothing more.
bool emptiesSquare(const std::string& sentence)
{
    return saysOneOf(sentence, {&cat::MonstruoEliminado, &cat::MutanteEliminado, &cat::MuerteSuperMonstruo,
                                &cat::BalasAlaIzquierda, &cat::BalasAlCentro, &cat::BalasAlaDerecha,
                                &cat::AbriendoPuertaIzq, &cat::AbriendoPuertaCen, &cat::AbriendoPuertaDer});
}

// Ticks wrap after 49 days; they are compared as distances from the first.
uint32_t since(const Report& report, Tick tick) { return tick - firstTick(report); }

int shotSide(const std::string& sentence)
{
    if (says(sentence, cat::DisparoIzq)) return 0;
    if (says(sentence, cat::DisparoCen)) return 1;
    if (says(sentence, cat::DisparoDer)) return 2;
    return -1;
}

// The announcement of every kind as the report writes it, without its line
// end; empty for a kind with none. Made once: every sentence of every
// report is compared with them.
const std::array<std::string_view, 32>& announcementTexts()
{
    static const std::array<std::string_view, 32> texts = [] {
        std::array<std::string_view, 32> made{};
        for (int32_t kind = 0; kind < static_cast<int32_t>(made.size()); ++kind) {
            const Announcement a = announcementFor(kind);
            std::string_view message = a.message ? a.message : "";
            if (!message.empty() && message.back() == '\n')
                made[static_cast<size_t>(kind)] = message.substr(0, message.size() - 1);
        }
        return made;
    }();
    return texts;
}

// The kind a sentence says now stands on the player's square (a creature
// that changed side), or -1.
int32_t announcedKind(const std::string& sentence)
{
    for (int32_t kind = CellKind::MonsterLeft; kind <= CellKind::SuperRight; ++kind)
        if (!sentence.empty() && sentence == announcementTexts()[static_cast<size_t>(kind)])
            return kind;
    return -1;
}

// Whether a sentence is one of the announcements of kinds 3..18.
bool isAnnouncement(const std::string& sentence)
{
    const auto& texts = announcementTexts();
    return !sentence.empty() && std::find(texts.begin(), texts.end(), sentence) != texts.end();
}

bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// How an option stood over the level: what the settings line said it began
// with, then every change its key made.
Setting optionOver(const Report& report, const std::string& settings, const char* setting,
                   const catalogue::Line& on, const catalogue::Line& off)
{
    Setting state = Setting::Unknown;
    const std::string said = std::string(setting) + " ";
    if (const size_t at = settings.find(said); at != std::string::npos)
        state = startsWith(settings.substr(at + said.size()), "sí") ? Setting::On : Setting::Off;
    for (const ReportSentence& s : report.sentences) {
        const Setting now = says(s.text, on) ? Setting::On : says(s.text, off) ? Setting::Off : Setting::Unknown;
        // A change from a state the report never told also shows that both
        // states were played.
        if (now != Setting::Unknown && state != now)
            return Setting::Changed;
    }
    return state;
}

// The settings line the game writes at the start of a level, without its
// label and final point.
std::string settingsOf(const Report& report)
{
    for (const ReportSentence& s : report.sentences)
        if (startsWith(s.text, "Ajustes: ")) {
            std::string text = s.text.substr(9);
            if (!text.empty() && text.back() == '.')
                text.pop_back();
            return text;
        }
    return {};
}

// The furthest square of the route the path stood on: how many of the
// route's steps lead to it.
int furthestOnRoute(const Report& report, const Route& route)
{
    // A route step is the way the player stands when he makes the move; an
    // advance lands on the square ahead.
    std::map<std::pair<int, int>, int> place;
    int advances = 0, row = 0, col = 0;
    for (const RouteStep& step : route.steps)
        if (step.move == Move::Advance && squareAhead(step.row, step.col, step.facing, row, col))
            place[{row, col}] = ++advances;
    int furthest = 0;
    for (const ReportStep& step : report.path)
        if (const auto it = place.find({step.row, step.col}); it != place.end())
            furthest = std::max(furthest, it->second);
    return furthest;
}

// A level played on from a saved game is named after it (*.txt); a map is a
// *.quorvane.
Setting replayOf(std::string map)
{
    for (char& ch : map)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    auto endsWith = [&](const char* suffix) {
        const size_t n = std::strlen(suffix);
        return map.size() >= n && map.compare(map.size() - n, n, suffix) == 0;
    };
    return endsWith(".txt") ? Setting::On : endsWith(".quorvane") ? Setting::Off : Setting::Unknown;
}

// The shortest route, and how much of it the player walked.
void measureRoute(const Report& report, Measures& m)
{
    const auto route = findRoute(report.kinds, CodeSet::Kinds);
    m.ratio = m.routeCovered = NAN;
    if (!route)
        return;
    m.shortest = route->advances;
    if (m.outcome == Outcome::Won && route->advances > 0)
        m.ratio = report.counters[StepCount] / static_cast<double>(route->advances);
    const int furthest = m.outcome == Outcome::Won ? route->advances : furthestOnRoute(report, *route);
    m.stepsLeft = route->advances - furthest;
    m.routeCovered = route->advances > 0 ? static_cast<double>(furthest) / route->advances : 1.0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
}

bool isShot(const std::string& sentence)
{
    // A shot with no bullets says so, or, facing a creature, ends the level.
    return shotSide(sentence) >= 0 || saysOneOf(sentence, {&cat::NoBalasCen, &cat::PerderPorBalas});
}

bool isPlayerKey(const std::string& sentence)
{
    return isShot(sentence) ||
           saysOneOf(sentence, {&cat::Avanzaste, &cat::BalasAlaIzquierda, &cat::BalasAlCentro, &cat::BalasAlaDerecha,
                                &cat::AbriendoPuertaIzq, &cat::AbriendoPuertaCen, &cat::AbriendoPuertaDer, &cat::Nada,
                                &cat::MostraMapaActivado, &cat::MostrarMapaDesactivado, &cat::MusicaActivada,
                                &cat::MusicaDesactivada, &cat::MouseActivado, &cat::MouseDesactivado,
                                &cat::BalasIniActivadas, &cat::BalasIniDesactivadas, &cat::Salir});
}

std::vector<Reaction> reactions(const Report& report)
{
    std::vector<Reaction> found;
    // The sentence announcing what stands on the square now; the same
    // sentence again, with no step between, is the player asking (D).
    std::string standing;
    std::optional<size_t> waiting;  // the announcement not answered yet, into found
    for (size_t i = 0; i < report.sentences.size(); ++i) {
        const ReportSentence& s = report.sentences[i];
        const bool announcement = isAnnouncement(s.text) && s.text != standing;
        if (announcement) {
            found.push_back({i, std::nullopt});
            waiting = found.size() - 1;
            standing = s.text;
            continue;
        }
        if (says(s.text, cat::Avanzaste) || emptiesSquare(s.text))
            standing.clear();
        if (!waiting || !(isPlayerKey(s.text) || isAnnouncement(s.text)))
            continue;
        // The step that brought the announcement is written just before it,
        // at the same tick: a key answers only when it comes later.
        const Tick from = report.sentences[found[*waiting].sentence].tick;
        if (since(report, s.tick) > since(report, from)) {
            found[*waiting].seconds = (since(report, s.tick) - since(report, from)) / 1000.0;
            waiting.reset();
        }
    }
    return found;
}

const char* settingText(Setting setting)
{
    switch (setting) {
    case Setting::On: return "sí";
    case Setting::Off: return "no";
    case Setting::Changed: return "cambió";
    default: return "desconocido";
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

SquareAtTick::SquareAtTick(const Report& report) : report_(report)
{
    latest_.reserve(report.path.size());
    for (const ReportStep& step : report.path)
        latest_.push_back(std::max(latest_.empty() ? 0u : latest_.back(), since(report, step.tick)));
    const StartSquare start = findStart(report.kinds);
    start_ = {start.row, start.col};
}

std::pair<int, int> SquareAtTick::operator()(Tick tick) const
{
    // The first step taken later than the tick is the first whose latest is.
    const size_t later = static_cast<size_t>(
        std::upper_bound(latest_.begin(), latest_.end(), since(report_, tick)) - latest_.begin());
    if (later == 0)
        return start_;
    const ReportStep& last = report_.path[later - 1];
    return {last.row, last.col};
}

Measures measure(const Report& report)
{
    Measures m;
    m.outcome = levelOutcome(report);

    measureRoute(report, m);
    const double steps = report.counters[StepCount];

    std::vector<double> answered;
    for (const Reaction& r : reactions(report))
        if (r.seconds)
            answered.push_back(*r.seconds);
    m.reactionCount = static_cast<int>(answered.size());
    if (!answered.empty())
        m.reactionSeconds = median(answered);
    m.wrongSideShots =
        report.counters[MissedAtMonsters] + report.counters[MissedAtMutants] + report.counters[MissedAtSuperMonsters];

    m.settings = settingsOf(report);
    m.infiniteBullets =
        optionOver(report, m.settings, "balas infinitas", cat::BalasIniActivadas, cat::BalasIniDesactivadas);
    m.mapShown =
        optionOver(report, m.settings, "mapa a la vista", cat::MostraMapaActivado, cat::MostrarMapaDesactivado);
    m.replay = replayOf(report.map);

    m.meanGap = NAN;
    if (report.path.size() >= 2) {
        double total = 0;
        for (size_t i = 1; i < report.path.size(); ++i)
            total += static_cast<uint32_t>(report.path[i].tick - report.path[i - 1].tick) / 1000.0;
        m.meanGap = total / static_cast<double>(report.path.size() - 1);
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
    const SquareAtTick squareAt(report);
    for (const ReportSentence& s : report.sentences) {
        const auto square = squareAt(s.tick);
        if (says(s.text, cat::Avanzaste) || square != at) {
            at = square;
            content = at.first >= 0 ? report.kinds[at.first][at.second] : 0;
        }
        const int side = shotSide(s.text);
        const bool creatureThere = isCreature(content) && (content - CellKind::MonsterLeft) % 3 == side;
        if ((side >= 0 && !creatureThere) || says(s.text, cat::NoBalasCen)) {
            ++places.missedShots[at];
            ++places.missedShotsPlaced;
        }
        if (emptiesSquare(s.text))
            content = CellKind::Wall;
        if (const int32_t kind = announcedKind(s.text); kind >= 0 && !says(s.text, cat::Avanzaste))
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
