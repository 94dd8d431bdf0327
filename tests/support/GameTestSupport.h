// Shared set-up for tests that build the game object on the headless back end.
#pragma once
#include <string>

#include "platform/HeadlessPlatform.h"

namespace testsupport {

inline std::string GamePath(std::string path)
{
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

// Headless back end whose executable sits in the staged game root, started from that root.
inline headless::HeadlessPlatform& InstallStaged()
{
    headless::HeadlessPlatform& h = headless::Install();
    h.files.moduleFileName = GamePath(std::string(ZENTHAR_STAGE_DIR) + "/bin/zenthar");
    h.files.currentDirectory = GamePath(ZENTHAR_STAGE_DIR);
    return h;
}

}  // namespace testsupport
