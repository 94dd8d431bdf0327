// The system's performance counter, millisecond tick and sleep.
#pragma once
#include "platform/clock/IClock.h"

namespace sdl {

class Clock : public IClock {
public:
    bool QueryPerformanceFrequency(std::int64_t& f) override;
    bool QueryPerformanceCounter(std::int64_t& c) override;
    std::uint32_t GetTickCount() override;
    void Sleep(std::uint32_t ms) override;
};

}  // namespace sdl
