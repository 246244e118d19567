#pragma once
#include <string>

class FileChooser;
class GameState;
class SoundSystem;

// "Guardar Juego": asks for a name and writes the level-start grid and the
// journal. False when cancelled, or with error set when writing failed (the
// file it would replace is then left intact).
bool saveGame(const GameState& game, FileChooser& chooser, std::string* error);

// "CargarJuego": asks for a saved game, reads it whole, then puts its grid in
// play and queues its journal for replay. False when cancelled, or with error
// set when the file is missing or malformed (the game in play is unchanged).
bool loadGame(GameState& game, FileChooser& chooser, SoundSystem& sounds, std::string* error);

// "Cambiar Mapa": asks for a map and starts a level on it. False when
// cancelled, or with error set when the map cannot be read (the level in
// play goes on).
bool chooseMap(GameState& game, FileChooser& chooser, std::string* error);
