#include "platform/clock/SdlClock.h"

#include <SDL.h>

namespace sdl {

bool Clock::QueryPerformanceFrequency(std::int64_t& f)
{
    f = static_cast<std::int64_t>(SDL_GetPerformanceFrequency());
    return f > 0;
}

bool Clock::QueryPerformanceCounter(std::int64_t& c)
{
    c = static_cast<std::int64_t>(SDL_GetPerformanceCounter());
    return true;
}

std::uint32_t Clock::GetTickCount()
{
    return SDL_GetTicks();
}

void Clock::Sleep(std::uint32_t ms)
{
    SDL_Delay(ms);
}

}  // namespace sdl
