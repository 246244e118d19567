#pragma once
#include <cstdint>

#include "clock.h"

constexpr int kVisibleLines = 23;
constexpr int kHistorySize = 3000;

// The sentences written on screen: the lines in view and the level's
// history, with when each was written, which the report is made from.
struct MessageLog {
    const char* lastMessage = nullptr;
    const char* visible[kVisibleLines]{};
    const char* history[kHistorySize]{};
    Tick historyTicks[kHistorySize]{};
    int32_t historyCount = 0;
    int32_t visibleCount = 0;

    // Writes the sentence at the time given, as the last message.
    void push(const char* text, Tick at);
    // A level starts with nothing in view and no history.
    void clear();
};
