// Performance counter, millisecond tick and sleep.
#pragma once
#include <cstdint>

class IClock {
public:
    virtual ~IClock() = default;
    virtual bool QueryPerformanceFrequency(std::int64_t& frequency) = 0;
    virtual bool QueryPerformanceCounter(std::int64_t& counter) = 0;
    virtual std::uint32_t GetTickCount() = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
};
