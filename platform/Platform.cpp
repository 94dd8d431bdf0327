#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>

Platform& Sys()
{
    static Platform platform;
    return platform;
}

void ExitProcess(int code)
{
    // Skip static destructors: the game object and its pools are still alive by design.
    std::fflush(nullptr);
    std::_Exit(code);
}
