#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "game_state.h"
#include "map_codes.h"

namespace {
const char* const kStartSound = "Sonidos/InicioJuego.wav";
const char* const kLastGameFile = "UltimoJuego.txt";

struct ChannelOpening {
    SoundChannel GameState::*channel;
    const char* file;
    bool prompt;  // the name prompt and the introductions: opened once only
};

// The order in which the channels are opened, with their first sounds.
const ChannelOpening kOpenings[] = {
    {&GameState::sonido, "Sonidos/Pasos.wav", false},
    {&GameState::SonidoDisparos, "Sonidos/Pasos.wav", false},
    {&GameState::SonidosExtras, "Sonidos/Pasos.wav", false},
    {&GameState::SonidoFeedBackSeteo, "Sonidos/Pasos.wav", false},
    {&GameState::SonidoMuerteMonstruo, "Sonidos/Pasos.wav", false},
    {&GameState::SonidoBloqueando, "Sonidos/Pasos.wav", false},
    {&GameState::SonidoEscribeTuNombre, "Sonidos/escribetunombreypresiona.wav", true},
    {&GameState::SonidoIntroduccion1, "Sonidos/Intro1.wav", true},
    {&GameState::SonidoIntroduccion2, "Sonidos/Intro2.wav", true},
    {&GameState::MusicaDeFondo, "Sonidos/MusicaFondo.wav", false},
    {&GameState::SonidoMonstruos, "Sonidos/MonstruoCen.wav", false},
    {&GameState::SonidoPasos, "Sonidos/Pasos.wav", false},
    {&GameState::MusicaFinal, "Sonidos/MusicaFinal.wav", false},
};

// The map codes of one file, read whole before anything in play is touched.
struct MapRead {
    int32_t kinds[kGridSize][kGridSize];
    std::string error;
};

bool readMapFile(const std::string& name, MapRead& out)
{
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (!file) {
        const char* why = errno == ENOENT ? "no existe"
                          : errno == EACCES ? "no hay permiso para leerlo"
                                            : "no se puede leer";
        out.error = "No se pudo abrir el mapa \"" + name + "\": " + why + ".";
        return false;
    }
    char line[kLineBufferSize];
    bool ok = true;
    for (int r = 0; r < kGridSize && ok; ++r) {
        if (!readDataLine(file, line)) {
            out.error = "El mapa \"" + name + "\" tiene solo " + std::to_string(r) +
                        " filas de las 30 que necesita.";
            ok = false;
            break;
        }
        // A row of fewer than 30 numbers would leave squares of the previous
        // map behind, read as map codes: refuse it instead.
        int32_t values[kGridSize];
        const int n = parseRow(line, values, kGridSize);
        if (n < kGridSize) {
            out.error = "La fila " + std::to_string(r + 1) + " del mapa \"" + name + "\" tiene " +
                        std::to_string(n) + " números válidos de los 30 que necesita.";
            ok = false;
            break;
        }
        for (int c = 0; c < n; ++c) {
            if (values[c] < 0 || values[c] > MapCode::Highest) {
                out.error = "El mapa \"" + name + "\" tiene el código " + std::to_string(values[c]) +
                            " en la fila " + std::to_string(r + 1) + ", columna " +
                            std::to_string(c + 1) + "; los códigos van de 0 a 12.";
                ok = false;
                break;
            }
            out.kinds[r][c] = values[c];
        }
    }
    std::fclose(file);
    if (!ok)
        return false;
    // Without a start square the player would stand wherever the last level
    // left him, and a game saved on it could not be loaded again.
    for (const auto& row : out.kinds)
        for (int32_t kind : row)
            if (kind == MapCode::Start)
                return true;
    out.error = "El mapa \"" + name + "\" no tiene casilla de inicio (código 1).";
    return false;
}
}

bool readDataLine(std::FILE* file, char* buffer)
{
    for (;;) {
        if (!std::fgets(buffer, kLineBufferSize, file)) {
            buffer[0] = '\0';
            return false;
        }
        const size_t len = std::strlen(buffer);
        if (len >= 2 && buffer[len - 2] == '\r' && buffer[len - 1] == '\n') {
            buffer[len - 2] = '\n';
            buffer[len - 1] = '\0';
        }
        if (buffer[0] != '/' && buffer[0] != '\n')
            return true;
    }
}

int parseRow(const char* line, int32_t* out, int count)
{
    const char* p = line;
    int n = 0;
    while (n < count) {
        char* end = nullptr;
        errno = 0;
        const long v = std::strtol(p, &end, 10);
        if (end == p || errno == ERANGE || v < INT32_MIN || v > INT32_MAX)
            break;
        out[n++] = static_cast<int32_t>(v);
        p = end;
    }
    return n;
}

GameState::GameState()
    : mapName("nivel1.quorvane"), nowTime(static_cast<float>(currentTick()))
{
}

GameState::~GameState() { closeLastGameFile(); }

void GameState::openChannels(SoundSystem& sounds, bool withPrompts)
{
    for (const auto& opening : kOpenings)
        if (withPrompts || !opening.prompt)
            (this->*opening.channel).initChannel(opening.file, sounds);
}

void GameState::resetOptions(bool mapShown)
{
    infiniteBullets = false;
    mouseActive = false;
    mouseEnabled = false;
    musicOn = false;
    musicRestart = true;
    showMap = mapShown;
}

void GameState::reopenForLoad(SoundSystem& sounds)
{
    openChannels(sounds, false);
    resetOptions(true);  // a loaded game is watched with the map in view
}

void GameState::firstInit(const std::string& name, SoundSystem& sounds)
{
    openChannels(sounds, true);
    resetOptions(false);
    if (!loadMap(name)) {
        // No level to keep: start one on the empty grid, so that every field
        // of the level is set, and leave the reason for the shell to show.
        mapName = name;
        startLevel();
    }
}

bool GameState::loadMap(const std::string& name)
{
    MapRead read;
    if (!readMapFile(name, read)) {
        lastLoadError = read.error;
        return false;
    }
    commitMap(name, read.kinds);
    return true;
}

void GameState::commitMap(const std::string& name, const int32_t (&kinds)[kGridSize][kGridSize])
{
    lastLoadError.clear();
    mapName = name;
    for (int r = 0; r < kGridSize; ++r)
        for (int c = 0; c < kGridSize; ++c)
            cells[r][c].kind = kinds[r][c];
    startLevel();
}

bool GameState::squareOpen(int r, int c) const
{
    // Beyond the grid counts as wall, so a start square on the edge still
    // faces an open neighbour inside the grid.
    if (r < 0 || r >= kGridSize || c < 0 || c >= kGridSize)
        return false;
    return cells[r][c].kind != CellKind::Wall;
}

void GameState::standOn(int r, int c)
{
    currentCell = cells[r][c];
    row = r;
    col = c;
    // Later tests override earlier ones: east wins, then west, south, north.
    if (squareOpen(r - 1, c)) facing = Facing::North;
    if (squareOpen(r + 1, c)) facing = Facing::South;
    if (squareOpen(r, c - 1)) facing = Facing::West;
    if (squareOpen(r, c + 1)) facing = Facing::East;
}

void GameState::placeOnStartSquare()
{
    for (int r = 0; r < kGridSize; ++r)
        for (int c = 0; c < kGridSize; ++c)
            if (cells[r][c].kind == CellKind::Start)
                standOn(r, c);
}

void GameState::closeLastGameFile()
{
    if (lastGameFile) {
        std::fclose(lastGameFile);
        lastGameFile = nullptr;
    }
}

void GameState::openLastGameFile()
{
    // Closed first, so that changing maps or loading games does not pile up
    // open handles.
    closeLastGameFile();
    lastGameFile = std::fopen(kLastGameFile, "w");
}

// What every level start and every load resets, in their shared order.
void GameState::resetLevelFields()
{
    infiniteArmed = true;
    visibleCount = 0;
    historyCount = 0;
    gameOver = threatAhead = hudShown = doorAhead = false;
    lives = 6;
    savedBullets = 0;
    threatCycle = 1;
    MusicaFinal.stopChannel();
    SonidoMonstruos.stopChannel();
    bullets = infiniteBullets ? 999999 : 0;
    openLastGameFile();
    mouseOffset = 0;
    for (auto& line : visible)
        line = nullptr;
}

void GameState::startLevel()
{
    resetLevelFields();
    missedShots = wallBumps = stepsWithMonster = stepCount = 0;
    missedAtMonsters = missedAtMutants = missedAtSuperMonsters = 0;
    doorBumps = bulletGrabErrors = missedInCorridor = 0;
    reachedEnd = false;
    std::srand(static_cast<unsigned>(calendarTime()));

    // The start square is looked for on the map codes; 0 is a wall in both
    // code sets and every other code stays non-zero, so converting as we go
    // does not change what the neighbour tests see.
    for (int r = 0; r < kGridSize; ++r) {
        for (int c = 0; c < kGridSize; ++c) {
            if (cells[r][c].kind == MapCode::Start)
                standOn(r, c);
            convertMapCode(cells[r][c]);
        }
    }
    std::memcpy(initialCells, cells, sizeof(Grid));
    SonidosExtras.playFile(kStartSound, 0, 0, kPlayOnce);
}

// The level reset of a loaded game: no conversion, no new draws, and the
// statistics of the level go on.
void GameState::resetLevelAfterLoad()
{
    resetLevelFields();
    SonidosExtras.playFile(kStartSound, 0, 0, kPlayOnce);
}

bool GameState::restartLevel()
{
    // Read the map before touching anything: a map that has gone missing
    // leaves the level in play as it is.
    MapRead read;
    if (!readMapFile(mapName, read)) {
        lastLoadError = read.error;
        return false;
    }
    closeLastGameFile();
    if (restartHook)
        restartHook(*this);
    commitMap(std::string(mapName), read.kinds);
    return true;
}
