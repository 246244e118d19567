#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sys/stat.h>
#include <optional>
#include <string>
#include <vector>

#include "fake_clock.h"
#include "file_chooser.h"
#include "game_state.h"
#include "pinned_draws.h"
#include "recording_sound.h"
#include "session.h"

// Answers every dialog with a fixed name, or cancels, and notes what it was
// asked.
class ScriptedChooser : public FileChooser {
public:
    bool askOpenFile(const char* title, const char* description, const char* pattern,
                     std::string& chosen) override;
    bool askSaveFile(const char* title, const char* description, const char* pattern,
                     std::string& chosen) override;

    bool confirm(const char* question) override
    {
        questions.push_back(question);
        return yes;
    }

    std::string answer;
    bool cancel = false;
    bool yes = false;  // the answer to every question
    std::vector<std::string> asked;  // "open|save <title> <description> <pattern>"
    std::vector<std::string> questions;

private:
    bool answerWith(const char* kind, const char* title, const char* description,
                    const char* pattern, std::string& chosen);
};

// The tests name files as the game does, in its folder: where a name lies in
// the folder of the test under way (an absolute one as it is). The helpers
// below take such names.
std::string here(const std::string& name);
std::string readWholeFile(const std::string& name);
void writeWholeFile(const std::string& name, const std::string& bytes);
bool fileExists(const std::string& name);
mode_t modeOf(const std::string& name);  // permission bits, not following a link; 0 when missing
// Runs a shell command in the folder of the test under way, as a teacher
// runs a tool in his; its status as std::system gives it.
int runInFolder(const std::string& command);

// Runs each body in a process of its own, all let go at once; true when
// every one exited with 0 (killed by a signal counts as failing).
bool runTogether(const std::vector<std::function<bool()>>& bodies);

// A map of one corridor on row 1 walked east: start, corridor, bullets,
// monster, corridor, exit (columns 1 to 6). Nothing on it is random but the
// sides of the bullets and the monster.
constexpr const char* kCorridorMap = "pasillo.quorvane";
void writeCorridorMap(const std::string& name = kCorridorMap);

// A request letter as the game takes it: a move goes the keys' way (journal,
// then act); an option letter is journalled and toggles nothing the tests
// look at.
void act(GameState& game, Session& session, char letter);

// Runs a loaded game's replay to its end as the main loop does, a frame
// per millisecond: the input step carries out what the replay asked for in
// the frame before, then the replay step fires the next entry when it is due
// and no request is pending. Bounded by limitMs of game time.
void replayToEnd(GameState& game, Session& session, FakeClock& clock, int limitMs = 100000);

// The side letter (H, J, K) that reaches what stands on the player's square.
char sideFor(const GameState& game);

// Plays the corridor level to its exit with a known spacing: a shot at
// nothing, the bullets, an option key, a refused step, a wrong shot and the
// three shots that kill the monster. The clock moves 700 ms, then 800, then
// 900, ... between actions.
void playCorridorLevel(GameState& game, Session& session, FakeClock& clock);

// Every test has a fresh game folder, a session of its own and a game
// started on the corridor map in that folder.
class RecordsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    FakeClock clock{100000, 1204535222};  // Mon Mar  3 09:07:02 2008 UTC
    Session session{clock};
    RecordingSound sounds;
    std::unique_ptr<GameState> game;
    ScriptedChooser chooser;
    std::string error;
    // The game folder's whole path.
    const std::string& folder() const { return dir_; }

private:
    std::string dir_;
    std::vector<std::pair<std::string, std::optional<std::string>>> savedEnv_;
};

// The state a refused load or map change must leave exactly as it was: the
// grid, the player, the options, the level's counters and log, the journal,
// the replay and the sounds asked for.
std::string gameFingerprint(const GameState& game, const Session& session, const RecordingSound& sounds);
