#include "platform/graphics/GlDevice.h"

#include "platform/graphics/DrawableSize.h"
#include "platform/graphics/GlStateCache.h"
#include "platform/window/SdlWindow.h"

namespace sdl {

bool GlDevice::Live() const
{
    return context_ && window_ && window_->Handle();
}

bool GlDevice::Open()
{
    if (context_) return true;
    if (!window_ || !window_->Handle()) return false;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    context_ = SDL_GL_CreateContext(window_->Handle());
    if (!context_) return false;
    SDL_GL_MakeCurrent(window_->Handle(), context_);

    // Whether the window's own framebuffer can be the back buffer: it needs a depth buffer; without alpha it
    // still serves every blend that does not read the destination's alpha.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    GLint depthBits = 0, alphaBits = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &depthBits);
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_BACK_LEFT, GL_FRAMEBUFFER_ATTACHMENT_ALPHA_SIZE,
                                          &alphaBits);
    while (glGetError() != GL_NO_ERROR) {
    }
    windowHasDepth_ = depthBits > 0;
    windowHasAlpha_ = alphaBits >= 8;
    clipControl_ = epoxy_gl_version() >= 45 || epoxy_has_gl_extension("GL_ARB_clip_control");
    return true;
}

bool GlDevice::Reset(const PresentParams& params)
{
    SDL_GL_MakeCurrent(window_->Handle(), context_);
    ChooseSwapInterval(params);
    backWidth_ = params.backBufferWidth;
    backHeight_ = params.backBufferHeight;
    cache_.ForgetState();
    cache_.ForgetTarget();
    bool moved = false;
    return ChooseTarget(moved);
}

void GlDevice::ChooseSwapInterval(const PresentParams& params)
{
    int interval = params.vsync ? 1 : 0;
    // A Wayland compositor never tears: it shows the newest frame at its own refresh. With an interval SDL
    // holds each swap until the compositor's frame callback for the one before, up to a whole refresh, and
    // the frame then waits for the next refresh again. The loop already shows at most one frame a step, so
    // only a compositor slower than the steps keeps the wait, lest frames nobody sees be drawn.
    const char* driver = SDL_GetCurrentVideoDriver();
    int hertz = 0;
    if (interval && driver && SDL_strcmp(driver, "wayland") == 0 && RefreshRate(hertz) &&
        hertz >= params.framesPerSecond)
        interval = 0;
    // Vertical sync may be refused (virtual displays); that is not an error.
    swapMayWait_ = SDL_GL_SetSwapInterval(interval) == 0 && interval != 0 && SDL_GL_GetSwapInterval() != 0;
}

bool GlDevice::MakeCurrent()
{
    return Live() && SDL_GL_MakeCurrent(window_->Handle(), context_) == 0;
}

void GlDevice::Close(bool deleteObjects)
{
    if (deleteObjects) {
        if (fbo_) glDeleteFramebuffers(1, &fbo_);
        if (colour_) glDeleteRenderbuffers(1, &colour_);
        if (depth_) glDeleteRenderbuffers(1, &depth_);
    }
    if (context_) SDL_GL_DeleteContext(context_);
    context_ = nullptr;
    fbo_ = colour_ = depth_ = 0;
    fboWidth_ = fboHeight_ = 0;
    target_ = 0;
}

bool GlDevice::BackBufferSize(int& width, int& height) const
{
    if (!Live()) return false;
    width = backWidth_;
    height = backHeight_;
    return true;
}

bool GlDevice::RefreshRate(int& hertz) const
{
    if (!window_ || !window_->Handle()) return false;
    SDL_DisplayMode mode;
    int display = SDL_GetWindowDisplayIndex(window_->Handle());
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0 || mode.refresh_rate <= 0) return false;
    hertz = mode.refresh_rate;
    return true;
}

void GlDevice::DrawableSize(int& width, int& height) const
{
    width = height = 0;
    if (!Live()) return;
    SDL_GL_GetDrawableSize(window_->Handle(), &width, &height);
    if (width == backWidth_ && height == backHeight_) return;
    // SDL takes a full-screen request as done at once; the window system knows better.
    WindowSystemDrawableSize(window_->Handle(), width, height);
}

bool GlDevice::CreateOffscreen()
{
    const int width = backWidth_, height = backHeight_;
    if (fbo_ && width == fboWidth_ && height == fboHeight_) return true;
    if (fbo_) glDeleteFramebuffers(1, &fbo_);
    if (colour_) glDeleteRenderbuffers(1, &colour_);
    if (depth_) glDeleteRenderbuffers(1, &depth_);
    fbo_ = colour_ = depth_ = 0;
    cache_.ForgetTarget();
    fboWidth_ = width;
    fboHeight_ = height;
    // A zero-size back buffer is allowed: drawing then goes nowhere.
    const int w = width > 0 ? width : 1;
    const int h = height > 0 ? height : 1;
    glGenRenderbuffers(1, &colour_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
    glGenRenderbuffers(1, &depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, w, h);
    glGenFramebuffers(1, &fbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return false;
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClearDepth(1.0);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    cache_.ForgetState();
    return true;
}

bool GlDevice::ChooseTarget(bool& moved)
{
    int dw = 0, dh = 0;
    DrawableSize(dw, dh);
    const bool direct = allowDirect_ && windowHasDepth_ && !needsDestAlpha_ && backWidth_ > 0 && backHeight_ > 0 &&
                        dw == backWidth_ && dh == backHeight_;
    GLuint target = 0;
    if (!direct) {
        if (!CreateOffscreen()) return false;
        target = fbo_;
    }
    if (target != target_) {
        cache_.ForgetTarget();
        moved = true;
    }
    if (dw != drawableWidth_ || dh != drawableHeight_) moved = true;
    drawableWidth_ = dw;
    drawableHeight_ = dh;
    target_ = target;
    return true;
}

void GlDevice::NeedDestAlpha()
{
    if (!windowHasAlpha_) needsDestAlpha_ = true;
}

void GlDevice::ApplyTarget(const Viewport& v)
{
    // The window's framebuffer keeps its top row first; the offscreen buffer is drawn the same way up (and
    // flipped when shown), so that the driver rasterises both alike, to the last rounding.
    const bool topDown = target_ != 0 && clipControl_;
    const int rect[4] = {v.x, topDown ? v.y : backHeight_ - v.y - v.height, v.width > 0 ? v.width : 0,
                         v.height > 0 ? v.height : 0};
    cache_.Target(target_, clipControl_, topDown, rect, v.minZ, v.maxZ);
}

void GlDevice::Present()
{
    if (target_ != 0) {
        int dw = 0, dh = 0;
        DrawableSize(dw, dh);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
        glDisable(GL_SCISSOR_TEST);
        glViewport(0, 0, dw, dh);
        cache_.ForgetTarget();
        if (fboWidth_ > 0 && fboHeight_ > 0 && dw > 0 && dh > 0) {
            // Scaled to fit with the aspect kept, letterboxed; whole-number scales stay unblurred.
            int w = dw, h = static_cast<int>(static_cast<long long>(dw) * fboHeight_ / fboWidth_);
            if (h > dh) {
                h = dh;
                w = static_cast<int>(static_cast<long long>(dh) * fboWidth_ / fboHeight_);
            }
            const int x = (dw - w) / 2, y = (dh - h) / 2;
            // The bars only; the picture covers the rest.
            if (w < dw || h < dh) {
                glClearColor(0, 0, 0, 1);
                glClear(GL_COLOR_BUFFER_BIT);
            }
            const bool whole = w % fboWidth_ == 0 && h % fboHeight_ == 0;
            // Drawn top row first, the offscreen picture is turned the right way up here.
            const int top = clipControl_ ? y + h : y, bottom = clipControl_ ? y : y + h;
            glBlitFramebuffer(0, 0, fboWidth_, fboHeight_, x, top, x + w, bottom, GL_COLOR_BUFFER_BIT,
                              whole ? GL_NEAREST : GL_LINEAR);
        } else {
            glClearColor(0, 0, 0, 1);
            glClear(GL_COLOR_BUFFER_BIT);
        }
    }
    // A window's swap hands the frame to the rasteriser; an offscreen surface's swap does nothing, and
    // without this the driver would keep piling frames up undrawn.
    if (waitForDrawing_) {
        glFinish();
    } else {
        glFlush();
    }
    lastSwap_.drawn = static_cast<std::int64_t>(SDL_GetPerformanceCounter());
    SDL_GL_SwapWindow(window_->Handle());
    lastSwap_.returned = static_cast<std::int64_t>(SDL_GetPerformanceCounter());
    ++swaps_;
}

void GlDevice::ReadPixels(std::vector<std::uint32_t>& argb) const
{
    const int width = backWidth_, height = backHeight_;
    std::vector<std::uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, target_);
    if (target_ == 0) glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    const bool opaque = target_ == 0 && !windowHasAlpha_;
    const bool topDown = target_ != 0 && clipControl_;
    argb.resize(static_cast<size_t>(width) * height);
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* src = &rgba[static_cast<size_t>(topDown ? row : height - 1 - row) * width * 4];
        for (int col = 0; col < width; ++col) {
            const std::uint8_t* p = src + col * 4;
            const std::uint32_t alpha = opaque ? 0xFFu : p[3];
            argb[static_cast<size_t>(row) * width + col] =
                (alpha << 24) | (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
        }
    }
}

}  // namespace sdl
