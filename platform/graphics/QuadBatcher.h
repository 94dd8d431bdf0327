// The quad batch: consecutive quads that can share one draw call, streamed through a ring vertex buffer.
#pragma once
#include <epoxy/gl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/graphics/IGraphics.h"
#include "platform/graphics/TextureRegistry.h"

namespace sdl {

class GlStateCache;
class QuadPrograms;

class QuadBatcher {
public:
    static constexpr int kMaxBatchQuads = 4096;
    // Quads the streaming vertex buffer holds before it is started afresh (the index range of 16 bits).
    static constexpr int kRingQuads = 16384;

    QuadBatcher(QuadPrograms& programs, GlStateCache& cache) : programs_(programs), cache_(cache) {}
    // The vertex array and its buffers; false when they cannot be made.
    bool Create();
    // Deletes the buffers where the context is current, else only forgets them; the batch is dropped.
    void Release(bool deleteObjects);
    bool Empty() const { return batch_.empty(); }
    // Whether a quad of this texture can join the batch: there is room, and it needs no texture or the batch's.
    bool Takes(const TextureTraits& texture) const
    {
        // Quads of one-texel textures fit any batch; the others need the batch's texture to be theirs.
        return batch_.size() + 4 <= static_cast<size_t>(kMaxBatchQuads) * 4 &&
               (texture.single || texture_ == 0 || texture_ == texture.name);
    }
    void Add(const QuadVertex vertices[4], const TextureTraits& texture);
    // Draws the batch with the state and viewport (the target is in place); white is bound where no quad samples.
    void Draw(const RenderState& state, const Viewport& viewport, GLuint white);
    std::uint64_t DrawCalls() const { return drawCalls_; }

private:
    // The GL state of the batch; false when its program does not build.
    bool Apply(const RenderState& state, const Viewport& viewport, GLuint white);

    // A batched vertex: w of the position is 1 for a quad of a one-texel texture, whose texel (RGBA bytes) comes
    // along instead of being sampled.
    struct GpuVertex {
        float x, y, z, w;
        std::uint32_t diffuse;
        float u, v;
        std::uint32_t texel;
    };

    QuadPrograms& programs_;
    GlStateCache& cache_;
    GLuint vao_ = 0, vbo_ = 0, ibo_ = 0;
    int ringQuad_ = 0;  // next free quad in the vertex buffer
    std::vector<GpuVertex> batch_;
    GLuint texture_ = 0;    // the texture the batch samples, 0 while none does
    bool opaque_ = true;    // every quad of the batch is opaque
    bool constant_ = false; // some quad of the batch brings its texel
    std::uint64_t drawCalls_ = 0;
};

}  // namespace sdl
