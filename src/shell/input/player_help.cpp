#include "player_help.h"

#include <cstring>
#include <iterator>
#include <memory>

#include "catalogue.h"
#include "game_state.h"
#include "hold_input.h"
#include "input_state.h"
#include "map_file.h"
#include "key_handlers.h"
#include "play.h"
#include "session.h"
#include "shell_hooks.h"

namespace {

struct LevelOfSeries {
    const char* map;
    const catalogue::Line& title;
};

const LevelOfSeries kSeries[] = {
    {"nivel1.quorvane", catalogue::kLevelTitles[0]}, {"nivel2.quorvane", catalogue::kLevelTitles[1]},
    {"nivel3.quorvane", catalogue::kLevelTitles[2]}, {"nivel4.quorvane", catalogue::kLevelTitles[3]},
    {"nivel5.quorvane", catalogue::kLevelTitles[4]}, {"nivel6.quorvane", catalogue::kLevelTitles[5]},
};
constexpr int kSeriesLength = sizeof kSeries / sizeof kSeries[0];
static_assert(std::size(catalogue::kLevelTitles) == kSeriesLength, "a title for every level of the series");

// Written after the title, or said alone on a map of the teacher's own.
const catalogue::Line& kGoal = catalogue::Objetivo;

}  // namespace

void escapeKey(GameState& game, InputState& input, Tick now)
{
    if (input.quitAsked && static_cast<Tick>(now - input.quitAskedAt) <= kQuitConfirmMs) {
        input.keys[Vk::Escape] = true;
        return;
    }
    // One Esc, perhaps meant to leave a menu, must not end the game and its
    // level: the player is asked, by voice and on the screen.
    input.quitAsked = true;
    input.quitAskedAt = now;
    game.channels.SonidoFeedBackSeteo.playFile(catalogue::Salir.file, 0, 0, kPlayOnce);
    game.addMessage(catalogue::Salir.written);
}

namespace {

// The welcome after the name: two sentences, then one key at a time, each
// answered before the next is taught.
struct Lesson {
    const catalogue::Line& said;
    int key;  // 0: said, then the next follows
};

const Lesson kLessons[] = {
    {catalogue::Intro1, 0},
    {catalogue::Intro2, 0},
    {catalogue::AprendeAvanzar, Vk::Space},
    {catalogue::AprendeIzq, 'H'},
    {catalogue::AprendeCen, 'J'},
    {catalogue::AprendeDer, 'K'},
    {catalogue::AprendeBalas, 'F'},
    {catalogue::AprendeDonde, 'D'},
    {catalogue::AprendeRepetir, 'O'},
};
constexpr int kLessonCount = sizeof kLessons / sizeof kLessons[0];
constexpr int kFirstKeyLesson = 2;

bool welcomeRunning(const InputState& input) { return input.welcomeStage == WelcomeStage::Running; }

// Every sentence of the welcome is said on one channel, so that none of them
// can be heard over another.
SoundChannel& welcomeVoice(GameState& game) { return game.channels.SonidoIntroduccion1; }

void sayLesson(GameState& game, const InputState& input)
{
    const Lesson& lesson = kLessons[input.welcomeLesson];
    welcomeVoice(game).playFile(lesson.said.file, 0, 0, kPlayOnce);
    game.addMessage(lesson.said.written);
}

void goToLesson(GameState& game, InputState& input, int lesson)
{
    input.welcomeLesson = lesson;
    input.lessonAnswered = false;
    sayLesson(game, input);
}

// The welcome is over, learnt or skipped: the level in play starts to be
// played, with its jingle, its title and its goal.
void finishWelcome(GameState& game, InputState& input)
{
    endWelcome(game, input);
    game.channels.SonidosExtras.playFile(catalogue::InicioJuego.file, 0, 0, kPlayOnce);
    announceLevel(game, input);
}

}  // namespace

void startWelcome(GameState& game, InputState& input)
{
    if (input.welcomeStage != WelcomeStage::NotYet)
        return;
    input.welcomeStage = WelcomeStage::Running;
    // The first sentence is timed to follow the start jingle, which the name
    // entry plays at the same moment.
    goToLesson(game, input, 0);
}

void welcomeStep(GameState& game, InputState& input)
{
    if (!welcomeRunning(input) || welcomeVoice(game).isPlaying())
        return;
    if (kLessons[input.welcomeLesson].key != 0 && !input.lessonAnswered)
        return;  // waiting for the key
    if (input.welcomeLesson + 1 < kLessonCount)
        goToLesson(game, input, input.welcomeLesson + 1);
    else
        finishWelcome(game, input);
}

bool welcomeKey(int vk, GameState& game, InputState& input)
{
    if (input.nameEntry || !welcomeRunning(input))
        return false;
    // A key taken by the welcome neither asks to leave nor confirms leaving.
    input.quitAsked = false;
    if (vk == Vk::Escape) {
        finishWelcome(game, input);
        return true;
    }
    // A held key repeats (the Enter that ended the name may still be down):
    // it was answered once, when it went down.
    const bool held = input.keys[vk];
    input.keys[vk] = true;
    if (held)
        return true;
    if (vk == Vk::Enter) {
        finishWelcome(game, input);
        return true;
    }
    const Lesson& lesson = kLessons[input.welcomeLesson];
    if (lesson.key == 0) {
        // Keys before the first lesson: the player is ready for it.
        goToLesson(game, input, kFirstKeyLesson);
    } else if (input.lessonAnswered) {
        // The answer is being said; the next lesson follows it.
    } else if (vk == lesson.key) {
        input.lessonAnswered = true;
        welcomeVoice(game).playFile(catalogue::MuyBien.file, 0, 0, kPlayOnce);
        game.addMessage(catalogue::MuyBien.written);
    } else if (!welcomeVoice(game).isPlaying()) {
        // Another key: the lesson again, unless it is being said now.
        sayLesson(game, input);
    }
    return true;
}

void endWelcome(GameState& game, InputState& input)
{
    if (!welcomeRunning(input))
        return;
    input.welcomeStage = WelcomeStage::Done;
    welcomeVoice(game).stopChannel();
}

void announceLevel(GameState& game, InputState& input)
{
    endWelcome(game, input);
    for (const LevelOfSeries& level : kSeries)
        if (game.mapName == level.map) {
            game.channels.SonidoFeedBackSeteo.playFile(level.title.file, 0, 0, kPlayOnce);
            game.addMessage(level.title.written);
            game.addMessage(kGoal.written);
            return;
        }
    game.channels.SonidoFeedBackSeteo.playFile(kGoal.file, 0, 0, kPlayOnce);
    game.addMessage(kGoal.written);
}

const char* nextMapName(const char* mapName)
{
    for (int i = 0; i < kSeriesLength; ++i)
        if (std::strcmp(mapName, kSeries[i].map) == 0)
            return kSeries[(i + 1) % kSeriesLength].map;
    return kSeries[0].map;
}

const char* seriesMapOf(const GameDir& folder, const Grid& grid)
{
    // A saved game holds its grid, not its map's name: the series map with
    // the same walls (0 is a wall in the map codes and in the kinds alike;
    // the creatures' sides are drawn afresh each time) is the one played.
    auto map = std::make_unique<MapText>();
    for (const LevelOfSeries& level : kSeries) {
        *map = MapText{};
        if (!readMapText(folder.file(level.map), *map))
            continue;
        bool same = true;
        for (int r = 0; r < kGridSize && same; ++r)
            for (int c = 0; c < kGridSize && same; ++c)
                same = (map->codes[r][c] == 0) == (grid[r][c].kind == 0);
        if (same)
            return level.map;
    }
    return "";
}

bool nextLevel(Play& play)
{
    GameState& game = play.game;
    if (!game.levelWon())
        return false;
    reportLevel(play);
    // After a loaded game's win the series goes on from the map replayed,
    // not from the one played before the load (still mapName).
    const bool replayed = game.playedFrom != game.mapName;
    const char* next = nextMapName(replayed ? seriesMapOf(game.folder, game.initialCells) : game.mapName.c_str());
    if (!game.loadMap(next)) {
        // The won level stays in play; Enter still starts it again.
        showIfError(play.hooks, game.lastLoadError);
        return true;
    }
    resetJournalAndReplay(play.session);
    clearRequests(play.input);
    announceLevel(game, play.input);
    return true;
}
