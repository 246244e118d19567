#include "fake_clock.h"

namespace {
Tick fakeTick = 0;
std::time_t fakeCalendar = 0;
Tick readTick() { return fakeTick; }
std::time_t readCalendar() { return fakeCalendar; }
}

FakeClock::FakeClock(Tick start, std::time_t calendar)
{
    fakeTick = start;
    fakeCalendar = calendar;
    setTickSource(readTick);
    setCalendarSource(readCalendar);
}

FakeClock::~FakeClock()
{
    setTickSource(nullptr);
    setCalendarSource(nullptr);
}

void FakeClock::set(Tick t) { fakeTick = t; }
void FakeClock::advance(Tick ms) { fakeTick += ms; }
Tick FakeClock::now() const { return fakeTick; }
void FakeClock::setCalendar(std::time_t t) { fakeCalendar = t; }
