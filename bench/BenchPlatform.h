// The back ends the benchmarks run the game on, installed once per process and switched between.
#pragma once
#include <string>

namespace headless {
class HeadlessPlatform;
class Input;
}
class CQovGame;

namespace bench {

// The staged game root in the game's backslash form, as the file layer expects it.
std::string StagePath(const std::string& relative);

// Deterministic back end: no display, no audio device; draws and sounds are recorded.
headless::HeadlessPlatform& UseHeadless();
// The real back end (SDL_VIDEODRIVER=offscreen gives OpenGL on llvmpipe), with the staged root as the
// program's directory and working directory and keys the benchmark sets. False when there is no GL.
bool UseSdl();
// The keys the game reads while the real back end is in use.
headless::Input& SdlKeys();

// The game object with its three lasting tasks, ready to draw as the main loop leaves it.
CQovGame* NewGame();
void DeleteGame(CQovGame* game);

// Waits until the frame just presented is drawn. On a window the present itself waits (the picture has to
// reach the screen); offscreen nothing would, and the driver would draw frames later or never.
void FinishFrame();

// Resident set in kilobytes now, and its high-water mark in this process image, from /proc.
long CurrentRssKb();
long PeakRssKb();

}  // namespace bench
