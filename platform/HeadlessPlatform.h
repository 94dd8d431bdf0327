// Deterministic, display-free back end: the test drives clock, messages, focus, keys and answers.
#pragma once
#include <memory>

#include "platform/Platform.h"
#include "platform/audio/HeadlessAudio.h"
#include "platform/clock/HeadlessClock.h"
#include "platform/files/HeadlessFileSystem.h"
#include "platform/graphics/HeadlessGraphics.h"
#include "platform/input/HeadlessInput.h"
#include "platform/mesh/AssimpMeshLoader.h"
#include "platform/mesh/HeadlessMeshRenderer.h"
#include "platform/window/HeadlessMessageBoxes.h"
#include "platform/window/HeadlessWindow.h"

namespace headless {

// Installs the back end into Sys() and returns it; replaces any earlier install.
class HeadlessPlatform {
public:
    Clock clock;
    MessageBoxes messageBoxes;
    Window window;
    FileSystem files;
    Graphics graphics;
    Input input;
    Audio audio;
    MeshRenderer meshes{&graphics};
    AssimpMeshLoader meshLoader;
};

HeadlessPlatform& Install();

}  // namespace headless
