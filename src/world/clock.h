#pragma once
#include <cstdint>
#include <ctime>

// Ticks are milliseconds, as unsigned 32-bit values that wrap (after about
// 49 days). Production reads a monotonic clock counted from the program's
// start; tests install their own source so that timed rules run on a
// controllable clock.
using Tick = uint32_t;
using TickSource = Tick (*)();
using CalendarSource = std::time_t (*)();

Tick currentTick();
std::time_t calendarTime();

// nullptr restores the real source.
void setTickSource(TickSource source);
void setCalendarSource(CalendarSource source);
