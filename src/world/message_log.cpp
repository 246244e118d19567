#include "game_state.h"

void GameState::addMessage(const char* text)
{
    lastMessage = text;
    pushMessage();
}

void GameState::pushMessage()
{
    // The history keeps the first sentences of a level once it is full (the
    // report is read for how a level began and went on); the visible lines
    // always show the latest ones.
    if (historyCount < kHistorySize) {
        history[historyCount] = lastMessage;
        historyTicks[historyCount] = clock.now();
        ++historyCount;
    }
    if (visibleCount < kVisibleLines) {
        visible[visibleCount] = lastMessage;
    } else {
        for (int i = 0; i < kVisibleLines - 1; ++i)
            visible[i] = visible[i + 1];
        visible[kVisibleLines - 1] = lastMessage;
    }
    if (visibleCount < INT32_MAX)
        ++visibleCount;
}
