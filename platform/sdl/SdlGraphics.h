// OpenGL render device on the SDL window.
#pragma once
#include <SDL.h>

#include "platform/IGraphics.h"

namespace sdl {

class Window;

class Graphics : public IGraphics {
public:
    explicit Graphics(Window* window) : window_(window) {}
    ~Graphics() override;
    bool Reset(const PresentParams& params) override;
    bool HasDevice() const override { return context_ != nullptr; }
    void ReleaseDevice() override;
    CoopLevel TestCooperativeLevel() override;
    bool GetBackBufferSize(int& width, int& height) override;
    bool GetDisplayRefreshRate(int& hertz) override;
    void SetViewport(const Viewport& viewport) override;
    void Clear(std::uint32_t argb, float depth) override;
    bool BeginScene() override;
    void EndScene() override;
    bool Present() override;

private:
    Window* window_;
    SDL_GLContext context_ = nullptr;
    PresentParams params_;
};

}  // namespace sdl
