#include "platform/clock/HeadlessClock.h"

#include <cmath>

namespace headless {

bool Clock::QueryPerformanceFrequency(std::int64_t& f)
{
    if (!hasPerformanceCounter) return false;
    f = frequency;
    return true;
}

bool Clock::QueryPerformanceCounter(std::int64_t& c)
{
    if (!hasPerformanceCounter) return false;
    c = counter;
    return true;
}

void Clock::Sleep(std::uint32_t ms)
{
    sleptMs += ms;
    Advance(ms / 1000.0);
}

void Clock::Advance(double seconds)
{
    counter += static_cast<std::int64_t>(std::llround(seconds * static_cast<double>(frequency)));
    tick += static_cast<std::uint32_t>(std::llround(seconds * 1000.0));
}

void Clock::AdvanceToNextBlank(int hz, double phase)
{
    const std::int64_t offset = std::llround(phase * static_cast<double>(frequency));
    const std::int64_t since = counter - offset;
    const std::int64_t blank = (since >= 0 ? since * hz / frequency : (since * hz - frequency + 1) / frequency) + 1;
    const std::int64_t at = (blank * frequency + hz - 1) / hz + offset;  // rounded up: never short of the blank
    Advance(static_cast<double>(at - counter) / static_cast<double>(frequency));
}

}  // namespace headless
