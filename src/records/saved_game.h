#pragma once
#include <string>
#include <string_view>

class FileChooser;
class GameState;
class SoundSystem;
struct Session;

// "Guardar Juego": asks for a name and writes the level-start grid and the
// journal. False when cancelled, or with error set when writing failed (the
// file it would replace is then left intact).
bool saveGame(const GameState& game, Session& session, FileChooser& chooser, std::string* error);

// "CargarJuego": asks for a saved game and reads it whole; only a file read
// without fault is put in play: the ten game channels opened afresh, the
// options reset (map view on), the saved grid with its creatures at full
// strength, the player on its start square, a fresh journal and statistics,
// and the replay started from the loaded entries (replacing one that runs).
// False when cancelled, or with error set when the file is missing or
// malformed (the game in play is then unchanged).
bool loadGame(GameState& game, Session& session, FileChooser& chooser, SoundSystem& sounds, std::string* error);

// The load without the dialog and the file: a saved game's text, read whole,
// put in play as loadGame does; name is the file's, for the report and the
// messages.
bool loadSavedGameText(GameState& game, Session& session, SoundSystem& sounds, const std::string& name,
                       std::string_view text, std::string* error);

// "Cambiar Mapa": asks for a map and starts a level on it, emptying the
// journal and ending any replay, as a restart does. False when cancelled, or
// with error set when the map cannot be read (the level in play goes on).
bool chooseMap(GameState& game, Session& session, FileChooser& chooser, std::string* error);
