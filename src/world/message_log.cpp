#include "game_state.h"

void GameState::addMessage(const char* text)
{
    log.push(text, clock.now());
}

void MessageLog::push(const char* text, Tick at)
{
    lastMessage = text;
    // The history keeps the first sentences of a level once it is full (the
    // report is read for how a level began and went on); the visible lines
    // always show the latest ones.
    if (historyCount < kHistorySize) {
        history[historyCount] = text;
        historyTicks[historyCount] = at;
        ++historyCount;
    }
    if (visibleCount < kVisibleLines) {
        visible[visibleCount] = text;
    } else {
        for (int i = 0; i < kVisibleLines - 1; ++i)
            visible[i] = visible[i + 1];
        visible[kVisibleLines - 1] = text;
    }
    if (visibleCount < INT32_MAX)
        ++visibleCount;
}

void MessageLog::clear()
{
    visibleCount = 0;
    historyCount = 0;
    for (auto& line : visible)
        line = nullptr;
}
