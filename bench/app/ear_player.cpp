// A player who acts only on what he has heard in full, playing the shipped
// levels on the real program: the game session in a real window (run it
// under `xvfb-run -a`), real OpenAL (the null backend mixes in real time),
// keys sent through the X server as a keyboard sends them.
//
// He may know the maze (his route comes from the map file), but what stands
// on his square, and on which side a creature is, he learns only from the
// sentences the game starts: the voice arbiter names each file as it starts,
// the speech table says where in the file the words are, and the device says
// how far each voice has played. A sentence counts as heard once its voice
// has played past its last word without being stopped, held or cut; then he
// waits a reaction time and presses the key. He never shoots at a side he has
// not heard in full, and forgets the side as soon as the creature's next
// announcement starts. The game record is read only to print each level's
// figures once it is over.
//
//   ear_player [--levels 1-6] [--timeout SECONDS] [--seed N] [--name NAME] [--verbose]
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "announcements.h"
#include "app_setup.h"
#include "catalogue.h"
#include "cell.h"
#include "game_home.h"
#include "game_session.h"
#include "game_state.h"
#include "input_state.h"
#include "main_window.h"
#include "map_file.h"
#include "map_route.h"
#include "openal_sound.h"
#include "session.h"
#include "session_driver.h"
#include "speech_table.h"
#include "voice_arbiter.h"
#include "wave.h"

namespace {

using Ms = double;

QElapsedTimer wallClock;
Ms nowMs() { return static_cast<Ms>(wallClock.nsecsElapsed()) / 1e6; }

bool verbose = false;
// One line of the hearing log: when (now, or the moment given), what, which file.
void trace(const char* what, const std::string& file, Ms at = -1)
{
    if (verbose)
        std::printf("  %8.3f  %s %s\n", (at < 0 ? nowMs() : at) / 1000, what, file.c_str());
}

// How long the player takes from hearing the last word to pressing a key.
constexpr Ms kReactionMs = 500;
// The least time between two shots (--shot-gap): a slow child gives the
// creatures time to move, and the moves are then heard and timed.
Ms shotGapMs = kReactionMs;
// A key that has shown no effect after this long is taken for lost.
constexpr Ms kPressLostMs = 2500;
// Where a voice goes on from counts as its beginning when it lies this close
// to the first word: the device reports positions a mixing period late.
constexpr Ms kStartToleranceMs = 20;

bool contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

// Files are named as the game names them, from the catalogue: a file renamed
// or removed in assets/ fails the build here instead of never being heard.
namespace cat = catalogue;
bool is(const std::string& file, const cat::Line& line) { return file == line.file; }
bool isAny(const std::string& file, std::initializer_list<const cat::Line*> lines)
{
    return std::any_of(lines.begin(), lines.end(), [&](const cat::Line* line) { return is(file, *line); });
}
template <size_t N>
bool isAny(const std::string& file, const cat::Line (&lines)[N])
{
    return std::any_of(std::begin(lines), std::end(lines), [&](const cat::Line& line) { return is(file, line); });
}
bool isLevelStart(const std::string& f) { return is(f, cat::InicioJuego) || isAny(f, cat::kLevelTitles); }
bool isDoorOpened(const std::string& f)
{
    return isAny(f, {&cat::AbriendoPuertaIzq, &cat::AbriendoPuertaCen, &cat::AbriendoPuertaDer});
}
bool isBulletsTaken(const std::string& f)
{
    return isAny(f, {&cat::BalasAlaIzquierda, &cat::BalasAlCentro, &cat::BalasAlaDerecha});
}
bool isStep(const std::string& f) { return is(f, cat::Pasos) || is(f, cat::Choque); }
// A key of the name said back as it is typed (or rubbed out).
bool isSaidBack(const std::string& f)
{
    return isAny(f, cat::kLetters) || isAny(f, cat::kDigits) || isAny(f, {&cat::LetrasEnie, &cat::LetrasBorrar});
}
const cat::Line& saidBack(char key) { return key >= 'a' ? cat::kLetters[key - 'a'] : cat::kDigits[key - '0']; }

// The calendar the level start seeds its draws from, fixed when a seed is
// given; the ticks are the system's.
class SeededClock : public Clock {
public:
    explicit SeededClock(std::optional<unsigned> seed) : seed_(seed) {}
    Tick now() const override { return systemClock().now(); }
    std::time_t calendar() const override { return seed_ ? static_cast<std::time_t>(*seed_) : systemClock().calendar(); }

private:
    std::optional<unsigned> seed_;
};

// ---------------------------------------------------------------------------
// What a file says, as the announcements name it.

enum class Content { None, Door, Bullets, Monster, Mutant, Super };

struct Meaning {
    Content content = Content::None;
    char side = 0;  // 'H' left, 'J' centre, 'K' right: the key that acts there
};

Meaning meaningOf(const std::string& file)
{
    for (int32_t kind = CellKind::DoorCentre; kind <= CellKind::SuperRight; ++kind) {
        const Announcement a = announcementFor(kind);
        if (a.sound == nullptr || file != a.sound)
            continue;
        if (kind <= CellKind::DoorRight)
            return {Content::Door, kind == CellKind::DoorCentre ? 'J' : kind == CellKind::DoorLeft ? 'H' : 'K'};
        const char side = "HJK"[(kind - CellKind::BulletsLeft) % 3];
        if (isBullets(kind))
            return {Content::Bullets, side};
        if (isMonster(kind))
            return {Content::Monster, side};
        return {isMutant(kind) ? Content::Mutant : Content::Super, side};
    }
    return {};
}

// What a file says, from the voice's own table (the game folder does not
// keep the sentences).
std::map<std::string, std::string> readSentences()
{
    std::map<std::string, std::string> sentences;
    QFile file(QStringLiteral(QUORVANE_VOICE_TEXTS));
    if (!file.open(QIODevice::ReadOnly))
        return sentences;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const int tab = line.indexOf('\t');
        if (!line.startsWith('#') && tab > 0)
            sentences[line.left(tab).toStdString()] = line.mid(tab + 1).toStdString();
    }
    return sentences;
}

// A sentence heard between the name and the first level that is not the
// welcome, a letter said back or a level's start: a tutorial, which Enter
// skips.
bool isTutorial(const std::string& file)
{
    static const std::map<std::string, std::string> sentences = readSentences();
    if (contains(file, "utorial") || contains(file, "UTORIAL"))
        return true;
    if (isAny(file, {&cat::Intro1, &cat::Intro2, &cat::escribetunombreypresiona}) || isLevelStart(file) ||
        isSaidBack(file))
        return false;
    const auto it = sentences.find(file);
    return it == sentences.end() || !contains(it->second, "Encuentra la salida");
}

bool isCreatureContent(Content c) { return c == Content::Monster || c == Content::Mutant || c == Content::Super; }
bool isCreatureFile(const std::string& file) { return isCreatureContent(meaningOf(file).content); }

// ---------------------------------------------------------------------------
// The ear: which files start, on which voice, and whether each sentence is
// heard to its last word.

struct Event {
    enum Kind { Started, Heard, Cut } kind;
    std::string file;
    Ms at;
    bool blocking = false;
};

// One start of a file on one of the game's channel voices.
struct Track {
    std::string file;
    const SoundTiming* timing = nullptr;
    double rate = 0;      // sample frames per second
    Ms startedAt = 0;
    bool playing = false;  // as last seen on the device
    Ms posMs = 0;          // where it was then
    Ms seenAt = 0;         // when
    bool resumed = false;  // the device started it again since then
    bool clean = false;    // the stretch playing now began before the first word
    bool heardRound = false;  // the last word of this round has been heard
    bool everHeard = false;
    Ms heardAt = 0;
    int interruptions = 0;  // held, cut or stopped before the last word
    bool loop = false;
};

struct Blocking {
    std::string file;
    const SoundTiming* timing = nullptr;
    Ms startedAt = 0;
};

class Ear {
public:
    Ear(OpenAlSound& device, const SpeechTable& table, GameDir folder)
        : device_(device), table_(table), folder_(std::move(folder))
    {
    }

    // The device started a voice's source: a new file (its name follows at
    // once) or a held loop going on.
    void onDevicePlay(int voice)
    {
        endBlocking();
        markResumed();
        pollAll(voice);
        lastPlayed_ = voice;
        lastWasDevice_ = true;
        pendingResume_ = voice;
    }

    // The arbiter says a file starts: on the voice the device just started,
    // or blocking, on a source of its own, the game waiting for its end.
    void onFileStart(const std::string& file)
    {
        const Ms now = nowMs();
        const bool onVoice = lastWasDevice_ && lastPlayed_ >= 0 && device_.voiceSampleOffset(lastPlayed_) >= 0 &&
                             device_.voiceSampleOffset(lastPlayed_) < rateOf(file) / 10;
        lastWasDevice_ = false;
        endBlocking();
        if (onVoice)
            pendingResume_ = -1;
        markResumed();
        if (!onVoice)
            pollAll(-1);
        const SoundTiming* timing = table_.find(file);
        if (onVoice) {
            const int voice = lastPlayed_;
            const auto old = tracks_.find(voice);
            if (old != tracks_.end())
                finish(old->second, now);
            Track t;
            t.file = file;
            t.timing = timing;
            t.rate = rateOf(file);
            t.startedAt = now;
            t.playing = true;
            t.seenAt = now;
            t.clean = true;
            t.loop = isCreatureFile(file);
            tracks_[voice] = t;
        } else if (timing != nullptr && timing->speaks()) {
            blocking_ = Blocking{file, timing, now};
        }
        if (timing != nullptr && timing->speaks())
            busyUntil_ = std::max(busyUntil_, now);
        trace(onVoice ? "start" : "start (blocking)", file);
        events_.push_back({Event::Started, file, now, !onVoice});
    }

    // After every pass of the main loop.
    void poll()
    {
        endBlocking();
        markResumed();
        pollAll(-1);
        lastWasDevice_ = false;
    }

    bool nextEvent(Event& e)
    {
        if (events_.empty())
            return false;
        e = events_.front();
        events_.pop_front();
        return true;
    }

    // Something other than a creature's announcement is still to be said.
    bool speaking() const
    {
        for (const auto& [voice, t] : tracks_)
            if (t.playing && speaks(t) && !t.loop && t.posMs < t.timing->lastSpeechEndMs())
                return true;
        return false;
    }
    // When the last sentence other than a creature's ended, as far as known.
    Ms quietSince() const { return busyUntil_; }

    // Every creature announcement, once over: for the level's hearing log.
    struct CreatureHearing {
        std::string file;
        Ms startedAt = 0;
        bool heard = false;
        Ms heardAt = 0;
        int interruptions = 0;
    };
    std::vector<CreatureHearing> finishedCreatures;
    int sentencesHeard = 0;
    int sentencesCut = 0;
    // Sound the device played against the wall time it took, over stretches
    // seen playing from one pass to the next: 1 when it mixes in real time.
    Ms deviceMs = 0, wallMs = 0;
    std::vector<std::string> cutFiles;

    // Closes what is still open, for the figures of a level that ended.
    void flushCreatures()
    {
        pollAll(-1);
        for (auto& [voice, t] : tracks_)
            if (t.loop && !t.file.empty()) {
                finish(t, nowMs());
                t = Track{};
            }
    }

private:
    static bool speaks(const Track& t) { return t.timing != nullptr && t.timing->speaks(); }

    double rateOf(const std::string& file)
    {
        const auto it = rates_.find(file);
        if (it != rates_.end())
            return it->second;
        WaveSound sound;
        const double rate = loadWaveFile(folder_, file, sound) ? sound.sampleRate : 0;
        rates_[file] = rate;
        return rate;
    }

    void heard(Track& t, Ms at)
    {
        t.heardRound = true;
        busyUntil_ = std::max(busyUntil_, at);
        if (t.everHeard)
            return;
        t.everHeard = true;
        t.heardAt = at;
        ++sentencesHeard;
        trace("heard", t.file, at);
        events_.push_back({Event::Heard, t.file, at});
    }

    // Counted until the sentence has once been heard: a creature killed or
    // moving on after that cuts nothing the player still needed.
    void interrupted(Track& t, const char* how)
    {
        trace(how, t.file);
        if (t.everHeard)
            return;
        if (t.interruptions++ == 0 && !t.loop) {
            ++sentencesCut;
            cutFiles.push_back(t.file);
        }
        events_.push_back({Event::Cut, t.file, nowMs()});
    }

    // A file replaced on its voice: what it had said by then is all it says.
    void finish(Track& t, Ms now)
    {
        if (t.file.empty())
            return;
        if (speaks(t) && t.playing && !t.resumed) {
            const Ms last = t.timing->lastSpeechEndMs();
            const Ms pos = t.posMs + (now - t.seenAt);
            if (t.clean && !t.heardRound && (pos >= last || (t.loop && t.posMs < last && pos >= t.timing->lengthMs)))
                heard(t, t.seenAt + (last - t.posMs));
            else if (!t.heardRound && pos < last)
                interrupted(t, "cut");
        }
        if (t.loop)
            finishedCreatures.push_back({t.file, t.startedAt, t.everHeard, t.heardAt, t.interruptions});
        t.file.clear();
    }

    // A voice the device started again without a new file: a held loop
    // going on from where it was.
    void markResumed()
    {
        const auto it = tracks_.find(pendingResume_);
        if (it != tracks_.end())
            it->second.resumed = true;
        pendingResume_ = -1;
    }

    void pollAll(int except)
    {
        const Ms now = nowMs();
        for (auto& [voice, t] : tracks_)
            if (voice != except && !t.file.empty())
                watch(t, voice, now);
    }

    void watch(Track& t, int voice, Ms now)
    {
        const bool playing = device_.isVoicePlaying(voice);
        const long offset = device_.voiceSampleOffset(voice);
        const Ms pos = t.rate > 0 && offset >= 0 ? offset * 1000.0 / t.rate : 0;
        if (!speaks(t)) {
            t.playing = playing;
            t.posMs = pos;
            t.seenAt = now;
            return;
        }
        const Ms first = t.timing->firstSpeechMs(), last = t.timing->lastSpeechEndMs();
        if (playing) {
            if (!t.playing || t.resumed) {
                // Goes on from where it was held: whole only from before the first word.
                if (!t.playing)
                    t.clean = t.posMs <= first + kStartToleranceMs;
                else
                    t.clean = pos + kStartToleranceMs < t.posMs;  // unseen pause: whole only if it came round
                if (t.posMs < last)
                    t.heardRound = false;
            } else if (pos + kStartToleranceMs < t.posMs) {
                // A loop came round: the rest of the last round was played.
                if (t.clean && !t.heardRound && t.posMs < last)
                    heard(t, t.seenAt + (last - t.posMs));
                t.clean = true;
                t.heardRound = false;
            }
            if (t.playing && !t.resumed && pos >= t.posMs) {
                deviceMs += pos - t.posMs;
                wallMs += now - t.seenAt;
            }
            if (t.clean && !t.heardRound && pos >= last)
                heard(t, now - (pos - last));
            if (!t.loop && pos < last)
                busyUntil_ = std::max(busyUntil_, now);
        } else if (t.playing) {
            const Ms reached = t.posMs + (now - t.seenAt);
            // A stopped source rewinds to 0, a paused one keeps its place.
            if (offset == 0 && reached >= t.timing->lengthMs / 2) {
                // Played to its end.
                if (t.clean && !t.heardRound)
                    heard(t, t.seenAt + (last - t.posMs));
            } else {
                // Paused by the arbiter or the rules: where it stopped is exact.
                if (!t.heardRound && pos >= last && t.clean)
                    heard(t, t.seenAt + std::max(0.0, last - t.posMs));
                else if (!t.heardRound && pos < last)
                    interrupted(t, t.loop ? "held" : "cut");
                t.clean = false;
            }
            // Quiet from its last word on, or from where it was cut.
            if (!t.loop && t.posMs < last)
                busyUntil_ = std::max(busyUntil_, std::min(now, t.seenAt + (last - t.posMs)));
        }
        t.resumed = false;
        t.playing = playing;
        t.posMs = pos;
        t.seenAt = now;
    }

    // The game takes its turn again after a blocking sentence: it was heard
    // if it lasted to its last word.
    void endBlocking()
    {
        if (!blocking_)
            return;
        const Ms now = nowMs();
        const Ms last = blocking_->timing->lastSpeechEndMs();
        if (now - blocking_->startedAt >= last - 50) {
            ++sentencesHeard;
            busyUntil_ = std::max(busyUntil_, blocking_->startedAt + last);
            trace("heard", blocking_->file, blocking_->startedAt + last);
            events_.push_back({Event::Heard, blocking_->file, blocking_->startedAt + last, true});
        } else {
            ++sentencesCut;
            cutFiles.push_back(blocking_->file);
            busyUntil_ = std::max(busyUntil_, now);
            trace("cut (blocking)", blocking_->file);
            events_.push_back({Event::Cut, blocking_->file, now, true});
        }
        blocking_.reset();
    }

    OpenAlSound& device_;
    const SpeechTable& table_;
    const GameDir folder_;
    std::map<int, Track> tracks_;
    std::map<std::string, double> rates_;
    std::optional<Blocking> blocking_;
    std::deque<Event> events_;
    int lastPlayed_ = -1;
    int pendingResume_ = -1;
    bool lastWasDevice_ = false;
    Ms busyUntil_ = 0;
};

// ---------------------------------------------------------------------------
// The keyboard, defined at the end of the file: Xlib's macros clash with
// Qt's names.
class Keyboard {
public:
    explicit Keyboard(unsigned long window);
    ~Keyboard();
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;
    bool ok() const { return display_ != nullptr; }
    // ' ' is Space, '\r' Enter, letters in either case.
    void press(char key);

private:
    unsigned long window_;
    void* display_;
};

// ---------------------------------------------------------------------------
// The player.

struct Options {
    std::vector<int> levels{1, 2, 3, 4, 5, 6};
    int timeoutS = 300;
    std::optional<unsigned> seed;
    std::string name = "oido";
};

std::string mapOf(int level) { return "nivel" + std::to_string(level) + ".quorvane"; }

std::optional<std::vector<Move>> routeOf(const std::string& map)
{
    MapText text;
    if (!readMapText(map, text))
        return std::nullopt;
    const std::optional<Route> route = findRoute(text.codes);
    if (!route)
        return std::nullopt;
    std::vector<Move> moves;
    for (const RouteStep& step : route->steps)
        moves.push_back(step.move);
    return moves;
}

struct LevelFigures {
    int level = 0;
    int attempt = 0;
    std::string outcome;  // "won", "lost: ...", "timeout"
    Ms seconds = 0;
    int lives = 0;
    int missedShots = 0;
    int creatureStarts = 0, creatureHeard = 0, creatureCut = 0, creatureInterruptions = 0;
    std::vector<Ms> toHear, leftToAct, toKill;
    int sentencesHeard = 0, sentencesCut = 0;
    std::vector<std::string> cutFiles;
    int presses = 0, shots = 0, lostPresses = 0, asked = 0;
};

std::string spread(std::vector<Ms> ms)
{
    if (ms.empty())
        return "none";
    std::sort(ms.begin(), ms.end());
    char text[96];
    std::snprintf(text, sizeof text, "n=%zu min %.2f median %.2f max %.2f s", ms.size(), ms.front() / 1000,
                  ms[ms.size() / 2] / 1000, ms.back() / 1000);
    return text;
}

class EarPlayer {
public:
    EarPlayer(GameSession& session, Ear& ear, Keyboard& keys, const Options& options)
        : session_(session), ear_(ear), keys_(keys), options_(options)
    {
    }

    int run();

private:
    enum class Phase { Name, Welcome, LevelStart, Play, Ending, Done };

    // Runs one pass and listens to what it started.
    bool pass()
    {
        if (!session_.runPass())
            return false;
        session_.pace();
        ear_.poll();
        return true;
    }

    void press(char key, std::function<bool(const std::string&)> effect)
    {
        trace("press", key == ' ' ? "Space" : key == '\r' ? "Enter" : std::string(1, key));
        keys_.press(key);
        pressedAt_ = nowMs();
        pressedKey_ = key;
        effect_ = std::move(effect);
        ++figures_.presses;
    }
    bool awaitingEffect() const { return static_cast<bool>(effect_); }

    // Quiet, apart from a creature's loop, for the reaction time.
    bool quietFor(Ms ms, Ms since = 0) const
    {
        const Ms now = nowMs();
        return !ear_.speaking() && now - std::max(ear_.quietSince(), since) >= ms;
    }

    void hear(const Event& e);
    bool hearEnding(const Event& e);
    void hearAroundLevels(const Event& e);
    void hearStarted(const Event& e, const Meaning& m);
    void decidePlay();
    void checkEffect();
    void askWhereHeIs();
    bool decideOnAnnouncement();
    bool decideOnSquare(Move move);
    void typeName(Ms now);
    void listenToWelcome(Ms now);
    void awaitLevelStart(Ms now);
    void play(Ms now);
    void goOnAfterEnding(Ms now);
    void printSummary() const;
    void beginLevel(int index, int attempt);
    void endLevel(const std::string& outcome, Ms endedAt);
    void printFigures() const;

    GameSession& session_;
    Ear& ear_;
    Keyboard& keys_;
    const Options& options_;

    Phase phase_ = Phase::Name;
    Ms pressedAt_ = 0;
    char pressedKey_ = 0;
    std::function<bool(const std::string&)> effect_;
    Ms phaseAt_ = 0;
    bool startHeard_ = false;
    std::optional<Ms> tutorialHeardAt_;
    bool tutorialSkipped_ = false;
    bool triedEnterForTutorial_ = false;
    size_t typed_ = 0;     // letters of the name typed
    Ms promptEndsAt_ = 0;  // when the name prompt has said its last word

    // The level in play.
    int index_ = 0;    // into options_.levels
    int attempt_ = 1;
    std::vector<Move> route_;
    size_t next_ = 0;  // the next move of the route
    Ms levelStartedAt_ = 0;
    Ms arrivedAt_ = 0;
    Ms lastStepAt_ = 0;
    bool won_ = false;
    std::string lostHow_;
    bool closingHeard_ = false;

    // What he knows of his square.
    Meaning announced_;  // started, perhaps not yet heard
    Meaning known_;      // heard in full
    Ms knownAt_ = 0;
    bool announcementCut_ = false;
    bool askedHere_ = false;
    bool doorIgnored_ = false;
    Ms lastShotAt_ = 0;
    // The creature announcement heard last, for how long it then stayed.
    std::optional<Ms> creatureHeardAt_;

    LevelFigures figures_;
    std::vector<LevelFigures> all_;
};

void EarPlayer::beginLevel(int index, int attempt)
{
    index_ = index;
    attempt_ = attempt;
    const std::string map = mapOf(options_.levels[index]);
    route_ = routeOf(session_.game()->folder.file(map)).value_or(std::vector<Move>{});
    next_ = 0;
    won_ = false;
    lostHow_.clear();
    closingHeard_ = false;
    announced_ = known_ = {};
    announcementCut_ = askedHere_ = doorIgnored_ = false;
    creatureHeardAt_.reset();
    figures_ = LevelFigures{};
    figures_.level = options_.levels[index];
    figures_.attempt = attempt;
    phase_ = Phase::LevelStart;
    phaseAt_ = nowMs();
    startHeard_ = false;
    ear_.finishedCreatures.clear();
    ear_.sentencesHeard = ear_.sentencesCut = 0;
    ear_.cutFiles.clear();
    if (route_.empty())
        std::printf("level %d: no route found on %s\n", figures_.level, map.c_str());
}

void EarPlayer::endLevel(const std::string& outcome, Ms endedAt)
{
    if (!figures_.outcome.empty())
        return;
    ear_.flushCreatures();
    const GameState& game = *session_.game();
    figures_.outcome = outcome;
    figures_.seconds = endedAt - levelStartedAt_;
    figures_.lives = game.player.lives;
    figures_.missedShots = game.stats.missedShots;
    for (const Ear::CreatureHearing& c : ear_.finishedCreatures) {
        ++figures_.creatureStarts;
        figures_.creatureInterruptions += c.interruptions;
        if (c.heard) {
            ++figures_.creatureHeard;
            figures_.toHear.push_back(c.heardAt - c.startedAt);
        } else {
            ++figures_.creatureCut;
        }
    }
    figures_.sentencesHeard = ear_.sentencesHeard;
    figures_.sentencesCut = ear_.sentencesCut;
    figures_.cutFiles = ear_.cutFiles;
    all_.push_back(figures_);
    printFigures();
}

void EarPlayer::printFigures() const
{
    const LevelFigures& f = figures_;
    std::printf("level %d (attempt %d): %s after %.1f s, lives %d, missed shots %d\n", f.level, f.attempt,
                f.outcome.c_str(), f.seconds / 1000, f.lives, f.missedShots);
    std::printf("  creature announcements: %d started, %d heard in full, %d cut or held before the last word "
                "and never heard (%d holds/cuts before a first hearing in all)\n",
                f.creatureStarts, f.creatureHeard, f.creatureCut, f.creatureInterruptions);
    std::printf("  start -> last word heard: %s\n", spread(f.toHear).c_str());
    std::printf("  heard -> creature moved (time left to act): %s\n", spread(f.leftToAct).c_str());
    std::printf("  heard -> creature killed (still there): %s\n", spread(f.toKill).c_str());
    std::printf("  other sentences: %d heard in full, %d cut", f.sentencesHeard - f.creatureHeard, f.sentencesCut);
    for (size_t i = 0; i < f.cutFiles.size() && i < 8; ++i)
        std::printf("%s %s", i == 0 ? ":" : ",", f.cutFiles[i].c_str());
    std::printf("\n  keys: %d pressed (%d shots, %d where-am-I), %d showed no effect\n", f.presses, f.shots, f.asked,
                f.lostPresses);
    std::fflush(stdout);
}

// What a file starting or heard tells him.
void EarPlayer::hear(const Event& e)
{
    if (effect_ && e.kind == Event::Started && effect_(e.file))
        effect_ = nullptr;
    if (phase_ == Phase::Play && e.kind == Event::Started && hearEnding(e))
        return;
    hearAroundLevels(e);
    if (phase_ != Phase::Play)
        return;
    const Meaning m = meaningOf(e.file);
    if (e.kind == Event::Started) {
        hearStarted(e, m);
    } else if (e.kind == Event::Heard && m.content != Content::None) {
        // Heard on the channel, or said again by where-am-I.
        if (e.blocking || (m.content == announced_.content && m.side == announced_.side)) {
            announced_ = m;
            known_ = m;
            knownAt_ = e.at;
            if (isCreatureContent(m.content) && !e.blocking)
                creatureHeardAt_ = e.at;
        }
    } else if (e.kind == Event::Cut && m.content != Content::None && !isCreatureContent(m.content)) {
        if (m.content == announced_.content && m.side == announced_.side)
            announcementCut_ = true;
    }
}

// An ending, whenever it comes: true when the file starts one.
bool EarPlayer::hearEnding(const Event& e)
{
    const std::string& f = e.file;
    if (is(f, cat::Ganaste))
        won_ = true;
    else if (is(f, cat::Trampa))
        lostHow_ = "lost: trapped";
    else if (is(f, cat::PerderPorBalas))
        lostHow_ = "lost: out of bullets";
    else if (is(f, cat::PerdistePorMonstruoGigante))
        lostHow_ = "lost: no lives left (super monster)";
    if (!won_ && lostHow_.empty())
        return false;
    creatureHeardAt_.reset();
    endLevel(won_ ? "won" : lostHow_, won_ ? lastStepAt_ : e.at);
    phase_ = Phase::Ending;
    phaseAt_ = e.at;
    return true;
}

// What is heard between levels: the closing sentence, a level's start, a
// tutorial.
void EarPlayer::hearAroundLevels(const Event& e)
{
    const std::string& f = e.file;
    // After a win one sentence says both ways on (the screen writes them
    // as two); after a loss, only playing again is said.
    if (phase_ == Phase::Ending && e.kind == Event::Heard && is(f, won_ ? cat::VolverOSiguiente : cat::ATT_VolverAJugar))
        closingHeard_ = true;
    if ((phase_ == Phase::LevelStart || phase_ == Phase::Welcome) && e.kind == Event::Started && isLevelStart(f))
        startHeard_ = true;
    // A tutorial after the name: Enter skips it, once it has been heard.
    if (phase_ == Phase::Welcome && e.kind == Event::Heard && !tutorialHeardAt_ && isTutorial(f)) {
        std::printf("a tutorial was heard (%s): Enter skips it\n", f.c_str());
        tutorialHeardAt_ = e.at;
    }
}

// A file starting during play: a step, an announcement begun, a creature
// killed, a door opened or bullets taken.
void EarPlayer::hearStarted(const Event& e, const Meaning& m)
{
    const std::string& f = e.file;
    if (isStep(f)) {
        arrivedAt_ = lastStepAt_ = e.at;
        announced_ = known_ = {};
        announcementCut_ = askedHere_ = doorIgnored_ = false;
    }
    if (m.content != Content::None && !e.blocking) {
        if (isCreatureContent(m.content) && isCreatureContent(announced_.content) && creatureHeardAt_) {
            // The creature moved: the side he had heard is no longer true.
            figures_.leftToAct.push_back(e.at - *creatureHeardAt_);
            creatureHeardAt_.reset();
        }
        announced_ = m;
        known_ = {};
        announcementCut_ = false;
    }
    if (is(f, cat::MuerteMutante) || is(f, cat::MuerteSuperMonstruo)) {
        if (creatureHeardAt_)
            figures_.toKill.push_back(e.at - *creatureHeardAt_);
        creatureHeardAt_.reset();
        announced_ = known_ = {};
    }
    if (isDoorOpened(f) || isBulletsTaken(f))
        announced_ = known_ = {};
}

void EarPlayer::decidePlay()
{
    if (effect_) {
        checkEffect();
        return;
    }
    if (decideOnAnnouncement())
        return;
    const Move move = next_ < route_.size() ? route_[next_] : Move::Advance;
    if (decideOnSquare(move))
        return;
    if (!quietFor(kReactionMs, arrivedAt_))
        return;
    if (move == Move::Advance) {
        press(' ', [this](const std::string& f) {
            if (!isStep(f) && !is(f, cat::ErrarCen))
                return false;
            if (isStep(f))
                ++next_;
            return true;
        });
        return;
    }
    // His route turns here, yet he heard no door: he asks once, then tries.
    if (!askedHere_) {
        askWhereHeIs();
        return;
    }
    press(move == Move::TurnLeft ? 'H' : 'K', [this](const std::string&) {
        ++next_;
        return true;
    });
}

// A key pressed in play that has not shown its effect yet.
void EarPlayer::checkEffect()
{
    if (nowMs() - pressedAt_ < kPressLostMs)
        return;
    trace("no effect of", std::string(1, pressedKey_));
    ++figures_.lostPresses;
    effect_ = nullptr;
    // The very first step refused: something waits for a key (a tutorial
    // that was not recognised by its name); Enter skips it, or starts the
    // level again, which changes nothing before the first step.
    if (pressedKey_ == ' ' && next_ == 0 && !triedEnterForTutorial_ && quietFor(kReactionMs)) {
        triedEnterForTutorial_ = true;
        std::printf("the first step had no effect: Enter, in case a tutorial waits\n");
        press('\r', [](const std::string& f) { return is(f, cat::InicioJuego); });
    }
}

void EarPlayer::askWhereHeIs()
{
    askedHere_ = true;
    ++figures_.asked;
    press('D', [](const std::string& f) { return meaningOf(f).content != Content::None || is(f, cat::Nada); });
}

// A creature heard (he shoots) or announced (he waits for its side), or a
// sentence said but not heard to its end (he asks): true when it decides.
bool EarPlayer::decideOnAnnouncement()
{
    const Ms now = nowMs();
    if (isCreatureContent(known_.content)) {
        if (now >= knownAt_ + kReactionMs && now >= lastShotAt_ + shotGapMs) {
            lastShotAt_ = now;
            ++figures_.shots;
            // A shot sounds at once, whatever its sound is called; the
            // creature's own sounds are not its answer.
            press(known_.side, [](const std::string& f) {
                return !isCreatureFile(f) && !is(f, cat::VidaPerdida) && !isAny(f, cat::kLivesLeftAfterLoss);
            });
        }
        return true;
    }
    if (isCreatureContent(announced_.content))
        return true;  // waits to hear where it is
    if (announced_.content == Content::None || known_.content != Content::None)
        return false;
    if (announcementCut_ && !askedHere_ && quietFor(kReactionMs))
        askWhereHeIs();
    return true;
}

// A door or bullets heard on his square: true when it decides.
bool EarPlayer::decideOnSquare(Move move)
{
    if (known_.content == Content::Door && !doorIgnored_) {
        if (!quietFor(kReactionMs, knownAt_))
            return true;
        const bool turn = (known_.side == 'H' && move == Move::TurnLeft) || (known_.side == 'K' && move == Move::TurnRight);
        if (known_.side == 'J' || turn) {
            press(known_.side, [this, turn](const std::string& f) {
                if (!isDoorOpened(f))
                    return false;
                next_ += turn ? 1 : 0;
                return true;
            });
            return true;
        }
        doorIgnored_ = true;  // not his way: he walks on past it
    }
    if (known_.content != Content::Bullets)
        return false;
    if (quietFor(kReactionMs, knownAt_))
        press(known_.side, [](const std::string& f) { return isBulletsTaken(f); });
    return true;
}

int EarPlayer::run()
{
    Event e;
    phaseAt_ = nowMs();
    // The name prompt starts with the program, before the ear listens: it is
    // taken as heard once its words have had their time.
    const SoundTiming* prompt = session_.voices()->table().find(cat::escribetunombreypresiona.file);
    promptEndsAt_ = phaseAt_ + (prompt != nullptr ? prompt->lastSpeechEndMs() : 0);
    while (phase_ != Phase::Done) {
        if (!pass())
            return 1;
        while (ear_.nextEvent(e)) {
            hear(e);
        }
        const Ms now = nowMs();
        if (effect_ && phase_ != Phase::Play && now - pressedAt_ > kPressLostMs) {
            ++figures_.lostPresses;
            effect_ = nullptr;
        }
        switch (phase_) {
        case Phase::Name: typeName(now); break;
        case Phase::Welcome: listenToWelcome(now); break;
        case Phase::LevelStart: awaitLevelStart(now); break;
        case Phase::Play: play(now); break;
        case Phase::Ending: goOnAfterEnding(now); break;
        case Phase::Done: break;
        }
    }
    printSummary();
    return 0;
}

// The prompt heard, he types his name letter by letter, each after its
// letter was said back.
void EarPlayer::typeName(Ms now)
{
    if (now < promptEndsAt_ || awaitingEffect() || !quietFor(typed_ == 0 ? kReactionMs : 150))
        return;
    if (typed_ < options_.name.size()) {
        const char letter = options_.name[typed_++];
        press(letter, [letter](const std::string& f) { return is(f, saidBack(letter)); });
        return;
    }
    press('\r', [](const std::string& f) { return is(f, cat::InicioJuego); });
    phase_ = Phase::Welcome;
    phaseAt_ = now;
}

// The welcome, and whatever follows it, is heard out.
void EarPlayer::listenToWelcome(Ms now)
{
    if (tutorialHeardAt_ && !tutorialSkipped_ && !awaitingEffect() && now >= *tutorialHeardAt_ + kReactionMs) {
        tutorialSkipped_ = true;
        phaseAt_ = now;
        press('\r', [](const std::string&) { return true; });
    }
    if (awaitingEffect() || !quietFor(kReactionMs) || now - phaseAt_ < 1000)
        return;
    beginLevel(0, 1);
    if (options_.levels.front() != 1) {
        // The first level asked for is not the one the game starts on.
        session_.game()->loadMap(mapOf(options_.levels.front()));
        resetJournalAndReplay(session_.session());
    } else {
        startHeard_ = true;  // the level began with the program
    }
}

void EarPlayer::awaitLevelStart(Ms now)
{
    if (!startHeard_ && now - phaseAt_ > 5000) {
        std::printf("level %d: no start heard\n", figures_.level);
        startHeard_ = true;
    }
    if (!startHeard_ || awaitingEffect() || !quietFor(kReactionMs))
        return;
    levelStartedAt_ = now;
    arrivedAt_ = now;
    phase_ = Phase::Play;
}

void EarPlayer::play(Ms now)
{
    if (now - levelStartedAt_ > options_.timeoutS * 1000.0) {
        endLevel("timeout", now);
        phase_ = Phase::Ending;
        closingHeard_ = true;
        lostHow_ = "timeout";
        return;
    }
    decidePlay();
}

// After the closing sentence, heard out: N after a win, Enter once after a
// first loss, else the next level is put in play. Without the closing
// sentence (an ending said otherwise), three seconds of quiet end it.
void EarPlayer::goOnAfterEnding(Ms now)
{
    if (!closingHeard_ && !(now - phaseAt_ > 5000 && quietFor(3000)))
        return;
    if (awaitingEffect() || !quietFor(kReactionMs))
        return;
    if (!won_ && attempt_ <= 1 && lostHow_ != "timeout") {
        beginLevel(index_, attempt_ + 1);
        press('\r', [](const std::string& f) { return is(f, cat::InicioJuego); });
        return;
    }
    if (index_ + 1 >= static_cast<int>(options_.levels.size())) {
        phase_ = Phase::Done;
        return;
    }
    const int nextLevel = options_.levels[index_ + 1];
    const bool followsOn = won_ && nextLevel == options_.levels[index_] % 6 + 1;
    beginLevel(index_ + 1, 1);
    if (followsOn) {
        press('N', [](const std::string& f) { return isLevelStart(f); });
    } else {
        session_.game()->loadMap(mapOf(nextLevel));
        resetJournalAndReplay(session_.session());
    }
}

void EarPlayer::printSummary() const
{
    std::printf("\nsummary (the device played %.1f s of sound in %.1f s of wall time)\n", ear_.deviceMs / 1000,
                ear_.wallMs / 1000);
    for (const LevelFigures& f : all_)
        std::printf("  level %d attempt %d: %-36s %6.1f s  lives %d  missed %d  creature announcements heard %d/%d\n",
                    f.level, f.attempt, f.outcome.c_str(), f.seconds / 1000, f.lives, f.missedShots, f.creatureHeard,
                    f.creatureStarts);
}

bool parseLevels(const std::string& text, std::vector<int>& levels)
{
    levels.clear();
    size_t at = 0;
    while (at < text.size()) {
        const size_t comma = text.find(',', at);
        const std::string part = text.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        const size_t dash = part.find('-');
        const int from = std::atoi(part.c_str());
        const int to = dash == std::string::npos ? from : std::atoi(part.c_str() + dash + 1);
        if (from < 1 || to > 6 || from > to)
            return false;
        for (int l = from; l <= to; ++l)
            levels.push_back(l);
        if (comma == std::string::npos)
            break;
        at = comma + 1;
    }
    return !levels.empty();
}

bool parseOptions(int argc, char* argv[], Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--levels" && hasValue) {
            if (!parseLevels(argv[++i], o.levels))
                return false;
        } else if (arg == "--timeout" && hasValue) {
            o.timeoutS = std::atoi(argv[++i]);
            if (o.timeoutS <= 0)
                return false;
        } else if (arg == "--seed" && hasValue) {
            o.seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--name" && hasValue) {
            o.name = argv[++i];
            for (char c : o.name)
                if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
                    return false;
        } else if (arg == "--shot-gap" && hasValue) {
            shotGapMs = std::atof(argv[++i]) * 1000;
            if (shotGapMs < kReactionMs)
                return false;
        } else if (arg == "--verbose" || arg == "-v") {
            verbose = true;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    wallClock.start();
    // Each line as it comes, so a long run can be followed in a file.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: ear_player [--levels 1-6|1,3,5] [--timeout SECONDS] [--seed N] [--shot-gap SECONDS] [--name letters] "
                     "[--verbose]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("ALSOFT_DRIVERS"))
        qputenv("ALSOFT_DRIVERS", "null");
    configureSurfaceFormat();
    QApplication app(argc, argv);

    // A game folder of its own, linked to the build's sounds and maps, so the
    // reports it writes go nowhere that matters.
    QTemporaryDir folder;
    std::string error;
    if (!folder.isValid() ||
        !prepareGameFolder(folder.path().toStdString(), QUORVANE_GAME_DIR, &error)) {
        std::fprintf(stderr, "ear_player: no game folder: %s\n", error.c_str());
        return 1;
    }

    SeededClock clock(options.seed);
    GameSession session(GameDir(QFile::encodeName(folder.path()).toStdString()), clock);
    if (!session.start())
        return 1;
    OpenAlSound* device = session.audioDevice();
    if (device == nullptr || !device->hasDevice()) {
        std::fprintf(stderr, "ear_player: no sound device\n");
        return 1;
    }
    if (!runUntilFocused(session)) {
        std::fprintf(stderr, "ear_player: the game view never got the keyboard\n");
        return 1;
    }
    Keyboard keyboard(session.window()->winId());
    if (!keyboard.ok()) {
        std::fprintf(stderr, "ear_player: no X display\n");
        return 1;
    }

    Ear ear(*device, session.voices()->table(), session.game()->folder);
    device->setPlayObserver([&ear](int voice) { ear.onDevicePlay(voice); });
    session.voices()->setListener([&ear](const std::string& file) { ear.onFileStart(file); });
    EarPlayer player(session, ear, keyboard, options);
    const int result = player.run();
    session.voices()->setListener(nullptr);
    device->setPlayObserver(nullptr);
    return result;
}

// ---------------------------------------------------------------------------
// The keyboard: key presses and releases sent to the window through the X
// server, as a keyboard sends them.

#include <X11/Xlib.h>
#include <X11/keysym.h>

Keyboard::Keyboard(unsigned long window) : window_(window), display_(XOpenDisplay(nullptr)) {}

Keyboard::~Keyboard()
{
    if (display_ != nullptr)
        XCloseDisplay(static_cast<Display*>(display_));
}

void Keyboard::press(char key)
{
    Display* display = static_cast<Display*>(display_);
    const KeySym symbol = key == ' '    ? XK_space
                          : key == '\r' ? XK_Return
                                         : static_cast<KeySym>(key >= 'A' && key <= 'Z' ? key - 'A' + 'a' : key);
    for (int type : {KeyPress, KeyRelease}) {
        XKeyEvent event{};
        event.type = type;
        event.display = display;
        event.window = window_;
        event.root = DefaultRootWindow(display);
        event.time = CurrentTime;
        event.same_screen = True;
        event.keycode = XKeysymToKeycode(display, symbol);
        XSendEvent(display, window_, True, type == KeyPress ? KeyPressMask : KeyReleaseMask,
                   reinterpret_cast<XEvent*>(&event));
    }
    XSync(display, False);
}
