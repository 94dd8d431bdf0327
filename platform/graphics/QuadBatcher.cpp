#include "platform/graphics/QuadBatcher.h"

#include <cstddef>

#include "platform/graphics/GlStateCache.h"
#include "platform/graphics/QuadPrograms.h"
#include "platform/graphics/QuadShaders.h"

namespace sdl {

bool QuadBatcher::Create()
{
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
    batch_.reserve(static_cast<size_t>(kMaxBatchQuads) * 4);
    return vao_ && vbo_ && ibo_;
}

void QuadBatcher::Release(bool deleteObjects)
{
    if (deleteObjects) {
        if (vbo_) glDeleteBuffers(1, &vbo_);
        if (ibo_) glDeleteBuffers(1, &ibo_);
        if (vao_) glDeleteVertexArrays(1, &vao_);
    }
    vao_ = vbo_ = ibo_ = 0;
    batch_.clear();
    texture_ = 0;
}

void QuadBatcher::Add(const QuadVertex vertices[4], const TextureTraits& t)
{
    if (batch_.empty()) {
        opaque_ = true;
        constant_ = false;
    }
    if (!t.single) texture_ = t.name;
    constant_ = constant_ || t.single;
    opaque_ = opaque_ && t.opaque;
    for (int i = 0; i < 4; ++i) {
        const QuadVertex& v = vertices[i];
        opaque_ = opaque_ && (v.diffuse >> 24) == 0xFF;
        batch_.push_back({v.x, v.y, v.z, t.single ? 1.0f : 0.0f, v.diffuse, v.u, v.v, t.texel});
    }
}

bool QuadBatcher::Apply(const RenderState& s, const Viewport& viewport, GLuint white)
{
    // Every fragment of an opaque batch has alpha 255, which passes "alpha >= ref" whatever the reference:
    // the test, and the discard that keeps the rasteriser from its quicker paths, can go.
    QuadPrograms::Program* p = nullptr;
    if (opaque_ && s.alphaTestEnable && s.alphaFunc == CompareFunc::GreaterEqual) {
        RenderState passing = s;
        passing.alphaTestEnable = false;
        p = programs_.For(passing, constant_);
    } else {
        p = programs_.For(s, constant_);
    }
    if (!p) return false;
    if (!cache_.StateKnown()) {
        glBindVertexArray(vao_);
        glBindBuffer(GL_ARRAY_BUFFER, vbo_);
        glActiveTexture(GL_TEXTURE0);
        glBlendEquation(GL_FUNC_ADD);
        // Quads wind clockwise on screen, which GL sees as back faces.
        glFrontFace(GL_CCW);
    }
    cache_.UseProgram(p->program);
    cache_.BindTexture(texture_ ? texture_ : white);

    const float vp[4] = {static_cast<float>(viewport.x), static_cast<float>(viewport.y),
                         static_cast<float>(viewport.width > 0 ? viewport.width : 1),
                         static_cast<float>(viewport.height > 0 ? viewport.height : 1)};
    p->SetViewport(vp);
    p->SetAlphaRef(static_cast<float>(s.alphaRef & 0xFF));

    // Over an opaque texel with an opaque colour, source-alpha blending gives the source exactly: the batch
    // then skips reading what is behind it.
    const bool over = s.srcBlend == BlendFactor::SrcAlpha && s.destBlend == BlendFactor::InvSrcAlpha;
    cache_.Blend(s.alphaBlendEnable && !(over && opaque_), BlendOf(s.srcBlend), BlendOf(s.destBlend));
    cache_.DepthTest(s.zEnable, DepthFuncOf(s.zFunc));
    cache_.DepthMask(s.zWriteEnable ? GL_TRUE : GL_FALSE);
    cache_.Cull(s.cullMode != CullMode::None, s.cullMode == CullMode::Ccw ? GL_FRONT : GL_BACK);
    cache_.StateSent();
    return true;
}

void QuadBatcher::Draw(const RenderState& state, const Viewport& viewport, GLuint white)
{
    if (batch_.empty()) return;
    if (!Apply(state, viewport, white)) {
        batch_.clear();
        texture_ = 0;
        return;
    }
    const int quads = static_cast<int>(batch_.size() / 4);
    // Batches follow one another through the buffer; when it is full it starts afresh, and the driver keeps
    // the old storage for draws still reading it.
    if (ringQuad_ + quads > kRingQuads) {
        glBufferData(GL_ARRAY_BUFFER, sizeof(GpuVertex) * 4 * kRingQuads, nullptr, GL_STREAM_DRAW);
        ringQuad_ = 0;
    }
    glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(ringQuad_) * 4 * sizeof(GpuVertex),
                    static_cast<GLsizeiptr>(batch_.size() * sizeof(GpuVertex)), batch_.data());
    glDrawElements(GL_TRIANGLES, quads * 6, GL_UNSIGNED_SHORT,
                   reinterpret_cast<const void*>(static_cast<std::uintptr_t>(ringQuad_) * 6 * sizeof(GLushort)));
    ringQuad_ += quads;
    ++drawCalls_;
    batch_.clear();
    texture_ = 0;
}

}  // namespace sdl
