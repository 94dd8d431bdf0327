// The quad batch: what the drawing calls gather, turned into GL state and one draw call per batch.
#include "platform/graphics/SdlGraphics.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "platform/graphics/QuadShaders.h"

namespace sdl {

Graphics::Program* Graphics::ProgramFor(const RenderState& st, bool constantTexels)
{
    const TextureStage& t = st.stage0;
    const int alphaFunc = st.alphaTestEnable ? static_cast<int>(st.alphaFunc) : static_cast<int>(CompareFunc::Always);
    const int key = OpOf(t.colorOp) | ArgOf(t.colorArg1) << 2 | ArgOf(t.colorArg2) << 4 | OpOf(t.alphaOp) << 6 |
                    ArgOf(t.alphaArg1) << 8 | ArgOf(t.alphaArg2) << 10 | alphaFunc << 12 |
                    (constantTexels ? 1 : 0) << 15;
    for (Program& p : programs_) {
        if (p.key == key) return &p;
    }
    // Only a handful of combinations ever occur; past the cache the oldest is dropped.
    if (programs_.size() >= kMaxPrograms) {
        if (applied_.program == programs_.front().program) applied_.stateKnown = false;
        glDeleteProgram(programs_.front().program);
        programs_.erase(programs_.begin());
    }
    char defines[256];
    std::snprintf(defines, sizeof defines,
                  "#define COLOR_OP %d\n#define COLOR_ARG1 %d\n#define COLOR_ARG2 %d\n#define ALPHA_OP %d\n"
                  "#define ALPHA_ARG1 %d\n#define ALPHA_ARG2 %d\n#define ALPHA_FUNC %d\n#define CONSTANT_TEXELS %d\n",
                  OpOf(t.colorOp), ArgOf(t.colorArg1), ArgOf(t.colorArg2), OpOf(t.alphaOp), ArgOf(t.alphaArg1),
                  ArgOf(t.alphaArg2), alphaFunc, constantTexels ? 1 : 0);
    GLuint fs = Compile(GL_FRAGMENT_SHADER, kQuadFragmentShader, defines);
    if (!fs) return nullptr;
    Program p;
    p.key = key;
    p.program = glCreateProgram();
    glAttachShader(p.program, vertexShader_);
    glAttachShader(p.program, fs);
    glLinkProgram(p.program);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(p.program, GL_LINK_STATUS, &ok);
    if (!ok) {
        glDeleteProgram(p.program);
        return nullptr;
    }
    p.viewport = glGetUniformLocation(p.program, "viewport");
    p.alphaRef = glGetUniformLocation(p.program, "alphaRef");
    p.texture = glGetUniformLocation(p.program, "tex");
    // The sampler reads unit 0 for good; the program in use changes, so the state has to be sent again.
    glUseProgram(p.program);
    glUniform1i(p.texture, 0);
    applied_.stateKnown = false;
    programs_.push_back(p);
    return &programs_.back();
}

void Graphics::DoDrawQuad(const QuadVertex vertices[4])
{
    if (batch_.size() + 4 > static_cast<size_t>(kMaxBatchQuads) * 4) DrawBatch();
    // Quads of one-texel textures fit any batch; the others need the batch's texture to be theirs.
    const GLuint t = texture_ ? texture_ : white_;
    if (!textureSingle_ && batchTexture_ != 0 && batchTexture_ != t) DrawBatch();
    if (batch_.empty()) {
        batchOpaque_ = true;
        batchConstant_ = false;
    }
    if (!textureSingle_) batchTexture_ = t;
    batchConstant_ = batchConstant_ || textureSingle_;
    batchOpaque_ = batchOpaque_ && textureOpaque_;
    for (int i = 0; i < 4; ++i) {
        const QuadVertex& v = vertices[i];
        batchOpaque_ = batchOpaque_ && (v.diffuse >> 24) == 0xFF;
        batch_.push_back({v.x, v.y, v.z, textureSingle_ ? 1.0f : 0.0f, v.diffuse, v.u, v.v, textureTexel_});
    }
}

bool Graphics::ApplyState()
{
    const RenderState& s = state_;
    // Every fragment of an opaque batch has alpha 255, which passes "alpha >= ref" whatever the reference:
    // the test, and the discard that keeps the rasteriser from its quicker paths, can go.
    Program* p = nullptr;
    if (batchOpaque_ && s.alphaTestEnable && s.alphaFunc == CompareFunc::GreaterEqual) {
        RenderState passing = s;
        passing.alphaTestEnable = false;
        p = ProgramFor(passing, batchConstant_);
    } else {
        p = ProgramFor(s, batchConstant_);
    }
    if (!p) return false;
    Applied& a = applied_;
    const bool known = a.stateKnown;
    if (!known) {
        glBindVertexArray(vao_);
        glBindBuffer(GL_ARRAY_BUFFER, vbo_);
        glActiveTexture(GL_TEXTURE0);
        glBlendEquation(GL_FUNC_ADD);
        // Quads wind clockwise on screen, which GL sees as back faces.
        glFrontFace(GL_CCW);
    }
    if (!known || a.program != p->program) glUseProgram(p->program);
    a.program = p->program;
    const GLuint texture = batchTexture_ ? batchTexture_ : white_;
    if (!known || a.texture != texture) glBindTexture(GL_TEXTURE_2D, texture);
    a.texture = texture;

    const float vp[4] = {static_cast<float>(viewport_.x), static_cast<float>(viewport_.y),
                         static_cast<float>(viewport_.width > 0 ? viewport_.width : 1),
                         static_cast<float>(viewport_.height > 0 ? viewport_.height : 1)};
    if (vp[0] != p->viewportSet[0] || vp[1] != p->viewportSet[1] || vp[2] != p->viewportSet[2] ||
        vp[3] != p->viewportSet[3]) {
        glUniform4f(p->viewport, vp[0], vp[1], vp[2], vp[3]);
        for (int i = 0; i < 4; ++i) p->viewportSet[i] = vp[i];
    }
    const float alphaRef = static_cast<float>(s.alphaRef & 0xFF);
    if (alphaRef != p->alphaRefSet) {
        glUniform1f(p->alphaRef, alphaRef);
        p->alphaRefSet = alphaRef;
    }

    // Over an opaque texel with an opaque colour, source-alpha blending gives the source exactly: the batch
    // then skips reading what is behind it.
    const bool over = s.srcBlend == BlendFactor::SrcAlpha && s.destBlend == BlendFactor::InvSrcAlpha;
    const bool blend = s.alphaBlendEnable && !(over && batchOpaque_);
    if (!known || a.blend != blend) {
        if (blend) glEnable(GL_BLEND);
        else glDisable(GL_BLEND);
    }
    a.blend = blend;
    if (blend) {
        const GLenum src = BlendOf(s.srcBlend), dest = BlendOf(s.destBlend);
        if (!known || a.srcBlend != src || a.destBlend != dest) glBlendFunc(src, dest);
        a.srcBlend = src;
        a.destBlend = dest;
    }
    if (!known || a.depthTest != s.zEnable) {
        if (s.zEnable) glEnable(GL_DEPTH_TEST);
        else glDisable(GL_DEPTH_TEST);
    }
    a.depthTest = s.zEnable;
    if (s.zEnable) {
        const GLenum func = DepthFuncOf(s.zFunc);
        if (!known || a.depthFunc != func) glDepthFunc(func);
        a.depthFunc = func;
    }
    const GLboolean mask = s.zWriteEnable ? GL_TRUE : GL_FALSE;
    if (!known || a.depthMask != mask) glDepthMask(mask);
    a.depthMask = mask;
    const bool cull = s.cullMode != CullMode::None;
    if (!known || a.cull != cull) {
        if (cull) glEnable(GL_CULL_FACE);
        else glDisable(GL_CULL_FACE);
    }
    a.cull = cull;
    if (cull) {
        const GLenum face = s.cullMode == CullMode::Ccw ? GL_FRONT : GL_BACK;
        if (!known || a.cullFace != face) glCullFace(face);
        a.cullFace = face;
    }
    a.stateKnown = true;
    return true;
}

void Graphics::DrawBatch()
{
    if (batch_.empty()) return;
    ApplyTarget();
    if (!ApplyState()) {
        batch_.clear();
        batchTexture_ = 0;
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
    batchTexture_ = 0;
}

void Graphics::Flush()
{
    if (!Live()) return;
    // Someone else draws next (meshes), outside what a record holds.
    StopRecording();
    DrawBatch();
    // Whoever draws next on this context gets the target and viewport of the quads.
    ApplyTarget();
    ForgetGlState();
}

}  // namespace sdl
