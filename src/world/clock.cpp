#include "clock.h"

#include <chrono>

namespace {
Tick monotonicTick()
{
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<Tick>(static_cast<uint64_t>(ms));
}
std::time_t systemCalendar() { return std::time(nullptr); }

TickSource tickSource = monotonicTick;
CalendarSource calendarSource = systemCalendar;
}

Tick currentTick() { return tickSource(); }
std::time_t calendarTime() { return calendarSource(); }

void setTickSource(TickSource source) { tickSource = source ? source : monotonicTick; }
void setCalendarSource(CalendarSource source) { calendarSource = source ? source : systemCalendar; }
