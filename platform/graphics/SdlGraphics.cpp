#include "platform/graphics/SdlGraphics.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "platform/graphics/DrawableSize.h"
#include "platform/graphics/ImageFile.h"
#include "platform/graphics/QuadShaders.h"
#include "platform/text/SdlTextFont.h"
#include "platform/window/SdlWindow.h"

namespace sdl {

namespace {
// A picture that should still be on show is drawn again now and then all the same, in case some window
// system lost it without saying so.
constexpr int kMaxSkippedInRow = 60;
}  // namespace

bool Graphics::Live() const
{
    return context_ && window_ && window_->Handle();
}

Graphics::Graphics(Window* window) : window_(window) {}

Graphics::~Graphics()
{
    ReleaseDevice();
}

bool Graphics::Reset(const PresentParams& params)
{
    if (!window_ || !window_->Handle()) return false;
    if (params.backBufferWidth < 0 || params.backBufferHeight < 0) return false;
    if (Live()) {
        StopRecording();
        DrawBatch();
    }
    mustDraw_ = true;
    shownValid_ = false;
    params_ = params;
    if (!context_) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        context_ = SDL_GL_CreateContext(window_->Handle());
        if (!context_) return false;
        SDL_GL_MakeCurrent(window_->Handle(), context_);
        if (!CreateResources()) {
            ReleaseDevice();
            return false;
        }
        if (!watching_) SDL_AddEventWatch(&Graphics::WatchEvents, this);
        watching_ = true;
    }
    SDL_GL_MakeCurrent(window_->Handle(), context_);
    // Vertical sync may be refused (virtual displays); that is not an error.
    SDL_GL_SetSwapInterval(params.vsync ? 1 : 0);
    backWidth_ = params.backBufferWidth;
    backHeight_ = params.backBufferHeight;
    ForgetGlState();
    applied_.targetKnown = false;
    if (!ChooseTarget()) return false;
    viewport_ = Viewport();
    viewport_.width = backWidth_;
    viewport_.height = backHeight_;
    return true;
}

bool Graphics::CreateResources()
{
    vertexShader_ = Compile(GL_VERTEX_SHADER, kQuadVertexShader);
    if (!vertexShader_) return false;
    programs_.reserve(kMaxPrograms);
    RenderState defaults;
    if (!ProgramFor(defaults, false)) return false;

    glGenVertexArrays(1, &vao_);
    glBindVertexArray(vao_);
    glGenBuffers(1, &vbo_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    glBufferData(GL_ARRAY_BUFFER, sizeof(GpuVertex) * 4 * kRingQuads, nullptr, GL_STREAM_DRAW);
    ringQuad_ = 0;
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, sizeof(GpuVertex),
                          reinterpret_cast<const void*>(offsetof(GpuVertex, x)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(GpuVertex),
                          reinterpret_cast<const void*>(offsetof(GpuVertex, diffuse)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(GpuVertex),
                          reinterpret_cast<const void*>(offsetof(GpuVertex, u)));
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(GpuVertex),
                          reinterpret_cast<const void*>(offsetof(GpuVertex, texel)));

    // Two triangles a quad with the winding of a Direct3D strip: (0, 1, 2) and (1, 3, 2). Quad q of the
    // index buffer names vertices 4q … 4q + 3, so a batch written at quad q of the ring draws from index 6q.
    std::vector<GLushort> indices(static_cast<size_t>(kRingQuads) * 6);
    for (int q = 0; q < kRingQuads; ++q) {
        const GLushort b = static_cast<GLushort>(q * 4);
        GLushort* i = &indices[static_cast<size_t>(q) * 6];
        i[0] = b;
        i[1] = static_cast<GLushort>(b + 1);
        i[2] = static_cast<GLushort>(b + 2);
        i[3] = static_cast<GLushort>(b + 1);
        i[4] = static_cast<GLushort>(b + 3);
        i[5] = static_cast<GLushort>(b + 2);
    }
    glGenBuffers(1, &ibo_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(GLushort)),
                 indices.data(), GL_STATIC_DRAW);

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

    const std::uint8_t white[4] = {255, 255, 255, 255};
    white_ = CreateTexture(1, 1, white);
    NoteTexture();
    batch_.reserve(static_cast<size_t>(kMaxBatchQuads) * 4);
    frame_.Reserve(kMaxBatchQuads);
    shown_.Reserve(kMaxBatchQuads);
    return white_ != 0;
}

bool Graphics::CreateOffscreen()
{
    const int width = backWidth_, height = backHeight_;
    if (fbo_ && width == fboWidth_ && height == fboHeight_) return true;
    if (fbo_) glDeleteFramebuffers(1, &fbo_);
    if (colour_) glDeleteRenderbuffers(1, &colour_);
    if (depth_) glDeleteRenderbuffers(1, &depth_);
    fbo_ = colour_ = depth_ = 0;
    applied_.targetKnown = false;
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
    applied_.stateKnown = false;
    return true;
}

bool Graphics::ChooseTarget()
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
        applied_.targetKnown = false;
        mustDraw_ = true;
    }
    if (dw != drawableWidth_ || dh != drawableHeight_) mustDraw_ = true;
    drawableWidth_ = dw;
    drawableHeight_ = dh;
    target_ = target;
    return true;
}

void Graphics::AllowDirect(bool allow)
{
    if (allow == allowDirect_) return;
    allowDirect_ = allow;
    if (!Live()) return;
    // The frame may now end in another buffer than it began.
    StopRecording();
    DrawBatch();
    ChooseTarget();
}

void Graphics::DrawableSize(int& width, int& height) const
{
    width = height = 0;
    if (!Live()) return;
    SDL_GL_GetDrawableSize(window_->Handle(), &width, &height);
    if (width == backWidth_ && height == backHeight_) return;
    // SDL takes a full-screen request as done at once; the window system knows better.
    WindowSystemDrawableSize(window_->Handle(), width, height);
}

void Graphics::DestroyResources()
{
    for (const Program& p : programs_) glDeleteProgram(p.program);
    programs_.clear();
    if (vertexShader_) glDeleteShader(vertexShader_);
    vertexShader_ = 0;
    if (vbo_) glDeleteBuffers(1, &vbo_);
    if (ibo_) glDeleteBuffers(1, &ibo_);
    if (vao_) glDeleteVertexArrays(1, &vao_);
    if (white_) glDeleteTextures(1, &white_);
    if (fbo_) glDeleteFramebuffers(1, &fbo_);
    if (colour_) glDeleteRenderbuffers(1, &colour_);
    if (depth_) glDeleteRenderbuffers(1, &depth_);
    vao_ = vbo_ = ibo_ = white_ = fbo_ = colour_ = depth_ = 0;
    fboWidth_ = fboHeight_ = 0;
}

void Graphics::ReleaseDevice()
{
    if (watching_) SDL_DelEventWatch(&Graphics::WatchEvents, this);
    watching_ = false;
    recording_ = deferring_ = shownValid_ = false;
    mustDraw_ = true;
    frame_.Begin(Viewport(), RenderState(), 0);
    shown_.Begin(Viewport(), RenderState(), 0);
    if (context_) {
        // Once the window is gone the context cannot be made current; its objects go with it.
        if (Live() && SDL_GL_MakeCurrent(window_->Handle(), context_) == 0) DestroyResources();
        SDL_GL_DeleteContext(context_);
    }
    programs_.clear();
    vertexShader_ = 0;
    vao_ = vbo_ = ibo_ = white_ = fbo_ = colour_ = depth_ = 0;
    fboWidth_ = fboHeight_ = 0;
    target_ = 0;
    context_ = nullptr;
    batch_.clear();
    batchTexture_ = 0;
    opaque_.clear();
    single_.clear();
    applied_ = Applied();
}

CoopLevel Graphics::TestCooperativeLevel()
{
    return Live() ? CoopLevel::Ok : CoopLevel::DeviceLost;
}

bool Graphics::GetBackBufferSize(int& width, int& height)
{
    if (!Live()) return false;
    width = backWidth_;
    height = backHeight_;
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
    if (FrameRecord::SameViewport(v, viewport_)) return;
    Command c;
    c.op = Op::Viewport;
    c.viewport = v;
    if (Hold(c, nullptr, nullptr)) {
        if (deferring_) viewport_ = v;
        return;
    }
    DoSetViewport(v);
}

void Graphics::DoSetViewport(const Viewport& v)
{
    if (FrameRecord::SameViewport(v, viewport_)) return;
    DrawBatch();
    viewport_ = v;
}

bool Graphics::Hold(const Command& c, const RenderState* state, const QuadVertex* quad)
{
    if (!recording_) return false;
    if (frame_.Full()) {
        StopRecording();
        return false;
    }
    frame_.Add(c, state, quad);
    if (!deferring_) return false;
    // The first command that differs sends the frame on its way, the rest following as they come.
    if (!shownValid_ || !frame_.SameAt(frame_.commands.size() - 1, shown_)) GoLive();
    return true;
}

void Graphics::BeginFrame()
{
    recording_ = true;
    // Quads drawn before the first change of some state draw with the state the frame began with.
    deferring_ = allowSkip_ && shownValid_ && !mustDraw_ && shown_.BeganWith(viewport_, state_, texture_);
    frame_.Begin(viewport_, state_, texture_);
}

void Graphics::GoLive()
{
    if (!deferring_) return;
    deferring_ = false;
    if (frame_.commands.empty()) return;
    // Replayed from where the frame began, each command does to GL what it would have done at once.
    viewport_ = frame_.startViewport;
    state_ = frame_.startState;
    texture_ = frame_.startTexture;
    NoteTexture();
    for (const Command& c : frame_.commands) {
        switch (c.op) {
        case Op::Viewport:
            DoSetViewport(c.viewport);
            break;
        case Op::Clear:
            DoClear(c.arg, c.depth);
            break;
        case Op::State:
            DoSetRenderState(frame_.states[c.arg]);
            break;
        case Op::Stage:
            DoSetTextureStage(c.stage);
            break;
        case Op::Texture:
            DoSetTexture(c.arg);
            break;
        case Op::Quad:
            DoDrawQuad(&frame_.vertices[c.arg]);
            break;
        case Op::EndScene:
            DrawBatch();
            break;
        }
    }
}

void Graphics::StopRecording()
{
    GoLive();
    recording_ = false;
}

void Graphics::TexturesChange()
{
    // Quads held back must see the texels they were given with; a frame that sees both old and new ones
    // cannot stand for the next.
    if (!frame_.commands.empty()) StopRecording();
    else GoLive();
    mustDraw_ = true;
}

int Graphics::WatchEvents(void* self, SDL_Event* e)
{
    // Watched rather than polled: a message box's own loop takes the events of the window under it.
    auto* g = static_cast<Graphics*>(self);
    if (e->type != SDL_WINDOWEVENT || !g->window_ || !g->window_->Handle() ||
        e->window.windowID != SDL_GetWindowID(g->window_->Handle()))
        return 0;
    switch (e->window.event) {
    case SDL_WINDOWEVENT_MOVED:
    case SDL_WINDOWEVENT_ENTER:
    case SDL_WINDOWEVENT_LEAVE:
    case SDL_WINDOWEVENT_FOCUS_LOST:
        break;
    default:
        g->mustDraw_ = true;
        break;
    }
    return 0;
}

void Graphics::ApplyTarget()
{
    Applied& a = applied_;
    // The window's framebuffer keeps its top row first; the offscreen buffer is drawn the same way up (and
    // flipped when shown), so that the driver rasterises both alike, to the last rounding.
    const bool topDown = target_ != 0 && clipControl_;
    const int x = viewport_.x;
    const int y = topDown ? viewport_.y : backHeight_ - viewport_.y - viewport_.height;
    const int w = viewport_.width > 0 ? viewport_.width : 0;
    const int h = viewport_.height > 0 ? viewport_.height : 0;
    if (!a.targetKnown || a.framebuffer != target_) {
        glBindFramebuffer(GL_FRAMEBUFFER, target_);
        if (clipControl_) glClipControl(topDown ? GL_UPPER_LEFT : GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    }
    if (!a.targetKnown || a.viewport[0] != x || a.viewport[1] != y || a.viewport[2] != w || a.viewport[3] != h) {
        glViewport(x, y, w, h);
        glScissor(x, y, w, h);
    }
    if (!a.targetKnown || a.depthRange[0] != viewport_.minZ || a.depthRange[1] != viewport_.maxZ)
        glDepthRange(viewport_.minZ, viewport_.maxZ);
    if (!a.targetKnown) glEnable(GL_SCISSOR_TEST);
    a.framebuffer = target_;
    a.viewport[0] = x;
    a.viewport[1] = y;
    a.viewport[2] = w;
    a.viewport[3] = h;
    a.depthRange[0] = viewport_.minZ;
    a.depthRange[1] = viewport_.maxZ;
    a.targetKnown = true;
}

void Graphics::ForgetGlState()
{
    applied_.stateKnown = false;
}

void Graphics::BindTexture(GLuint texture)
{
    if (applied_.stateKnown && applied_.texture == texture) return;
    glBindTexture(GL_TEXTURE_2D, texture);
    applied_.texture = texture;
}

void Graphics::Clear(std::uint32_t argb, float depth)
{
    if (!Live()) return;
    Command c;
    c.op = Op::Clear;
    c.arg = argb;
    c.depth = depth;
    if (Hold(c, nullptr, nullptr)) return;
    DoClear(argb, depth);
}

void Graphics::DoClear(std::uint32_t argb, float depth)
{
    DrawBatch();
    ApplyTarget();
    glClearColor(((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
                 ((argb >> 24) & 0xFF) / 255.0f);
    glClearDepth(depth);
    if (!applied_.stateKnown || applied_.depthMask != GL_TRUE) glDepthMask(GL_TRUE);
    applied_.depthMask = GL_TRUE;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

bool Graphics::BeginScene()
{
    return Live();
}

void Graphics::EndScene()
{
    if (!Live()) return;
    Command c;
    c.op = Op::EndScene;
    if (Hold(c, nullptr, nullptr)) return;
    DrawBatch();
}

bool Graphics::Present()
{
    if (!Live()) return false;
    if (deferring_ && !mustDraw_ && frame_.commands.size() == shown_.commands.size() &&
        skippedInRow_ < kMaxSkippedInRow) {
        // The same picture again: no drawing and no swap. The state is where the frame left it.
        deferring_ = false;
        NoteTexture();
        ++skippedFrames_;
        ++skippedInRow_;
        ChooseTarget();
        BeginFrame();
        return true;
    }
    GoLive();
    DrawBatch();
    if (target_ != 0) {
        int dw = 0, dh = 0;
        DrawableSize(dw, dh);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
        glDisable(GL_SCISSOR_TEST);
        glViewport(0, 0, dw, dh);
        applied_.targetKnown = false;
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
    glFlush();
    SDL_GL_SwapWindow(window_->Handle());
    ++shownFrames_;
    if (recording_) std::swap(shown_, frame_);
    shownValid_ = recording_;
    mustDraw_ = false;
    skippedInRow_ = 0;
    // The window may have grown or shrunk since (a window manager acts late): the next frame follows it.
    ChooseTarget();
    BeginFrame();
    return true;
}

void Graphics::Finish()
{
    if (!Live()) return;
    GoLive();
    DrawBatch();
    glFinish();
}

void Graphics::SetRenderState(const RenderState& state)
{
    if (state == state_) return;
    Command c;
    c.op = Op::State;
    if (Hold(c, &state, nullptr)) {
        if (deferring_) state_ = state;
        return;
    }
    DoSetRenderState(state);
}

void Graphics::DoSetRenderState(const RenderState& state)
{
    if (state == state_) return;
    DrawBatch();
    state_ = state;
    // The window's framebuffer keeps no alpha to blend with: such blending needs the offscreen buffer,
    // from the next frame on.
    const auto readsDestAlpha = [](BlendFactor f) {
        return f == BlendFactor::DestAlpha || f == BlendFactor::InvDestAlpha;
    };
    if (!windowHasAlpha_ && state.alphaBlendEnable && (readsDestAlpha(state.srcBlend) || readsDestAlpha(state.destBlend)))
        needsDestAlpha_ = true;
}

void Graphics::SetTextureStage(const TextureStage& stage)
{
    if (stage == state_.stage0) return;
    Command c;
    c.op = Op::Stage;
    c.stage = stage;
    if (Hold(c, nullptr, nullptr)) {
        if (deferring_) state_.stage0 = stage;
        return;
    }
    DoSetTextureStage(stage);
}

void Graphics::DoSetTextureStage(const TextureStage& stage)
{
    if (stage == state_.stage0) return;
    DrawBatch();
    state_.stage0 = stage;
}

TextureInfo Graphics::CreateTextureFromFile(const std::string& gamePath)
{
    TextureInfo info;
    if (!Live()) return info;
    ImageRGBA image;
    if (!LoadImageRGBA(gamePath, image)) return info;
    info.handle = CreateTexture(image.width, image.height, image.pixels.data());
    if (!info.handle) return info;
    info.width = image.width;
    info.height = image.height;
    info.surfaceWidth = NextPowerOfTwo(static_cast<std::uint32_t>(image.width));
    info.surfaceHeight = NextPowerOfTwo(static_cast<std::uint32_t>(image.height));
    return info;
}

std::uint32_t Graphics::CreateTexture(int width, int height, const std::uint8_t* rgba)
{
    if (!Live() || width <= 0 || height <= 0) return 0;
    TexturesChange();
    GLuint t = 0;
    glGenTextures(1, &t);
    glBindTexture(GL_TEXTURE_2D, t);
    applied_.texture = t;
    // Direct3D's sampler defaults: point filtering, no mips, wrap addressing.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    if (rgba && AllOpaque(rgba, static_cast<size_t>(width) * height)) opaque_.insert(t);
    else opaque_.erase(t);
    if (width == 1 && height == 1) single_[t] = rgba ? TexelOf(rgba) : 0;
    else single_.erase(t);
    if (t == texture_ || texture_ == 0) NoteTexture();
    return t;
}

void Graphics::UpdateTexture(std::uint32_t handle, int x, int y, int width, int height, const std::uint8_t* rgba)
{
    if (!Live() || !handle || width <= 0 || height <= 0 || !rgba) return;
    TexturesChange();
    // Quads already batched must see the old texels.
    DrawBatch();
    BindTexture(handle);
    if (!AllOpaque(rgba, static_cast<size_t>(width) * height)) opaque_.erase(handle);
    if (auto it = single_.find(handle); it != single_.end() && x == 0 && y == 0) it->second = TexelOf(rgba);
    if (handle == texture_) NoteTexture();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

void Graphics::DestroyTexture(std::uint32_t handle)
{
    if (!Live() || !handle) return;
    TexturesChange();
    DrawBatch();
    if (texture_ == handle) texture_ = 0;
    single_.erase(handle);
    NoteTexture();
    // A deleted texture is unbound; its name may come back for a new one.
    if (applied_.texture == handle) applied_.texture = 0;
    opaque_.erase(handle);
    GLuint t = handle;
    glDeleteTextures(1, &t);
}

void Graphics::SetTexture(std::uint32_t handle)
{
    if (handle == texture_) return;
    Command c;
    c.op = Op::Texture;
    c.arg = handle;
    if (Hold(c, nullptr, nullptr)) {
        if (deferring_) texture_ = handle;
        return;
    }
    DoSetTexture(handle);
}

void Graphics::DoSetTexture(std::uint32_t handle)
{
    if (handle == texture_) return;
    texture_ = handle;
    NoteTexture();
}

void Graphics::NoteTexture()
{
    const GLuint t = texture_ ? texture_ : white_;
    const auto it = single_.find(t);
    textureSingle_ = it != single_.end();
    textureTexel_ = textureSingle_ ? it->second : 0;
    textureOpaque_ = textureSingle_ ? (textureTexel_ >> 24) == 0xFF : opaque_.count(t) != 0;
}

void Graphics::DrawQuad(const QuadVertex vertices[4])
{
    if (!Live()) return;
    Command c;
    c.op = Op::Quad;
    if (Hold(c, nullptr, vertices)) return;
    DoDrawQuad(vertices);
}

std::unique_ptr<ITextFont> Graphics::CreateTextFont(const std::string& faceName, int height, bool italic)
{
    return OpenTextFont(faceName, height, italic);
}

bool Graphics::ReadBackBuffer(std::vector<std::uint32_t>& argb, int& width, int& height)
{
    if (!Live() || backWidth_ <= 0 || backHeight_ <= 0) return false;
    // What is read is drawn for real, and so is the frame after, whatever was read or written meanwhile.
    GoLive();
    mustDraw_ = true;
    DrawBatch();
    width = backWidth_;
    height = backHeight_;
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
    return true;
}

}  // namespace sdl
