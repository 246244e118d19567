#include "replay.h"

#include "game_state.h"

ReplayState replay;

char replayTick()
{
    const Tick now = currentTick();
    if (replay.replayPosition >= replay.replayCount) {
        replay.replayCount = 0;
        replay.replayPosition = 0;
        replay.replaying = false;
        return 0;
    }
    // Each entry waits, from the firing of the one before, for the gap that
    // stood before it in the recorded game, so the replay keeps the recorded
    // spacing; the first fires at once.
    const int32_t p = replay.replayPosition;
    const Tick wait = p > 0 ? static_cast<Tick>(replay.replayList[p].tick - replay.replayList[p - 1].tick) : 0;
    if (static_cast<Tick>(now - replay.lastReplayTick) <= wait)
        return 0;
    replay.lastReplayTick = now;
    ++replay.replayPosition;
    return replay.replayList[p].key;
}

void startReplay(const JournalEntry* entries, int32_t count)
{
    if (count < 0)
        count = 0;
    if (count > kJournalSize)
        count = kJournalSize;
    for (int32_t i = 0; i < count; ++i)
        replay.replayList[i] = entries[i];
    replay.replayCount = count;
    replay.replayPosition = 0;
    replay.lastReplayTick = 0;
    replay.replaying = true;
}

void resetJournalAndReplay()
{
    clearJournal();
    replay.replayCount = 0;
    replay.replayPosition = 0;
    replay.lastReplayTick = 0;
    replay.replaying = false;
}

void attachRecordsToRestart(GameState& game)
{
    game.restartHook = [](GameState&) { resetJournalAndReplay(); };
}
