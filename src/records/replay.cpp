#include "replay.h"

char replayTick(ReplayState& replay, Tick now)
{
    if (replay.replayPosition >= replay.replayCount) {
        stopReplay(replay);
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

void startReplay(ReplayState& replay, const JournalEntry* entries, int32_t count)
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

void stopReplay(ReplayState& replay)
{
    replay.replayCount = 0;
    replay.replayPosition = 0;
    replay.lastReplayTick = 0;
    replay.replaying = false;
}
