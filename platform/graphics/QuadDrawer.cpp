#include "platform/graphics/QuadDrawer.h"

#include "platform/graphics/GlDevice.h"
#include "platform/graphics/GlStateCache.h"
#include "platform/graphics/QuadBatcher.h"

namespace sdl {

void QuadDrawer::SetViewport(const Viewport& viewport)
{
    if (viewport == viewport_) return;
    DrawBatch();
    viewport_ = viewport;
}

void QuadDrawer::Clear(std::uint32_t argb, float depth)
{
    DrawBatch();
    device_.ApplyTarget(viewport_);
    glClearColor(((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
                 ((argb >> 24) & 0xFF) / 255.0f);
    glClearDepth(depth);
    cache_.DepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void QuadDrawer::SetRenderState(const RenderState& state)
{
    if (state == state_) return;
    DrawBatch();
    state_ = state;
    // The window's framebuffer keeps no alpha to blend with: such blending needs the offscreen buffer.
    const auto readsDestAlpha = [](BlendFactor f) {
        return f == BlendFactor::DestAlpha || f == BlendFactor::InvDestAlpha;
    };
    if (state.alphaBlendEnable && (readsDestAlpha(state.srcBlend) || readsDestAlpha(state.destBlend)))
        device_.NeedDestAlpha();
}

void QuadDrawer::SetTextureStage(const TextureStage& stage)
{
    if (stage == state_.stage0) return;
    DrawBatch();
    state_.stage0 = stage;
}

void QuadDrawer::SetTexture(std::uint32_t handle)
{
    if (handle == texture_) return;
    texture_ = handle;
    traits_ = textures_.Of(handle);
}

void QuadDrawer::DrawQuad(const QuadVertex vertices[4])
{
    if (!batcher_.Takes(traits_)) DrawBatch();
    batcher_.Add(vertices, traits_);
}

void QuadDrawer::DrawBatch()
{
    if (batcher_.Empty()) return;
    device_.ApplyTarget(viewport_);
    batcher_.Draw(state_, viewport_, textures_.White());
}

void QuadDrawer::HandOver()
{
    DrawBatch();
    device_.ApplyTarget(viewport_);
    cache_.ForgetState();
}

void QuadDrawer::TexturesChanged(std::uint32_t destroyed)
{
    if (destroyed && texture_ == destroyed) texture_ = 0;
    traits_ = textures_.Of(texture_);
}

void QuadDrawer::Replay(const FrameRecord& frame)
{
    // From where the frame began, each command does what it would have done at once.
    SetViewport(frame.startViewport);
    SetRenderState(frame.startState);
    SetTexture(frame.startTexture);
    for (const FrameRecord::Command& c : frame.commands) {
        switch (c.op) {
        case FrameRecord::Op::Viewport:
            SetViewport(c.viewport);
            break;
        case FrameRecord::Op::Clear:
            Clear(c.arg, c.depth);
            break;
        case FrameRecord::Op::State:
            SetRenderState(frame.StateOf(c));
            break;
        case FrameRecord::Op::Stage:
            SetTextureStage(c.stage);
            break;
        case FrameRecord::Op::Texture:
            SetTexture(c.arg);
            break;
        case FrameRecord::Op::Quad:
            DrawQuad(frame.QuadOf(c));
            break;
        case FrameRecord::Op::EndScene:
            DrawBatch();
            break;
        }
    }
}

}  // namespace sdl
