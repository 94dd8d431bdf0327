// OpenGL render device on the SDL window: an 800 × 600 back buffer, quads batched. The back buffer is the
// window's own framebuffer when the window is exactly its size, else a framebuffer object scaled onto it.
// A frame whose commands repeat the last shown frame's exactly is not drawn again: its commands are held
// back until they stop matching or the frame is presented, and then either sent or dropped along with the
// swap, the window keeping the same picture.
#pragma once
#include <SDL.h>
#include <epoxy/gl.h>

#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/graphics/FrameRecord.h"
#include "platform/graphics/IGraphics.h"

namespace sdl {

class Window;

class Graphics : public IGraphics {
public:
    explicit Graphics(Window* window);
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
    std::uint64_t ShownFrameCount() const override { return shownFrames_; }

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
    // Draws the batch and forgets what GL state it set: the caller is about to set its own.
    void Flush() override;
    std::uint64_t DrawCallCount() const override { return drawCalls_; }

    std::unique_ptr<ITextFont> CreateTextFont(const std::string& faceName, int height, bool italic) override;
    // Alpha reads 255 where the window's framebuffer has no alpha channel.
    bool ReadBackBuffer(std::vector<std::uint32_t>& argb, int& width, int& height) override;

    // Waits until everything drawn so far is in the back buffer (a window's present does; offscreen
    // nothing does, so a benchmark there waits itself).
    void Finish();
    // Whether frames go straight into the window's framebuffer (false: through the offscreen buffer).
    bool DrawsDirect() const { return Live() && target_ == 0; }
    // Off keeps every frame in the offscreen buffer, as scaled output does; takes effect at once.
    void AllowDirect(bool allow);
    // The window's drawable as the window system has it, which without a window manager can differ from
    // what SDL believes after a full-screen request.
    void DrawableSize(int& width, int& height) const;
    // The window's picture may be gone (exposed, resized, shown, a message box over it): the next frame is
    // drawn even if it repeats the last one.
    void Invalidate() { mustDraw_ = true; }
    // Off draws every frame, as a benchmark needs; takes effect from the next frame.
    void AllowSkip(bool allow) { allowSkip_ = allow; }
    // Frames presented without drawing, because they repeated the picture on show.
    std::uint64_t SkippedFrames() const { return skippedFrames_; }

    static constexpr int kMaxBatchQuads = 4096;
    // Quads the streaming vertex buffer holds before it is started afresh (the index range of 16 bits).
    static constexpr int kRingQuads = 16384;

private:
    using Op = FrameRecord::Op;
    using Command = FrameRecord::Command;
    // Records the command; true when it is held back (or was just sent with the frame so far).
    bool Hold(const Command& c, const RenderState* state, const QuadVertex* quad);
    void BeginFrame();
    // Sends what was held back and draws the rest of the frame as it comes.
    void GoLive();
    // The frame draws with something no record holds (meshes, textures changed partway): it is not
    // compared, and the next one is drawn.
    void StopRecording();
    void TexturesChange();
    static int WatchEvents(void* self, SDL_Event* e);
    void DoSetViewport(const Viewport& v);
    void DoClear(std::uint32_t argb, float depth);
    void DoSetRenderState(const RenderState& state);
    void DoSetTextureStage(const TextureStage& stage);
    void DoSetTexture(std::uint32_t handle);
    void DoDrawQuad(const QuadVertex vertices[4]);

    bool CreateResources();
    void DestroyResources();
    bool CreateOffscreen();
    bool ChooseTarget();
    void DrawBatch();
    void ForgetGlState();
    struct Program {
        int key = -1;
        GLuint program = 0;
        GLint viewport = -1, alphaRef = -1, texture = -1;
        float viewportSet[4] = {-1, -1, -1, -1};
        float alphaRefSet = -1;
    };
    static constexpr size_t kMaxPrograms = 16;
    // The program for the state's texture stage and alpha test, built the first time it is needed.
    Program* ProgramFor(const RenderState& state, bool constantTexels);
    bool ApplyState();
    void ApplyTarget();
    void BindTexture(GLuint texture);

    Window* window_;
    SDL_GLContext context_ = nullptr;
    PresentParams params_;
    std::uint64_t shownFrames_ = 0;
    Viewport viewport_;
    RenderState state_;
    std::uint32_t texture_ = 0;
    std::uint64_t drawCalls_ = 0;

    GLuint vertexShader_ = 0, vao_ = 0, vbo_ = 0, ibo_ = 0, white_ = 0;
    GLuint fbo_ = 0, colour_ = 0, depth_ = 0;
    int backWidth_ = 0, backHeight_ = 0;
    int fboWidth_ = 0, fboHeight_ = 0;
    GLuint target_ = 0;           // framebuffer drawn into: 0 the window's, else fbo_
    bool allowDirect_ = true;
    bool windowHasDepth_ = false;  // the window's framebuffer can stand in for the back buffer
    bool windowHasAlpha_ = false;
    bool clipControl_ = false;     // the offscreen buffer can be drawn top row first
    bool needsDestAlpha_ = false;  // a blend read destination alpha, which only the offscreen buffer keeps
    int ringQuad_ = 0;             // next free quad in the vertex buffer
    // A batched vertex: w of the position is 1 for a quad of a one-texel texture, whose texel (RGBA bytes)
    // comes along instead of being sampled.
    struct GpuVertex {
        float x, y, z, w;
        std::uint32_t diffuse;
        float u, v;
        std::uint32_t texel;
    };
    void NoteTexture();

    std::vector<Program> programs_;
    std::vector<GpuVertex> batch_;
    GLuint batchTexture_ = 0;                      // the texture the batch samples, 0 while none does
    bool batchOpaque_ = true;                      // every quad of the batch is opaque
    bool batchConstant_ = false;                   // some quad of the batch brings its texel
    std::unordered_set<GLuint> opaque_;            // textures whose every texel is opaque
    std::unordered_map<GLuint, std::uint32_t> single_;  // one-texel textures and their texel
    bool textureSingle_ = false, textureOpaque_ = false;  // of the current texture
    std::uint32_t textureTexel_ = 0;

    FrameRecord frame_, shown_;   // this frame so far; the frame on show
    bool shownValid_ = false;     // shown_ holds what the window shows
    bool recording_ = false;      // this frame's commands go into frame_
    bool deferring_ = false;      // frame_ is held back: it matches shown_ so far
    bool mustDraw_ = true;
    bool allowSkip_ = true;
    bool watching_ = false;
    int skippedInRow_ = 0;
    std::uint64_t skippedFrames_ = 0;
    int drawableWidth_ = 0, drawableHeight_ = 0;  // of the window when last presented

    // What GL was last told, so that unchanged state is not sent again; cleared when others draw.
    struct Applied {
        bool targetKnown = false;  // framebuffer, viewport, scissor, depth range
        bool stateKnown = false;   // the rest
        GLuint framebuffer = 0;
        int viewport[4] = {};
        float depthRange[2] = {};
        GLuint program = 0, texture = 0;
        bool blend = false, depthTest = false, cull = false;
        GLenum srcBlend = 0, destBlend = 0, depthFunc = 0, cullFace = 0;
        GLboolean depthMask = GL_TRUE;
    } applied_;
};

}  // namespace sdl
