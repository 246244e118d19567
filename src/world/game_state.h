#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "cell.h"
#include "clock.h"
#include "creature_costs.h"
#include "game_dir.h"
#include "map_file.h"
#include "random_source.h"
#include "sound.h"
#include "teacher_settings.h"

namespace catalogue {
struct Line;
}

constexpr int kVisibleLines = 23;
constexpr int kHistorySize = 3000;
constexpr int kPathSize = 500;
// The count infinite bullets show from the level start on; the report
// writes it, less the shots fired meanwhile, as the bullets left. A report
// holds that count as a plain number, so older ones showing 999999 still read.
constexpr int32_t kInfiniteBullets = 99999;

// A shot at a creature on its side: how it sounds when the creature lives on
// and when it dies, and what the screen says.
struct AimedShot {
    const char* hitSound;
    const char* killSound;
    const char* message;
};

// The whole game: the level in play, the player, the message log, the options,
// the sound channels and the statistics of the level.
class GameState {
public:
    // The clock the level's times are read from; it must outlive the game.
    explicit GameState(const Clock& clock = systemClock());
    ~GameState();
    GameState(const GameState&) = delete;
    GameState& operator=(const GameState&) = delete;

    // --- level set-up (level.cpp) ---
    void firstInit(const std::string& name, SoundSystem& sounds);
    // Reads the map and starts a level on it. A map that cannot be read is
    // refused whole: the level in play stays as it was and the reason is in
    // lastLoadError.
    bool loadMap(const std::string& name);
    // The same with the map's text already in memory; name is the map's
    // name for the level and the messages.
    bool loadMapText(const std::string& name, std::string_view text);
    void startLevel();
    void resetLevelAfterLoad();
    // The level's statistics (the report's counters and whether the end was
    // reached) start afresh: at every level start, and when a saved game is
    // put in play, whose replay counts its own actions.
    void resetStatistics();
    // Reads the map again and starts over on it; false, with the level in
    // play untouched, when it can no longer be read.
    bool restartLevel();
    // Before a saved game is put in play: the game channels opened afresh
    // (the name prompt and introductions keep theirs) and the options reset,
    // with the map view on.
    void reopenForLoad(SoundSystem& sounds);
    // Puts the player on the grid's start square (the last one in row order),
    // facing its open neighbour; nothing changes when there is none.
    void placeOnStartSquare();

    // --- moving and acting (advance.cpp, side_actions.cpp) ---
    // A creature on the player's square bars his step while it lives: the
    // key is taken (journalled and counted) but he stays.
    bool creatureBarsStep() const { return threatAhead; }
    void advance();
    void leftAction();
    void centreAction();
    void rightAction();
    void shootCreature(const AimedShot& shot, CreatureType type);
    void shootAtNothing(const char* shotSound, const char* shotMessage);

    // --- timed threats (threats.cpp) ---
    void shiftMutant();
    void shiftSuperMonster();
    // How long the two checks above may wait without a creature moving late
    // or its clock losing time (0: check at every pass); kNoThreatDue with
    // no creature on the player's square.
    Tick msUntilThreatDue() const;
    static constexpr Tick kNoThreatDue = UINT32_MAX;
    void reportBullets(const char* prefix);

    // --- endings (endings.cpp) ---
    void winLevel();

    // --- what the player may ask (queries.cpp) ---
    // Says how many lives are left.
    void reportLives();
    // Says what is on the player's square to his sides (or that there is
    // nothing), writes it, then says his bullets and lives.
    void describeSquare();
    // Won levels end on the exit square; traps and losses do not.
    bool levelWon() const { return gameOver && currentCell.kind == CellKind::Exit; }

    // --- message log (message_log.cpp) ---
    void addMessage(const char* text);
    void pushMessage();

    // Fields, in the record's order.
    bool showMap = false;
    std::string mapName;
    // The file the level in play came from, for its report: the map, or the
    // saved game loaded over it (mapName still names the map a restart
    // reads).
    std::string playedFrom;
    // Counts level starts and loads: whatever is pressed, each level played
    // gets one report.
    uint32_t levelSerial = 0;
    Grid cells{};
    Grid initialCells{};
    Cell currentCell{};
    int32_t facing = Facing::North;
    int32_t row = 0;
    int32_t col = 0;
    bool turnPending = false;
    const char* lastMessage = nullptr;
    const char* visible[kVisibleLines]{};
    const char* history[kHistorySize]{};
    Tick historyTicks[kHistorySize]{};
    int32_t historyCount = 0;
    int32_t visibleCount = 0;
    int32_t bullets = 0;
    int32_t savedBullets = 0;
    bool infiniteBullets = false;
    bool infiniteEngaged = false;
    bool infiniteArmed = true;
    bool threatAhead = false;
    bool doorAhead = false;
    std::FILE* lastGameFile = nullptr;
    int32_t mouseOffset = 0;
    int32_t mouseZone = 2;
    bool mouseActive = false;
    bool mouseEnabled = false;

    SoundChannel sonido;
    SoundChannel SonidoDisparos;
    SoundChannel SonidoMonstruos;
    SoundChannel SonidosExtras;
    SoundChannel MusicaDeFondo;
    SoundChannel SonidoPasos;
    SoundChannel MusicaFinal;
    SoundChannel SonidoFeedBackSeteo;
    SoundChannel SonidoMuerteMonstruo;
    SoundChannel SonidoBloqueando;
    SoundChannel SonidoEscribeTuNombre;
    SoundChannel SonidoIntroduccion1;
    SoundChannel SonidoIntroduccion2;

    bool musicOn = false;
    bool musicRestart = true;
    bool gameOver = false;
    int32_t threatCycle = 1;
    int32_t lives = kLivesAtStart;
    // The creatures' clock: milliseconds of play, which run only while the
    // game takes input (see shiftCreature); lastThreatTime is when the
    // creature's side was last heard in full, or when it last held still.
    float lastThreatTime = 0.0f;
    float nowTime = 0.0f;
    // Whether the player has heard in full the side of the creature on his
    // square; false from its announcement until its sentence has been said.
    bool threatSideHeard = true;
    Tick lastThreatCheck = 0;
    bool hudShown = false;
    int32_t missedShots = 0;
    int32_t missedAtMonsters = 0;
    int32_t missedAtMutants = 0;
    int32_t missedAtSuperMonsters = 0;
    int32_t doorBumps = 0;
    int32_t bulletGrabErrors = 0;
    int32_t missedInCorridor = 0;
    int32_t wallBumps = 0;
    bool reachedEnd = false;
    int32_t stepsWithMonster = 0;
    Tick stepTicks[kPathSize]{};
    int32_t stepCount = 0;
    int32_t stepRows[kPathSize]{};
    int32_t stepCols[kPathSize]{};

    // The teacher's settings: those chosen, which the next level start puts
    // in force, and those the level in play runs with. The report keeps
    // levelSettingsLine, said to nobody, as the first message of the level.
    TeacherSettings settings;
    TeacherSettings levelSettings;
    std::string levelSettingsLine;
    Tick settingsLineTick = 0;

    // What the level start draws its random squares, sides and traps from.
    RandomSource random;

    // Not part of the rules: the clock, and diagnostics for the layers above.
    const Clock& clock;
    // The game folder the maps, UltimoJuego.txt, the reports and the saved
    // games are named in; none by default (names as they are given).
    GameDir folder;
    std::string lastLoadError;
    // Whether the exit of the map last loaded can be reached from its start.
    bool lastMapWinnable = true;
    // Where the warnings about a map that loads are written: the standard
    // error, where a teacher starts the game on his map. Null writes none (a
    // fuzz run starts thousands of levels a second).
    std::FILE* mapWarnings = stderr;
    // Whether a level start creates its empty UltimoJuego.txt in the game
    // folder, as the game always has; a fuzz run leaves the disk alone.
    bool createsLastGameFile = true;

private:
    void openChannels(SoundSystem& sounds, bool withPrompts);
    void resetOptions(bool mapShown);
    void closeLastGameFile();
    void openLastGameFile();
    void standOn(int r, int c);
    // What the player meets on the square he has stepped onto.
    void arriveOn(int32_t kind);
    void resetLevelFields();
    void commitMap(const std::string& name, const int32_t (&kinds)[kGridSize][kGridSize]);
    // Starts a level on a map read whole, or keeps the level in play and
    // the map's first problem in lastLoadError.
    bool startOnMapText(const std::string& name, const MapText& text);
    enum class ShiftResult { NotDue, Stayed, Moved };
    ShiftResult shiftCreature(int32_t firstKind);
    void runCreatureClock();
    void loseForWantOfBullets();
    // Ends the level lost: says and writes why (the ending's sound and
    // sentence), then how to play again.
    void loseLevel(const catalogue::Line& ending);
};

