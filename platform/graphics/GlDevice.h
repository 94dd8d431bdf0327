// The GL context on the game window and where frames go: the window's own framebuffer when the window is
// exactly the back buffer's size, else an offscreen framebuffer scaled onto the window when presented.
#pragma once
#include <epoxy/gl.h>

#include <cstdint>
#include <vector>

#include <SDL.h>

#include "platform/graphics/IGraphics.h"

namespace sdl {

class GlStateCache;
class Window;

class GlDevice {
public:
    GlDevice(Window* window, GlStateCache& cache) : window_(window), cache_(cache) {}
    bool HasContext() const { return context_ != nullptr; }
    // GL may be called: a context on a window that still exists.
    bool Live() const;
    // Makes the context the first time and learns what the window's framebuffer has; false when none can be had.
    bool Open();
    // Takes the parameters (back-buffer size, vertical sync) and chooses the target; false when it cannot be had.
    bool Reset(const PresentParams& params);
    // Makes the context current for deleting what lives in it; false once the window is gone (its objects went
    // with it).
    bool MakeCurrent();
    // The offscreen buffer (deleted if asked) and the context.
    void Close(bool deleteObjects);

    bool BackBufferSize(int& width, int& height) const;
    bool RefreshRate(int& hertz) const;
    // The window's drawable as the window system has it, which without a window manager can differ from what
    // SDL believes after a full-screen request.
    void DrawableSize(int& width, int& height) const;
    // Picks the window's framebuffer or the offscreen buffer for what is drawn next; false when the offscreen
    // buffer cannot be made. moved tells that the target or the window's size changed: the picture may be gone.
    bool ChooseTarget(bool& moved);
    bool DrawsDirect() const { return Live() && target_ == 0; }
    bool DirectAllowed() const { return allowDirect_; }
    void AllowDirect(bool allow) { allowDirect_ = allow; }
    // A blend reads the destination's alpha, which only the offscreen buffer keeps (from the next target choice).
    void NeedDestAlpha();
    // Binds the target with the viewport and its scissor.
    void ApplyTarget(const Viewport& viewport);
    // Shows the back buffer: the offscreen one scaled onto the window, then the swap.
    void Present();
    std::uint64_t Swaps() const { return swaps_; }
    bool SwapMayWait() const { return swapMayWait_; }
    void WaitForDrawing(bool on) { waitForDrawing_ = on; }
    const SwapTimes& LastSwap() const { return lastSwap_; }
    // The target's pixels as ARGB, rows from the top; alpha 255 where the window's framebuffer has none.
    void ReadPixels(std::vector<std::uint32_t>& argb) const;

private:
    bool CreateOffscreen();
    // The swap interval for the parameters on this window system; sets swapMayWait_.
    void ChooseSwapInterval(const PresentParams& params);

    Window* window_;
    GlStateCache& cache_;
    SDL_GLContext context_ = nullptr;
    int backWidth_ = 0, backHeight_ = 0;
    GLuint fbo_ = 0, colour_ = 0, depth_ = 0;
    int fboWidth_ = 0, fboHeight_ = 0;
    GLuint target_ = 0;            // framebuffer drawn into: 0 the window's, else fbo_
    bool allowDirect_ = true;
    bool windowHasDepth_ = false;  // the window's framebuffer can stand in for the back buffer
    bool windowHasAlpha_ = false;
    bool clipControl_ = false;     // the offscreen buffer can be drawn top row first
    bool needsDestAlpha_ = false;
    int drawableWidth_ = 0, drawableHeight_ = 0;  // of the window at the last target choice
    std::uint64_t swaps_ = 0;
    bool swapMayWait_ = false;
    bool waitForDrawing_ = false;
    SwapTimes lastSwap_;
};

}  // namespace sdl
