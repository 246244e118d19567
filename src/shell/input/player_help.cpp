#include "player_help.h"

#include <cstring>

#include "announcements.h"
#include "game_state.h"
#include "hold_input.h"
#include "input_state.h"
#include "key_handlers.h"
#include "session.h"
#include "shell_hooks.h"

namespace {

struct LevelOfSeries {
    const char* map;
    Announcement title;
};

const LevelOfSeries kSeries[] = {
    {"nivel1.quorvane", {"Sonidos/TituloNivel1.wav", "Nivel 1: Aprende a jugar.\n"}},
    {"nivel2.quorvane", {"Sonidos/TituloNivel2.wav", "Nivel 2: Monstruos en el camino.\n"}},
    {"nivel3.quorvane", {"Sonidos/TituloNivel3.wav", "Nivel 3: Los mutantes.\n"}},
    {"nivel4.quorvane", {"Sonidos/TituloNivel4.wav", "Nivel 4: El super monstruo.\n"}},
    {"nivel5.quorvane", {"Sonidos/TituloNivel5.wav", "Nivel 5: Sorpresas.\n"}},
    {"nivel6.quorvane", {"Sonidos/TituloNivel6.wav", "Nivel 6: El gran laberinto.\n"}},
};
constexpr int kSeriesLength = sizeof kSeries / sizeof kSeries[0];

}  // namespace

void escapeKey(GameState* game, Tick now)
{
    if (input.quitAsked && static_cast<Tick>(now - input.quitAskedAt) <= kQuitConfirmMs) {
        input.keys[Vk::Escape] = true;
        return;
    }
    // One Esc, perhaps meant to leave a menu, must not end the game and its
    // level: the player is asked, by voice and on the screen.
    input.quitAsked = true;
    input.quitAskedAt = now;
    if (game != nullptr) {
        game->SonidoFeedBackSeteo.playFile("Sonidos/Salir.wav", 0, 0, kPlayOnce);
        game->addMessage("\xBFSalir? Presiona Esc otra vez para salir.\n");
    }
}

void startWelcome(GameState& game)
{
    if (input.welcomeStage != WelcomeStage::NotYet)
        return;
    input.welcomeStage = WelcomeStage::First;
    game.SonidoIntroduccion1.playCurrent(0, 0, kPlayOnce);
}

void welcomeStep(GameState& game)
{
    if (input.welcomeStage == WelcomeStage::First && !game.SonidoIntroduccion1.isPlaying()) {
        input.welcomeStage = WelcomeStage::Second;
        game.SonidoIntroduccion2.playCurrent(0, 0, kPlayOnce);
    } else if (input.welcomeStage == WelcomeStage::Second && !game.SonidoIntroduccion2.isPlaying()) {
        input.welcomeStage = WelcomeStage::Done;
    }
}

void endWelcome(GameState& game)
{
    if (input.welcomeStage != WelcomeStage::First && input.welcomeStage != WelcomeStage::Second)
        return;
    input.welcomeStage = WelcomeStage::Done;
    game.SonidoIntroduccion1.stopChannel();
    game.SonidoIntroduccion2.stopChannel();
}

const char* nextMapName(const char* mapName)
{
    for (int i = 0; i < kSeriesLength; ++i)
        if (std::strcmp(mapName, kSeries[i].map) == 0)
            return kSeries[(i + 1) % kSeriesLength].map;
    return kSeries[0].map;
}

bool nextLevel(GameState& game, Session& session, ShellHooks& hooks)
{
    if (!game.levelWon())
        return false;
    reportLevel(game, session, hooks);
    const char* next = nextMapName(game.mapName.c_str());
    if (!game.loadMap(next)) {
        // The won level stays in play; Enter still starts it again.
        showIfError(hooks, game.lastLoadError);
        return true;
    }
    resetJournalAndReplay(session);
    clearRequests();
    for (const LevelOfSeries& level : kSeries)
        if (std::strcmp(next, level.map) == 0) {
            game.SonidoFeedBackSeteo.playFile(level.title.sound, 0, 0, kPlayOnce);
            game.addMessage(level.title.message);
        }
    return true;
}
