#pragma once
#include <ctime>

#include "clock.h"

// A clock the test moves by hand; give it to the game, the session and the
// arbiter under test.
class FakeClock final : public Clock {
public:
    explicit FakeClock(Tick start = 1000, std::time_t calendar = 1204535222) : tick_(start), calendar_(calendar) {}
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    Tick now() const override { return tick_; }
    std::time_t calendar() const override { return calendar_; }

    void set(Tick t) { tick_ = t; }
    void advance(Tick ms) { tick_ += ms; }
    void setCalendar(std::time_t t) { calendar_ = t; }

private:
    Tick tick_;
    std::time_t calendar_;
};
