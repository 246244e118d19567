#include "file_chooser.h"
#include "game_state.h"
#include "replay.h"
#include "saved_game.h"

bool chooseMap(GameState& game, FileChooser& chooser, std::string* error)
{
    std::string chosen;
    if (!chooser.askOpenFile("Cambiar Mapa", "Mapa (*.quorvane)", "*.quorvane", chosen))
        return false;
    if (!keepFileTitle(chosen, mapFileName, error, ".quorvane"))
        return false;
    if (!game.loadMap(mapFileName)) {
        if (error)
            *error = game.lastLoadError;
        return false;
    }
    // The journal and the replay belong to the level just left: kept, a
    // save would pair the new map with actions taken on the old one.
    resetJournalAndReplay();
    return true;
}
