#include "saved_game.h"

#include <cstring>
#include <memory>
#include <vector>
#include <sys/stat.h>

#include "creature_costs.h"
#include "file_chooser.h"
#include "map_file.h"
#include "regular_file.h"
#include "game_state.h"
#include "safe_file.h"
#include "saved_game_format.h"
#include "session.h"

namespace {
// A saved game carries kinds only; creatures start at the strength the level
// start gives them, so the replay meets them as the recorded game did.
Cell loadedSquare(int32_t kind)
{
    Cell cell{};
    cell.kind = kind;
    armCreature(cell);
    return cell;
}


// The per-level statistics start afresh with the loaded level: the replay
// journals and counts its own actions, so a later save pairs the loaded grid
// with its own journal and the report describes the level replayed.
void startStatisticsAfresh(GameState& game, Journal& journal)
{
    game.stats.reset();
    clearJournal(journal);
}

void putInPlay(GameState& game, Session& session, const SavedGameRecord& record, SoundSystem& sounds)
{
    game.reopenForLoad(sounds);

    for (int r = 0; r < kGridSize; ++r)
        for (int c = 0; c < kGridSize; ++c)
            game.cells[r][c] = loadedSquare(record.kinds[r][c]);
    std::memcpy(game.initialCells, game.cells, sizeof(Grid));
    game.placeOnStartSquare();

    startStatisticsAfresh(game, session.journal);
    startReplay(session.replay, record.entries, record.entryCount);
    game.resetLevelAfterLoad();
}

// What stands under a name a save would replace, when it is worth a
// question: a map, or anything else that is not a saved game. Empty when
// nothing is there or it is a saved game (replaced as a save always did).
std::string replacementQuestion(const GameDir& folder, const std::string& name)
{
    const std::string path = folder.file(name);
    // Only a file is worth the question: in place of anything else (a
    // folder, a FIFO) the save fails with its own reason.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    std::vector<uint8_t> bytes;
    std::string why;
    if (readRegularFile(path, bytes, kMaxTextFileBytes, &why)) {
        const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        auto record = std::make_unique<SavedGameRecord>();
        std::string notSaved;
        if (readSavedGame(text, name, *record, &notSaved))
            return {};
        auto map = std::make_unique<MapText>();
        if (parseMapText(text, *map))
            return "El archivo \"" + name + "\" es un mapa. ¿Reemplazar el mapa por la partida?";
    }
    return "El archivo \"" + name + "\" ya existe y no es una partida guardada. ¿Reemplazarlo por la partida?";
}
}

bool saveGame(const GameState& game, Session& session, FileChooser& chooser, std::string* error)
{
    std::string chosen;
    if (!chooser.askSaveFile("Guardar Juego", "(*.txt)", "*.txt", chosen))
        return false;
    std::string path;
    if (!keepChosenFile(chosen, path, error))
        return false;
    const std::string question = replacementQuestion(game.folder, path);
    if (!question.empty() && !chooser.confirm(question.c_str()))
        return false;
    session.saveFileName = path;
    SafeFileWriter writer;
    if (!writer.open(game.folder, session.saveFileName, error))
        return false;
    writeSavedGame(writer.stream(), game.initialCells, session.journal);
    return writer.commit(error);
}

bool loadGame(GameState& game, Session& session, FileChooser& chooser, SoundSystem& sounds, std::string* error)
{
    std::string chosen;
    if (!chooser.askOpenFile("Cargar Juego", "Juego (*.txt)", "*.txt", chosen))
        return false;
    if (!keepChosenFile(chosen, session.loadFileName, error))
        return false;
    // The file layer only: the bytes are read whole (a regular file only, so
    // a FIFO or a device under the name is refused at once), then parsed.
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readRegularFile(game.folder.file(session.loadFileName), bytes, kMaxTextFileBytes, &why)) {
        if (error)
            *error = std::string("No se pudo abrir la partida guardada \"") + session.loadFileName + "\": " + why + ".";
        return false;
    }
    return loadSavedGameText(game, session, sounds, session.loadFileName,
                             std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), error);
}

bool loadSavedGameText(GameState& game, Session& session, SoundSystem& sounds, const std::string& name,
                       std::string_view text, std::string* error)
{
    auto record = std::make_unique<SavedGameRecord>();
    if (!readSavedGame(text, name, *record, error))
        return false;
    putInPlay(game, session, *record, sounds);
    // The report names what was played; a restart still reads the map.
    game.playedFrom = name;
    return true;
}
