#include "records_fixture.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "frame_driver.h"
#include "frame_order.h"
#include "input_state.h"
#include "journal.h"
#include "player_action.h"
#include "replay.h"

bool ScriptedChooser::answerWith(const char* kind, const char* title, const char* description,
                                 const char* pattern, std::string& chosen)
{
    asked.push_back(std::string(kind) + " " + title + " " + description + " " + pattern);
    if (cancel)
        return false;
    chosen = answer;
    return true;
}

bool ScriptedChooser::askOpenFile(const char* title, const char* description, const char* pattern,
                                  std::string& chosen)
{
    return answerWith("open", title, description, pattern, chosen);
}

bool ScriptedChooser::askSaveFile(const char* title, const char* description, const char* pattern,
                                  std::string& chosen)
{
    return answerWith("save", title, description, pattern, chosen);
}

namespace {
// The game folder of the test under way.
GameDir testFolder;
}  // namespace

std::string here(const std::string& name) { return testFolder.file(name); }

int runInFolder(const std::string& command)
{
    return std::system(("cd '" + testFolder.root().string() + "' && (" + command + ")").c_str());
}

std::string readWholeFile(const std::string& name)
{
    std::ifstream in(here(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeWholeFile(const std::string& name, const std::string& bytes)
{
    std::ofstream out(here(name), std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool fileExists(const std::string& name) { return std::filesystem::exists(here(name)); }

void writeCorridorMap(const std::string& name)
{
    std::string text = "/ un pasillo hacia el este\n";
    const int corridor[] = {1, 3, 9, 10, 3, 8};
    for (int r = 0; r < kGridSize; ++r) {
        for (int c = 0; c < kGridSize; ++c) {
            const int code = r == 1 && c >= 1 && c <= 6 ? corridor[c - 1] : 0;
            text += (c ? " " : "") + std::to_string(code);
        }
        text += "\n";
    }
    writeWholeFile(name, text);
}

void act(GameState& game, Session& session, char letter)
{
    if (std::strchr("SHJK", letter))
        performAction(game, session.journal, letter);
    else
        recordAction(session.journal, letter, game.clock.now());
}

void replayToEnd(GameState& game, Session& session, FakeClock& clock, int limitMs)
{
    InputState input;
    input.nameEntry = false;
    for (int ms = 0; ms < limitMs && session.replay.replaying; ++ms) {
        pollInput(game, input, session.journal);
        replayStep(session.replay, input, game.gameOver, clock.now());
        clock.advance(1);
    }
}

char sideFor(const GameState& game)
{
    const int32_t kind = game.player.currentCell.kind;
    if (kind == CellKind::BulletsLeft || kind == CellKind::MonsterLeft)
        return 'H';
    if (kind == CellKind::BulletsCentre || kind == CellKind::MonsterCentre)
        return 'J';
    return 'K';
}

void playCorridorLevel(GameState& game, Session& session, FakeClock& clock)
{
    Tick gap = 700;
    auto next = [&](char letter) {
        act(game, session, letter);
        clock.advance(gap);
        gap += 100;
    };
    next('S');              // corridor
    next('J');              // a shot with no bullets at nothing
    next('S');              // bullets
    next(sideFor(game));    // taken: 6 bullets
    next('E');              // the map view toggled
    next('S');              // the monster
    next('S');              // refused: the monster blocks the way
    const char monster = sideFor(game);
    next(monster == 'H' ? 'K' : 'H');  // a shot at the wrong side
    for (int i = 0; i < 3; ++i)
        next(monster);
    next('S');
    next('S');              // the exit
}

mode_t modeOf(const std::string& name)
{
    struct stat info {};
    return lstat(here(name).c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

bool runTogether(const std::vector<std::function<bool()>>& bodies)
{
    int start[2];
    if (pipe(start) != 0)
        return false;
    std::vector<pid_t> pids;
    for (const auto& body : bodies) {
        const pid_t pid = fork();
        if (pid == 0) {
            close(start[1]);
            char go;
            (void)!read(start[0], &go, 1);  // all go when the pipe closes
            _exit(body() ? 0 : 1);
        }
        pids.push_back(pid);
    }
    close(start[0]);
    close(start[1]);
    bool all = true;
    for (const pid_t pid : pids) {
        int status = 0;
        all = pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0 && all;
    }
    return all;
}

void RecordsTest::SetUp()
{
    char pattern[] = "/tmp/quorvane-records-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    testFolder = GameDir(dir_);
    // A report bd/ cannot take is rescued to the user's data folder or a
    // private one (the runtime folder's, else one made in the temporary
    // folder): all stay inside the test's own folder.
    for (const char* name : {"XDG_DATA_HOME", "TMPDIR", "XDG_RUNTIME_DIR"}) {
        const char* value = std::getenv(name);
        savedEnv_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    setenv("XDG_DATA_HOME", (dir_ + "/datos").c_str(), 1);
    setenv("TMPDIR", (dir_ + "/tmp").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (dir_ + "/run").c_str(), 1);
    std::filesystem::create_directory(dir_ + "/tmp");
    std::filesystem::create_directory(dir_ + "/run");

    writeCorridorMap();
    game = std::make_unique<GameState>(clock);
    game->random.pin(kLeftSidesSeed);
    game->folder = testFolder;
    game->firstInit(kCorridorMap, sounds);
    ASSERT_TRUE(game->lastLoadError.empty()) << game->lastLoadError;
}

void RecordsTest::TearDown()
{
    game.reset();
    for (const auto& [name, value] : savedEnv_) {
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }
    savedEnv_.clear();
    if (!dir_.empty())
        std::filesystem::remove_all(dir_);
    // A later test without a folder of its own must not write into one gone.
    testFolder = GameDir();
}

std::string gameFingerprint(const GameState& game, const Session& session, const RecordingSound& sounds)
{
    std::ostringstream out;
    for (const auto* grid : {&game.cells, &game.initialCells})
        for (const auto& row : *grid)
            for (const Cell& cell : row)
                out << cell.kind << ',' << cell.monsterHp << ',' << cell.mutantHp << ','
                    << cell.superHp << ' ';
    const Player& p = game.player;
    const PlayOptions& o = game.options;
    out << "| " << game.mapName << ' ' << p.row << ' ' << p.col << ' ' << p.facing << ' ' << p.currentCell.kind << ' '
        << o.showMap << o.infiniteBullets << o.musicOn << o.mouseEnabled << ' ' << p.bullets << ' ' << p.lives << ' '
        << game.stats.stepCount << ' ' << game.stats.missedShots << ' ' << game.log.historyCount << ' ' << game.gameOver;
    const Journal& journal = session.journal;
    const ReplayState& replay = session.replay;
    out << "| " << journal.journalCount;
    for (int i = 0; i < journal.journalCount; ++i)
        out << ' ' << journal.entries[i].key << journal.entries[i].tick;
    out << "| " << replay.replayCount << ' ' << replay.replayPosition << ' ' << replay.replaying
        << ' ' << replay.lastReplayTick << " | sounds " << sounds.events.size();
    return out.str();
}
