// OpenGL render device on the SDL window: an 800 × 600 back buffer in a framebuffer object, quads batched.
#pragma once
#include <SDL.h>
#include <epoxy/gl.h>

#include <vector>

#include "platform/IGraphics.h"

namespace sdl {

class Window;

class Graphics : public IGraphics {
public:
    explicit Graphics(Window* window) : window_(window) {}
    ~Graphics() override;
    bool Reset(const PresentParams& params) override;
    bool HasDevice() const override { return context_ != nullptr; }
    // GL may be called: a context on a window that still exists.
    bool Live() const;
    void ReleaseDevice() override;
    CoopLevel TestCooperativeLevel() override;
    bool GetBackBufferSize(int& width, int& height) override;
    bool GetDisplayRefreshRate(int& hertz) override;
    void SetViewport(const Viewport& viewport) override;
    Viewport GetViewport() const override { return viewport_; }
    void Clear(std::uint32_t argb, float depth) override;
    bool BeginScene() override;
    void EndScene() override;
    bool Present() override;

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
    void Flush() override;
    std::uint64_t DrawCallCount() const override { return drawCalls_; }

    std::unique_ptr<ITextFont> CreateTextFont(const std::string& faceName, int height, bool italic) override;
    bool ReadBackBuffer(std::vector<std::uint32_t>& argb, int& width, int& height) override;

    static constexpr int kMaxBatchQuads = 4096;

private:
    bool CreateResources();
    void DestroyResources();
    bool CreateBackBuffer(int width, int height);
    struct Program {
        int key = -1;
        GLuint program = 0;
        GLint viewport = -1, alphaRef = -1, texture = -1;
    };
    static constexpr size_t kMaxPrograms = 16;
    // The program for the state's texture stage and alpha test, built the first time it is needed.
    const Program* ProgramFor(const RenderState& state);
    bool ApplyState();
    void ApplyViewport();

    Window* window_;
    SDL_GLContext context_ = nullptr;
    PresentParams params_;
    Viewport viewport_;
    RenderState state_;
    std::uint32_t texture_ = 0;
    std::uint64_t drawCalls_ = 0;

    GLuint vertexShader_ = 0, vao_ = 0, vbo_ = 0, ibo_ = 0, white_ = 0;
    GLuint fbo_ = 0, colour_ = 0, depth_ = 0;
    int fboWidth_ = 0, fboHeight_ = 0;
    std::vector<Program> programs_;
    std::vector<QuadVertex> batch_;
};

}  // namespace sdl
