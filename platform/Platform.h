// Every system service the game uses, reached through Sys(); one back end is installed at a time.
#pragma once
#include "platform/clock/IClock.h"
#include "platform/files/IFileSystem.h"
#include "platform/window/IMessageBox.h"
#include "platform/window/IWindow.h"

class IGraphics;
class IInput;
class IAudio;
class IMeshRenderer;
class IMeshLoader;

struct Platform {
    IWindow* window = nullptr;
    IClock* clock = nullptr;
    IMessageBox* messageBox = nullptr;
    IFileSystem* files = nullptr;
    IGraphics* graphics = nullptr;
    IInput* input = nullptr;
    IAudio* audio = nullptr;
    IMeshRenderer* meshes = nullptr;
    IMeshLoader* meshLoader = nullptr;
};

Platform& Sys();

// Ends the process at once with the code; nothing after it runs.
[[noreturn]] void ExitProcess(int code);

// Real window, OpenGL, SDL input and audio. False when SDL's video cannot start.
bool InstallSdlPlatform();
