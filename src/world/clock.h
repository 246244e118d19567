#pragma once
#include <cstdint>
#include <ctime>

// Ticks are milliseconds from an arbitrary origin, as unsigned 32-bit values
// that wrap. Production reads a monotonic clock; tests install their own
// source so that timed rules run on a controllable clock.
using Tick = uint32_t;
using TickSource = Tick (*)();
using CalendarSource = std::time_t (*)();

Tick currentTick();
std::time_t calendarTime();

// nullptr restores the real source.
void setTickSource(TickSource source);
void setCalendarSource(CalendarSource source);
