#include "scaled_time.h"

float scaledTime(Tick tick)
{
    // A double holds every 32-bit tick exactly; only the product is rounded.
    return static_cast<float>(static_cast<double>(tick) * static_cast<double>(1e-7f));
}

bool passGate(float& last, float now, float interval)
{
    const bool wrapped = now < last;
    if (!wrapped && static_cast<double>(now) - static_cast<double>(last) <= static_cast<double>(interval))
        return false;
    last = now;
    return true;
}
