#include "file_chooser.h"
#include "game_state.h"
#include "saved_game.h"
#include "session.h"

bool chooseMap(GameState& game, Session& session, FileChooser& chooser, std::string* error)
{
    std::string chosen;
    if (!chooser.askOpenFile("Cambiar Mapa", "Mapa (*.quorvane)", "*.quorvane", chosen))
        return false;
    if (!keepChosenFile(chosen, session.mapFileName, error, ".quorvane"))
        return false;
    if (!game.loadMap(session.mapFileName)) {
        if (error)
            *error = game.lastLoadError;
        return false;
    }
    // The journal and the replay belong to the level just left: kept, a
    // save would pair the new map with actions taken on the old one.
    resetJournalAndReplay(session);
    return true;
}
