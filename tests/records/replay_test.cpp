#include <map>
#include <string>

#include "records_fixture.h"
#include "replay.h"
#include "saved_game.h"

namespace {
// Ticks the clock one millisecond at a time and notes when each letter fires,
// until the replay ends.
std::map<Tick, char> firings(Session& session, FakeClock& clock, int limitMs = 100000)
{
    std::map<Tick, char> fired;
    for (int i = 0; i < limitMs && session.replay.replaying; ++i) {
        if (const char letter = replayTick(session.replay, session.clock.now()))
            fired[clock.now()] = letter;
        clock.advance(1);
    }
    return fired;
}

using Replay = RecordsTest;

TEST_F(Replay, EachEntryWaitsForTheRecordedGapBeforeIt)
{
    const JournalEntry entries[] = {{'S', 1000}, {'H', 1500}, {'E', 1700}, {'J', 2000}};
    startReplay(session.replay, entries, 4);
    clock.set(100000);
    const std::map<Tick, char> expected = {
        {100000, 'S'},  // the first fires at once
        {100501, 'H'},  // once more than the recorded 500 ms have passed
        {100702, 'E'},  // an option letter takes its turn: 200
        {101003, 'J'},  // 300
    };
    EXPECT_EQ(firings(session, clock), expected);
    EXPECT_FALSE(session.replay.replaying);
    EXPECT_EQ(session.replay.replayCount, 0);
    EXPECT_EQ(session.replay.replayPosition, 0);
}

TEST_F(Replay, OneEntryFiresOnceAndTheReplayEndsAtTheNextTick)
{
    const JournalEntry entry{'S', 77};
    startReplay(session.replay, &entry, 1);
    EXPECT_EQ(replayTick(session.replay, session.clock.now()), 'S');
    EXPECT_TRUE(session.replay.replaying);
    EXPECT_EQ(replayTick(session.replay, session.clock.now()), 0);
    EXPECT_FALSE(session.replay.replaying);
}

TEST_F(Replay, WaitsHoldAcrossTheWrapOfTheTickCounter)
{
    const JournalEntry entries[] = {{'S', 4294967000u}, {'S', 4294967200u}, {'H', 104u}};
    startReplay(session.replay, entries, 3);
    clock.set(4294967195u);
    const std::map<Tick, char> expected = {{4294967195u, 'S'}, {100u, 'S'}, {301u, 'H'}};
    EXPECT_EQ(firings(session, clock), expected);
}

TEST_F(Replay, ActionsRecordedFasterThanTheInputStepAreEachCarriedOutInTurn)
{
    // Each entry falls due while the one before still waits for the input
    // step: none may be lost or overtaken.
    const JournalEntry entries[] = {{'S', 1000}, {'H', 1020}, {'K', 1040}, {'J', 1060}};
    startReplay(session.replay, entries, 4);
    replayToEnd(*game, session, clock);
    ASSERT_FALSE(session.replay.replaying);
    std::string keys;
    for (int32_t i = 0; i < session.journal.journalCount; ++i)
        keys += session.journal.entries[i].key;
    EXPECT_EQ(keys, "SHKJ");
}

TEST_F(Replay, AReplayedGameWalksTheRecordedPathWithTheRecordedSpacing)
{
    playCorridorLevel(*game, session, clock);
    const Journal recorded = session.journal;
    struct Outcome {
        int32_t steps, missed, atMonsters, inCorridor, withMonster, bullets;
        bool reachedEnd, gameOver;
        bool operator==(const Outcome&) const = default;
    };
    auto outcome = [&] {
        const GameState& g = *game;
        const LevelStats& s = g.stats;
        return Outcome{s.stepCount,        s.missedShots,    s.missedAtMonsters, s.missedInCorridor,
                       s.stepsWithMonster, g.player.bullets, s.reachedEnd,       g.gameOver};
    };
    const Outcome recordedOutcome = outcome();
    std::vector<std::pair<int32_t, int32_t>> recordedPath;
    for (int i = 0; i < game->stats.stepCount; ++i)
        recordedPath.emplace_back(game->stats.stepRows[i], game->stats.stepCols[i]);

    chooser.answer = "grabada.txt";
    ASSERT_TRUE(saveGame(*game, session, chooser, &error)) << error;
    ASSERT_TRUE(game->restartLevel());
    ASSERT_TRUE(loadGame(*game, session, chooser, sounds, &error)) << error;

    // Each fired letter goes the keys' way (a move is journalled and made);
    // option letters toggle nothing during a replay.
    clock.advance(50000);
    replayToEnd(*game, session, clock);
    ASSERT_FALSE(session.replay.replaying);

    EXPECT_EQ(outcome(), recordedOutcome);
    std::vector<std::pair<int32_t, int32_t>> path;
    for (int i = 0; i < game->stats.stepCount; ++i)
        path.emplace_back(game->stats.stepRows[i], game->stats.stepCols[i]);
    EXPECT_EQ(path, recordedPath);
    EXPECT_TRUE(game->options.showMap);

    // The replay journals the actions again, without the option letter. Entry
    // p fires one millisecond after the recorded gap before it has passed
    // since entry p - 1 fired: the recorded spacing.
    std::vector<JournalEntry> expected;
    Tick firing = session.journal.entries[0].tick;
    for (int p = 0; p < recorded.journalCount; ++p) {
        if (p > 0)
            firing += recorded.entries[p].tick - recorded.entries[p - 1].tick + 1;
        if (recorded.entries[p].key != 'E')
            expected.push_back({recorded.entries[p].key, firing});
    }
    ASSERT_EQ(session.journal.journalCount, static_cast<int32_t>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(session.journal.entries[i].key, expected[i].key) << i;
        EXPECT_EQ(session.journal.entries[i].tick, expected[i].tick) << i;
    }
}
}
