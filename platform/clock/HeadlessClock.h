// A clock that moves only when the test moves it.
#pragma once
#include <cstdint>

#include "platform/clock/IClock.h"

namespace headless {

class Clock : public IClock {
public:
    bool QueryPerformanceFrequency(std::int64_t& f) override;
    bool QueryPerformanceCounter(std::int64_t& c) override;
    std::uint32_t GetTickCount() override { return tick; }
    void Sleep(std::uint32_t ms) override;
    // Moves both the counter and the tick by the given seconds.
    void Advance(double seconds);
    // Moves to the next whole multiple of 1/hz seconds, plus phase: a display's next vertical blank.
    void AdvanceToNextBlank(int hz, double phase = 0.0);

    bool hasPerformanceCounter = true;
    std::int64_t frequency = 1000000;
    std::int64_t counter = 0;
    std::uint32_t tick = 0;
    std::uint32_t sleptMs = 0;
};

}  // namespace headless
