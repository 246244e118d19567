#include "game_state.h"
#include "hold_input.h"
#include "input_state.h"
#include "key_handlers.h"
#include "key_input.h"
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

void reportLevel(const GameState& game, Session& session, ShellHooks& hooks)
{
    // A level left in play (a next map or a restart that could not be read)
    // is reported once, however often the key is pressed again.
    if (session.reportedLevel == game.levelSerial)
        return;
    std::string error;
    if (writeStatisticsReport(game, session.journal, input.playerName, &error))
        session.reportedLevel = game.levelSerial;
    else
        showIfError(hooks, error);
}

void restartOrShow(GameState& game, Session& session, ShellHooks& hooks)
{
    if (game.restartLevel()) {
        resetJournalAndReplay(session);
        clearRequests();
        announceLevel(game);
    } else {
        showIfError(hooks, game.lastLoadError);
    }
}

bool menuCommand(int id, Session& session, ShellHooks& hooks)
{
    GameState* game = input.currentGame;
    std::string error;
    // Never in the middle of a sentence: a command waits for the hold's end.
    if (input.holding && (id == MenuId::Options || id == MenuId::Keys || id == MenuId::Quit ||
                          id == MenuId::ChangeMap || id == MenuId::SaveGame || id == MenuId::LoadGame ||
                          id == MenuId::TeacherSettings)) {
        holdMenu(id, hooks);
        return true;
    }
    switch (id) {
    case MenuId::Options:
    case MenuId::Keys:
        // Only one dialog from the menu at a time; the mark is set even when
        // no dialog could be made.
        if (!input.dialogOpen) {
            if (id == MenuId::Options)
                hooks.openOptionsDialog();
            else
                hooks.openKeysDialog();
            input.dialogOpen = true;
        }
        return true;
    case MenuId::TeacherSettings:
        if (!input.dialogOpen && hooks.openTeacherSettings())
            input.dialogOpen = true;
        return true;
    case MenuId::Quit: hooks.quit(); return true;
    case MenuId::ChangeMap:
        if (game == nullptr)
            return true;
        reportLevel(*game, session, hooks);
        if (chooseMap(*game, session, hooks.fileChooser(), &error)) {
            clearRequests();
            // It is played all the same: the teacher may want it so, or fix
            // it later; but he must not leave a child on it unknowing.
            if (!game->lastMapWinnable)
                hooks.showError(std::string("El mapa \"") + session.mapFileName +
                                "\" no se puede ganar: desde el comienzo no hay camino hasta la salida. "
                                "Se juega igual; rev\u00edselo con quorvane-mapa.");
            announceLevel(*game);
        }
        break;
    case MenuId::SaveGame:
        if (game == nullptr)
            return true;
        saveGame(*game, session, hooks.fileChooser(), &error);
        break;
    case MenuId::LoadGame:
        if (game == nullptr)
            return true;
        // A loaded game is replayed as it was played: nothing is said over
        // it, neither the welcome nor a title (it holds its grid, not the
        // map it was played on).
        if (loadGame(*game, session, hooks.fileChooser(), hooks.sounds(), &error)) {
            clearRequests();
            endWelcome(*game);
        }
        // Set whatever the load returned: a cancelled or refused load with
        // no replay running ends at the next replay tick, and a running
        // replay goes on.
        session.replay.replaying = true;
        break;
    default: return false;
    }
    showIfError(hooks, error);
    return true;
}
