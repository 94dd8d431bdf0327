#include <SDL.h>

#include <cstdio>
#include <memory>

#include "platform/Platform.h"
#include "platform/audio/SdlAudio.h"
#include "platform/clock/SdlClock.h"
#include "platform/files/HostFileSystem.h"
#include "platform/graphics/SdlGraphics.h"
#include "platform/input/SdlInput.h"
#include "platform/mesh/AssimpMeshLoader.h"
#include "platform/mesh/SdlMeshRenderer.h"
#include "platform/window/SdlMessageBoxes.h"
#include "platform/window/SdlWindow.h"

namespace {

struct SdlBackEnd {
    sdl::Window window;
    sdl::Clock clock;
    HostFileSystem files;
    sdl::MessageBoxes messageBoxes{&window};
    std::unique_ptr<sdl::Graphics> graphics;
    std::unique_ptr<sdl::Input> input;
    std::unique_ptr<sdl::MeshRenderer> meshes;
    AssimpMeshLoader meshLoader;
    sdl::Audio audio;  // opens the device on first use; none means silence
};

}  // namespace

bool InstallSdlPlatform()
{
    // Controllers keep reporting on offscreen and virtual displays, where focus may never come.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // With no display the game object's device failure follows; this line says what is missing.
    const bool video = SDL_Init(SDL_INIT_EVENTS) == 0 && sdl::StartVideo();
    if (!video) std::fprintf(stderr, "zenthar: %s\n", SDL_GetError());
    static SdlBackEnd backEnd;
    backEnd.graphics = std::make_unique<sdl::Graphics>(&backEnd.window);
    backEnd.input = std::make_unique<sdl::Input>(&backEnd.window);
    backEnd.meshes = std::make_unique<sdl::MeshRenderer>(backEnd.graphics.get());
    sdl::Input* input = backEnd.input.get();
    backEnd.window.listeners.push_back([input](const SDL_Event& e) { input->OnEvent(e); });
    sdl::Graphics* graphics = backEnd.graphics.get();
    backEnd.window.listeners.push_back([graphics](const SDL_Event& e) { graphics->OnEvent(e); });

    Platform& sys = Sys();
    sys.window = &backEnd.window;
    sys.clock = &backEnd.clock;
    sys.messageBox = &backEnd.messageBoxes;
    sys.files = &backEnd.files;
    sys.graphics = backEnd.graphics.get();
    sys.input = backEnd.input.get();
    sys.audio = &backEnd.audio;
    sys.meshes = backEnd.meshes.get();
    sys.meshLoader = &backEnd.meshLoader;
    return video;
}
