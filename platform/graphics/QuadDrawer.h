// Draws the device's commands with GL, as they come or replayed from a frame's record: viewports, clears, state,
// textures and quads. Quads wait in the batch until something they depend on changes.
#pragma once
#include <cstdint>

#include "platform/graphics/FrameRecord.h"
#include "platform/graphics/IGraphics.h"
#include "platform/graphics/TextureRegistry.h"

namespace sdl {

class GlDevice;
class GlStateCache;
class QuadBatcher;

class QuadDrawer {
public:
    QuadDrawer(GlDevice& device, GlStateCache& cache, TextureRegistry& textures, QuadBatcher& batcher)
        : device_(device), cache_(cache), textures_(textures), batcher_(batcher)
    {
    }
    // After a device reset: the whole back buffer, set without a command.
    void ResetViewport(const Viewport& viewport) { viewport_ = viewport; }
    void SetViewport(const Viewport& viewport);
    // Colour and depth inside the viewport.
    void Clear(std::uint32_t argb, float depth);
    void SetRenderState(const RenderState& state);
    void SetTextureStage(const TextureStage& stage);
    void SetTexture(std::uint32_t handle);
    void DrawQuad(const QuadVertex vertices[4]);
    // Draws the batch.
    void DrawBatch();
    // Someone else draws on the context next: the batch goes, they get the quads' target and viewport, and
    // whatever GL state they set is not taken for the quads'.
    void HandOver();
    // A recorded frame, from the state it began with.
    void Replay(const FrameRecord& frame);
    // The textures changed: a destroyed one is current no more, and the current one may have new texels.
    void TexturesChanged(std::uint32_t destroyed = 0);

private:
    GlDevice& device_;
    GlStateCache& cache_;
    TextureRegistry& textures_;
    QuadBatcher& batcher_;
    // What the quads are drawn with, which after a frame that was not drawn lags behind what the game set.
    Viewport viewport_;
    RenderState state_;
    std::uint32_t texture_ = 0;
    TextureTraits traits_;  // of the current texture
};

}  // namespace sdl
