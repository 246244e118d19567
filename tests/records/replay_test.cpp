#include <map>

#include "journal.h"
#include "records_fixture.h"
#include "replay.h"
#include "saved_game.h"

namespace {
// Ticks the clock one millisecond at a time and notes when each letter fires,
// until the replay ends.
std::map<Tick, char> firings(FakeClock& clock, int limitMs = 100000)
{
    std::map<Tick, char> fired;
    for (int i = 0; i < limitMs && replay.replaying; ++i) {
        if (const char letter = replayTick())
            fired[clock.now()] = letter;
        clock.advance(1);
    }
    return fired;
}

using Replay = RecordsTest;

TEST_F(Replay, EachEntryWaitsForTheRecordedGapBeforeIt)
{
    const JournalEntry entries[] = {{'S', 1000}, {'H', 1500}, {'E', 1700}, {'J', 2000}};
    startReplay(entries, 4);
    clock.set(100000);
    const std::map<Tick, char> expected = {
        {100000, 'S'},  // the first fires at once
        {100501, 'H'},  // once more than the recorded 500 ms have passed
        {100702, 'E'},  // an option letter takes its turn: 200
        {101003, 'J'},  // 300
    };
    EXPECT_EQ(firings(clock), expected);
    EXPECT_FALSE(replay.replaying);
    EXPECT_EQ(replay.replayCount, 0);
    EXPECT_EQ(replay.replayPosition, 0);
}

TEST_F(Replay, OneEntryFiresOnceAndTheReplayEndsAtTheNextTick)
{
    const JournalEntry entry{'S', 77};
    startReplay(&entry, 1);
    EXPECT_EQ(replayTick(), 'S');
    EXPECT_TRUE(replay.replaying);
    EXPECT_EQ(replayTick(), 0);
    EXPECT_FALSE(replay.replaying);
}

TEST_F(Replay, WaitsHoldAcrossTheWrapOfTheTickCounter)
{
    const JournalEntry entries[] = {{'S', 4294967000u}, {'S', 4294967200u}, {'H', 104u}};
    startReplay(entries, 3);
    clock.set(4294967195u);
    const std::map<Tick, char> expected = {{4294967195u, 'S'}, {100u, 'S'}, {301u, 'H'}};
    EXPECT_EQ(firings(clock), expected);
}

TEST_F(Replay, RestartEmptiesTheJournalAndEndsTheReplay)
{
    attachRecordsToRestart(*game);
    act(*game, 'S');
    const JournalEntry entries[] = {{'S', 1}, {'S', 2}};
    startReplay(entries, 2);
    ASSERT_TRUE(game->restartLevel());
    EXPECT_EQ(journal.journalCount, 0);
    EXPECT_FALSE(replay.replaying);
    EXPECT_EQ(replay.replayCount, 0);
    EXPECT_EQ(replayTick(), 0);
}

TEST_F(Replay, AReplayedGameWalksTheRecordedPathWithTheRecordedSpacing)
{
    playCorridorLevel(*game, clock);
    const Journal recorded = journal;
    struct Outcome {
        int32_t steps, missed, atMonsters, inCorridor, withMonster, bullets;
        bool reachedEnd, gameOver;
        bool operator==(const Outcome&) const = default;
    };
    auto outcome = [&] {
        const GameState& g = *game;
        return Outcome{g.stepCount,   g.missedShots,      g.missedAtMonsters, g.missedInCorridor,
                       g.stepsWithMonster, g.bullets, g.reachedEnd, g.gameOver};
    };
    const Outcome recordedOutcome = outcome();
    std::vector<std::pair<int32_t, int32_t>> recordedPath;
    for (int i = 0; i < game->stepCount; ++i)
        recordedPath.emplace_back(game->stepRows[i], game->stepCols[i]);

    chooser.answer = "grabada.txt";
    ASSERT_TRUE(saveGame(*game, chooser, &error)) << error;
    attachRecordsToRestart(*game);
    ASSERT_TRUE(game->restartLevel());
    ASSERT_TRUE(loadGame(*game, chooser, sounds, &error)) << error;

    // A tiny frame driver: the fired letter becomes the request acted upon;
    // option letters toggle nothing during a replay.
    clock.advance(50000);
    while (replay.replaying) {
        const char letter = replayTick();
        if (letter == 'S' || letter == 'H' || letter == 'J' || letter == 'K')
            act(*game, letter);
        clock.advance(1);
    }

    EXPECT_EQ(outcome(), recordedOutcome);
    std::vector<std::pair<int32_t, int32_t>> path;
    for (int i = 0; i < game->stepCount; ++i)
        path.emplace_back(game->stepRows[i], game->stepCols[i]);
    EXPECT_EQ(path, recordedPath);
    EXPECT_TRUE(game->showMap);

    // The replay journals the actions again, without the option letter. Entry
    // p fires one millisecond after the recorded gap before it has passed
    // since entry p - 1 fired: the recorded spacing.
    std::vector<JournalEntry> expected;
    Tick firing = journal.entries[0].tick;
    for (int p = 0; p < recorded.journalCount; ++p) {
        if (p > 0)
            firing += recorded.entries[p].tick - recorded.entries[p - 1].tick + 1;
        if (recorded.entries[p].key != 'E')
            expected.push_back({recorded.entries[p].key, firing});
    }
    ASSERT_EQ(journal.journalCount, static_cast<int32_t>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(journal.entries[i].key, expected[i].key) << i;
        EXPECT_EQ(journal.entries[i].tick, expected[i].tick) << i;
    }
}
}
