#include "platform/HeadlessPlatform.h"

#include <memory>

namespace headless {

HeadlessPlatform& Install()
{
    static std::unique_ptr<HeadlessPlatform> current;
    current = std::make_unique<HeadlessPlatform>();
    HeadlessPlatform& h = *current;
    h.input.window = &h.window;
    Platform& sys = Sys();
    sys = Platform();
    sys.window = &h.window;
    sys.clock = &h.clock;
    sys.messageBox = &h.messageBoxes;
    sys.files = &h.files;
    sys.graphics = &h.graphics;
    sys.input = &h.input;
    sys.audio = &h.audio;
    sys.meshes = &h.meshes;
    sys.meshLoader = &h.meshLoader;
    return h;
}

}  // namespace headless
