#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "cell.h"
#include "channels.h"
#include "clock.h"
#include "game_dir.h"
#include "level_stats.h"
#include "map_file.h"
#include "message_log.h"
#include "play_options.h"
#include "player.h"
#include "random_source.h"
#include "sound.h"
#include "teacher_settings.h"
#include "threat_clock.h"

namespace catalogue {
struct Line;
}

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
    bool creatureBarsStep() const { return player.threatAhead; }
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
    bool levelWon() const { return gameOver && player.currentCell.kind == CellKind::Exit; }

    // --- message log (message_log.cpp) ---
    // Writes the sentence in the log, as said at this moment.
    void addMessage(const char* text);

    // The level in play.
    bool gameOver = false;
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
    std::FILE* lastGameFile = nullptr;

    Player player;
    MessageLog log;
    PlayOptions options;
    Channels channels;
    ThreatClock threatClock;
    LevelStats stats;

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
    void loseForWantOfBullets();
    // Ends the level lost: says and writes why (the ending's sound and
    // sentence), then how to play again.
    void loseLevel(const catalogue::Line& ending);
};

