#pragma once
#include <ctime>

#include "clock.h"

// Installs a controllable tick and calendar source for the life of the object.
class FakeClock {
public:
    explicit FakeClock(Tick start = 1000, std::time_t calendar = 1204535222);
    ~FakeClock();
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    void set(Tick t);
    void advance(Tick ms);
    Tick now() const;
    void setCalendar(std::time_t t);
};
