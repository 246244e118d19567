#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "catalogue.h"
#include "game_state.h"
#include "map_check.h"
#include "map_codes.h"
#include "map_file.h"
#include "movement.h"

namespace {
const char* const kLastGameFile = "UltimoJuego.txt";

struct ChannelOpening {
    SoundChannel Channels::*channel;
    const char* file;
    bool prompt;  // the name prompt and the introductions: opened once only
};

// The order in which the channels are opened, with their first sounds.
const ChannelOpening kOpenings[] = {
    {&Channels::sonido, catalogue::Pasos.file, false},
    {&Channels::SonidoDisparos, catalogue::Pasos.file, false},
    {&Channels::SonidosExtras, catalogue::Pasos.file, false},
    {&Channels::SonidoFeedBackSeteo, catalogue::Pasos.file, false},
    {&Channels::SonidoMuerteMonstruo, catalogue::Pasos.file, false},
    {&Channels::SonidoBloqueando, catalogue::Pasos.file, false},
    {&Channels::SonidoEscribeTuNombre, catalogue::escribetunombreypresiona.file, true},
    {&Channels::SonidoIntroduccion1, catalogue::Intro1.file, true},
    {&Channels::SonidoIntroduccion2, catalogue::Intro2.file, true},
    {&Channels::MusicaDeFondo, catalogue::MusicaFondo.file, false},
    {&Channels::SonidoMonstruos, catalogue::MonstruoCen.file, false},
    {&Channels::SonidoPasos, catalogue::Pasos.file, false},
    {&Channels::MusicaFinal, catalogue::MusicaFinal.file, false},
};

// The map codes of one file, read whole before anything in play is touched.
// A map the game refuses keeps its first reason for the shell to show.
struct MapRead {
    MapText text;
    std::string error;
};

bool readMapFile(const GameDir& folder, const std::string& name, MapRead& out)
{
    if (readMapText(folder.file(name), out.text))
        return true;
    out.error = describeMapProblem(name, out.text.errors.front());
    return false;
}

// A map that loads may still be one no player can win; the teacher who wrote
// it hears nothing of that in play, so it is said where he starts the game.
bool warnAboutMap(const std::string& name, const MapText& text, std::FILE* to)
{
    const MapCheck check = checkMap(text);
    for (const MapFinding& finding : check.findings)
        if (finding.severity == MapFinding::Severity::Warning && to)
            std::fprintf(to, "%s\n", formatFinding(name, finding).c_str());
    return check.reachable;
}
}

GameState::GameState(const Clock& clock)
    : mapName("nivel1.quorvane"), threatClock{.lastThreatCheck = clock.now()}, clock(clock)
{
}

GameState::~GameState() { closeLastGameFile(); }

void GameState::openChannels(SoundSystem& sounds, bool withPrompts)
{
    for (const auto& opening : kOpenings)
        if (withPrompts || !opening.prompt)
            (channels.*opening.channel).initChannel(opening.file, sounds);
}

void GameState::resetOptions(bool mapShown)
{
    options.reset(mapShown);
}

void GameState::reopenForLoad(SoundSystem& sounds)
{
    openChannels(sounds, false);
    resetOptions(true);  // a loaded game is watched with the map in view
}

void GameState::firstInit(const std::string& name, SoundSystem& sounds)
{
    // The first level's voice from the very first sentence: the name prompt
    // and the welcome are loaded as the channels open.
    sounds.useSlowVoice(settings.slowVoice);
    openChannels(sounds, true);
    resetOptions(false);
    if (!loadMap(name)) {
        // No level to keep: start one on the empty grid, so that every field
        // of the level is set, and leave the reason for the shell to show.
        mapName = name;
        playedFrom = name;
        startLevel();
    }
}

bool GameState::loadMap(const std::string& name)
{
    MapText text;
    readMapText(folder.file(name), text);
    return startOnMapText(name, text);
}

bool GameState::loadMapText(const std::string& name, std::string_view bytes)
{
    MapText text;
    parseMapText(bytes, text);
    return startOnMapText(name, text);
}

bool GameState::startOnMapText(const std::string& name, const MapText& text)
{
    if (!text.errors.empty()) {
        lastLoadError = describeMapProblem(name, text.errors.front());
        return false;
    }
    lastMapWinnable = warnAboutMap(name, text, mapWarnings);
    commitMap(name, text.codes);
    return true;
}

void GameState::commitMap(const std::string& name, const int32_t (&kinds)[kGridSize][kGridSize])
{
    lastLoadError.clear();
    mapName = name;
    playedFrom = name;
    for (int r = 0; r < kGridSize; ++r)
        for (int c = 0; c < kGridSize; ++c)
            cells[r][c].kind = kinds[r][c];
    startLevel();
}

void GameState::standOn(int r, int c)
{
    player.standOn(cells, r, c);
    // A start square on the edge still faces an open neighbour inside the
    // grid; with none open he keeps the way he faced.
    if (const int towards = startFacing(r, c, [this](int nr, int nc) { return cells[nr][nc].kind != CellKind::Wall; }))
        player.facing = towards;
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
    if (!createsLastGameFile)
        return;
    // Created or emptied as fopen("w") would, but never waiting: a FIFO in
    // its place would hold the level start until some reader came. Anything
    // but a regular file is left alone; nothing is ever written to it. A
    // link in its place, symbolic or hard, is not followed: emptying it
    // would empty a file elsewhere.
    const std::string path = folder.file(kLastGameFile);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW, 0600);
    struct stat info {};
    if (fd < 0)
        return;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink > 1 || ::ftruncate(fd, 0) != 0) {
        ::close(fd);
        return;
    }
    lastGameFile = ::fdopen(fd, "w");
    if (!lastGameFile)
        ::close(fd);
}

// What every level start and every load resets, in their shared order.
void GameState::resetLevelFields()
{
    ++levelSerial;
    log.clear();
    gameOver = options.hudShown = false;
    player.startLevel(options.infiniteBullets);
    threatClock.restart();
    channels.MusicaFinal.stopChannel();
    channels.SonidoMonstruos.stopChannel();
    // The teacher's settings take effect here, never in the middle of a
    // level; the voice follows from the next sentence on.
    levelSettings = settings;
    levelSettingsLine = settingsLine(levelSettings, options.infiniteBullets, options.showMap);
    settingsLineTick = clock.now();
    if (channels.sonido.isOpen())
        channels.sonido.system->useSlowVoice(levelSettings.slowVoice);
    openLastGameFile();
    options.mouseOffset = 0;
}

void GameState::startLevel()
{
    resetLevelFields();
    stats.reset();
    random.startLevel(static_cast<uint32_t>(clock.calendar()));

    // The start square is looked for on the map codes; 0 is a wall in both
    // code sets and every other code stays non-zero, so converting as we go
    // does not change what the neighbour tests see.
    for (int r = 0; r < kGridSize; ++r) {
        for (int c = 0; c < kGridSize; ++c) {
            if (cells[r][c].kind == MapCode::Start)
                standOn(r, c);
            convertMapCode(cells[r][c], random, levelSettings.traps);
        }
    }
    std::memcpy(initialCells, cells, sizeof(Grid));
    channels.SonidosExtras.playFile(catalogue::InicioJuego.file, 0, 0, kPlayOnce);
}

// The level reset of a loaded game: no conversion, no new draws, and the
// statistics of the level go on.
void GameState::resetLevelAfterLoad()
{
    resetLevelFields();
    channels.SonidosExtras.playFile(catalogue::InicioJuego.file, 0, 0, kPlayOnce);
}

bool GameState::restartLevel()
{
    // Read the map before touching anything: a map that has gone missing
    // leaves the level in play as it is.
    MapRead read;
    if (!readMapFile(folder, mapName, read)) {
        lastLoadError = read.error;
        return false;
    }
    closeLastGameFile();
    commitMap(std::string(mapName), read.text.codes);
    return true;
}
