#include "platform/sdl/SdlGraphics.h"

#include <epoxy/gl.h>

#include "platform/sdl/SdlWindow.h"

namespace sdl {

Graphics::~Graphics()
{
    ReleaseDevice();
}

bool Graphics::Reset(const PresentParams& params)
{
    if (!window_ || !window_->Handle()) return false;
    params_ = params;
    if (!context_) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        context_ = SDL_GL_CreateContext(window_->Handle());
        if (!context_) return false;
    }
    SDL_GL_MakeCurrent(window_->Handle(), context_);
    // Vertical sync may be refused (virtual displays); that is not an error.
    SDL_GL_SetSwapInterval(params.vsync ? 1 : 0);
    return true;
}

void Graphics::ReleaseDevice()
{
    if (context_) SDL_GL_DeleteContext(context_);
    context_ = nullptr;
}

CoopLevel Graphics::TestCooperativeLevel()
{
    return context_ ? CoopLevel::Ok : CoopLevel::DeviceLost;
}

bool Graphics::GetBackBufferSize(int& width, int& height)
{
    if (!context_) return false;
    width = params_.backBufferWidth;
    height = params_.backBufferHeight;
    return true;
}

bool Graphics::GetDisplayRefreshRate(int& hertz)
{
    if (!window_ || !window_->Handle()) return false;
    SDL_DisplayMode mode;
    int display = SDL_GetWindowDisplayIndex(window_->Handle());
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0 || mode.refresh_rate <= 0) return false;
    hertz = mode.refresh_rate;
    return true;
}

void Graphics::SetViewport(const Viewport& v)
{
    const int h = params_.backBufferHeight;
    glViewport(v.x, h - v.y - v.height, v.width, v.height);
    glScissor(v.x, h - v.y - v.height, v.width, v.height);
    glDepthRange(v.minZ, v.maxZ);
}

void Graphics::Clear(std::uint32_t argb, float depth)
{
    glEnable(GL_SCISSOR_TEST);
    glClearColor(((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
                 ((argb >> 24) & 0xFF) / 255.0f);
    glClearDepth(depth);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

bool Graphics::BeginScene()
{
    return context_ != nullptr;
}

void Graphics::EndScene() {}

bool Graphics::Present()
{
    if (!context_) return false;
    SDL_GL_SwapWindow(window_->Handle());
    return true;
}

}  // namespace sdl
