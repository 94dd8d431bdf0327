// OpenGL render device on the SDL window, an 800 × 600 back buffer. A frame's commands are recorded and, when
// it is presented, drawn and swapped, unless they repeat the frame on show exactly: then the window keeps the
// picture it has, with neither drawing nor swap.
#pragma once
#include <SDL.h>

#include "platform/graphics/FrameRecorder.h"
#include "platform/graphics/GlDevice.h"
#include "platform/graphics/GlStateCache.h"
#include "platform/graphics/IGraphics.h"
#include "platform/graphics/QuadBatcher.h"
#include "platform/graphics/QuadDrawer.h"
#include "platform/graphics/QuadPrograms.h"
#include "platform/graphics/TextureRegistry.h"

namespace sdl {

class Window;

class Graphics : public IGraphics {
public:
    explicit Graphics(Window* window);
    ~Graphics() override;
    bool Reset(const PresentParams& params) override;
    bool HasDevice() const override { return device_.HasContext(); }
    // GL may be called: a context on a window that still exists.
    bool Live() const { return device_.Live(); }
    void ReleaseDevice() override;
    CoopLevel TestCooperativeLevel() override;
    bool GetBackBufferSize(int& width, int& height) override { return device_.BackBufferSize(width, height); }
    bool GetDisplayRefreshRate(int& hertz) override { return device_.RefreshRate(hertz); }
    void SetViewport(const Viewport& viewport) override;
    Viewport GetViewport() const override { return viewport_; }
    void Clear(std::uint32_t argb, float depth) override;
    bool BeginScene() override { return Live(); }
    void EndScene() override;
    bool Present() override;
    std::uint64_t ShownFrameCount() const override { return device_.Swaps(); }
    bool SwapMayWait() const override { return device_.SwapMayWait(); }
    void WaitForDrawing(bool on) override { device_.WaitForDrawing(on); }
    bool LastSwap(SwapTimes& times) const override;

    const RenderState& GetRenderState() const override { return state_; }
    void SetRenderState(const RenderState& state) override;
    void SetTextureStage(const TextureStage& stage) override;

    TextureInfo CreateTextureFromFile(const std::string& gamePath) override;
    std::uint32_t CreateTexture(int width, int height, const std::uint8_t* rgba) override;
    void UpdateTexture(std::uint32_t handle, int x, int y, int width, int height,
                       const std::uint8_t* rgba) override;
    void DestroyTexture(std::uint32_t handle) override;
    void SetTexture(std::uint32_t handle) override;
    std::uint32_t GetTexture() const override { return texture_; }

    void DrawQuad(const QuadVertex vertices[4]) override;
    // Draws the frame so far and forgets what GL state it set: the caller is about to set its own.
    void Flush() override;
    std::uint64_t DrawCallCount() const override { return batcher_.DrawCalls(); }

    std::unique_ptr<ITextFont> CreateTextFont(const std::string& faceName, int height, bool italic) override;
    // Alpha reads 255 where the window's framebuffer has no alpha channel.
    bool ReadBackBuffer(std::vector<std::uint32_t>& argb, int& width, int& height) override;

    // Waits until everything drawn so far is in the back buffer (a window's present does; offscreen
    // nothing does, so a benchmark there waits itself).
    void Finish();
    // Whether frames go straight into the window's framebuffer (false: through the offscreen buffer).
    bool DrawsDirect() const { return device_.DrawsDirect(); }
    // Off keeps every frame in the offscreen buffer, as scaled output does; takes effect at once.
    void AllowDirect(bool allow);
    // Off draws every frame, as a benchmark needs.
    void AllowSkip(bool allow) { recorder_.AllowSkip(allow); }
    // Frames presented without drawing, because they repeated the picture on show.
    std::uint64_t SkippedFrames() const { return recorder_.SkippedFrames(); }
    // Every SDL event the window sees: those that may take the window's picture away make the next frame draw.
    void OnEvent(const SDL_Event& e);

private:
    // True when the command went into the record.
    bool Recorded(const FrameRecord::Command& c, const RenderState* state = nullptr, const QuadVertex* quad = nullptr);
    // Something no record holds comes next: the frame so far is drawn now, the rest goes straight through.
    void DrawRecordNow();
    void TexturesChanging();
    void TexturesChanged(std::uint32_t destroyed = 0);
    // The target follows the window; a change there makes the next frame draw.
    void FollowWindow();

    Window* window_;
    GlStateCache cache_;
    GlDevice device_;
    TextureRegistry textures_;
    QuadPrograms programs_;
    QuadBatcher batcher_;
    QuadDrawer drawer_;
    FrameRecorder recorder_;
    // As the game set them; the drawer catches up when a frame is drawn.
    Viewport viewport_;
    RenderState state_;
    std::uint32_t texture_ = 0;
    bool swapped_ = false;  // by the last present
};

}  // namespace sdl
