#include "game_state.h"
#include "hold_input.h"
#include "input_state.h"
#include "key_handlers.h"
#include "key_input.h"
#include "play.h"
#include "player_help.h"
#include "report.h"
#include "saved_game.h"
#include "session.h"
#include "shell_hooks.h"

void showIfError(ShellHooks& hooks, const std::string& error)
{
    if (!error.empty())
        hooks.showError(error);
}

void reportLevel(Play& play)
{
    const GameState& game = play.game;
    Session& session = play.session;
    // A level left in play (a next map or a restart that could not be read)
    // is reported once, however often the key is pressed again.
    if (session.reportedLevel == game.levelSerial)
        return;
    std::string error;
    if (writeStatisticsReport(game, session.journal, play.input.playerName, &error))
        session.reportedLevel = game.levelSerial;
    else
        showIfError(play.hooks, error);
}

void restartOrShow(Play& play)
{
    if (play.game.restartLevel()) {
        resetJournalAndReplay(play.session);
        clearRequests(play.input);
        announceLevel(play.game, play.input);
    } else {
        showIfError(play.hooks, play.game.lastLoadError);
    }
}

namespace {

// Never in the middle of a sentence: these commands wait for a hold's end.
bool waitsForHold(int id)
{
    return id == MenuId::Options || id == MenuId::Keys || id == MenuId::Quit || id == MenuId::ChangeMap ||
           id == MenuId::SaveGame || id == MenuId::LoadGame || id == MenuId::TeacherSettings;
}

void openDialog(int id, InputState& input, ShellHooks& hooks)
{
    if (id == MenuId::TeacherSettings) {
        if (!input.dialogOpen && hooks.openTeacherSettings())
            input.dialogOpen = true;
        return;
    }
    // Only one dialog from the menu at a time; the mark is set even when
    // no dialog could be made.
    if (!input.dialogOpen) {
        if (id == MenuId::Options)
            hooks.openOptionsDialog();
        else
            hooks.openKeysDialog();
        input.dialogOpen = true;
    }
}

void changeMap(Play& play, std::string* error)
{
    GameState& game = play.game;
    ShellHooks& hooks = play.hooks;
    reportLevel(play);
    if (!chooseMap(game, play.session, hooks.fileChooser(), error))
        return;
    clearRequests(play.input);
    // It is played all the same: the teacher may want it so, or fix
    // it later; but he must not leave a child on it unknowing.
    if (!game.lastMapWinnable)
        hooks.showError(std::string("El mapa \"") + play.session.mapFileName +
                        "\" no se puede ganar: desde el comienzo no hay camino hasta la salida. "
                        "Se juega igual; rev\u00edselo con quorvane-mapa.");
    announceLevel(game, play.input);
}

void loadSavedGame(Play& play, std::string* error)
{
    // A loaded game is replayed as it was played: nothing is said over
    // it, neither the welcome nor a title (it holds its grid, not the
    // map it was played on).
    if (loadGame(play.game, play.session, play.hooks.fileChooser(), play.hooks.sounds(), error)) {
        clearRequests(play.input);
        endWelcome(play.game, play.input);
    }
    // Set whatever the load returned: a cancelled or refused load with
    // no replay running ends at the next replay tick, and a running
    // replay goes on.
    play.session.replay.replaying = true;
}

}  // namespace

bool menuCommand(int id, Play& play)
{
    ShellHooks& hooks = play.hooks;
    if (play.input.holding && waitsForHold(id)) {
        holdMenu(id, play.input, hooks);
        return true;
    }
    std::string error;
    switch (id) {
    case MenuId::Options:
    case MenuId::Keys:
    case MenuId::TeacherSettings: openDialog(id, play.input, hooks); return true;
    case MenuId::Quit: hooks.quit(); return true;
    case MenuId::ChangeMap: changeMap(play, &error); break;
    case MenuId::SaveGame: saveGame(play.game, play.session, hooks.fileChooser(), &error); break;
    case MenuId::LoadGame: loadSavedGame(play, &error); break;
    default: return false;
    }
    showIfError(hooks, error);
    return true;
}
