#include "platform/graphics/QuadPrograms.h"

#include <cstdio>

#include "platform/graphics/GlStateCache.h"
#include "platform/graphics/QuadShaders.h"

namespace sdl {

void QuadPrograms::Program::SetViewport(const float vp[4])
{
    if (vp[0] == viewportSet[0] && vp[1] == viewportSet[1] && vp[2] == viewportSet[2] && vp[3] == viewportSet[3])
        return;
    glUniform4f(viewport, vp[0], vp[1], vp[2], vp[3]);
    for (int i = 0; i < 4; ++i) viewportSet[i] = vp[i];
}

void QuadPrograms::Program::SetAlphaRef(float ref)
{
    if (ref == alphaRefSet) return;
    glUniform1f(alphaRef, ref);
    alphaRefSet = ref;
}

bool QuadPrograms::Create()
{
    vertexShader_ = Compile(GL_VERTEX_SHADER, kQuadVertexShader);
    if (!vertexShader_) return false;
    programs_.reserve(kMaxPrograms);
    return For(RenderState(), false) != nullptr;
}

void QuadPrograms::Release(bool deleteObjects)
{
    if (deleteObjects) {
        for (const Program& p : programs_) glDeleteProgram(p.program);
        if (vertexShader_) glDeleteShader(vertexShader_);
    }
    programs_.clear();
    vertexShader_ = 0;
}

QuadPrograms::Program* QuadPrograms::For(const RenderState& st, bool constantTexels)
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
        if (cache_.Program() == programs_.front().program) cache_.ForgetState();
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
    cache_.ForgetState();
    programs_.push_back(p);
    return &programs_.back();
}

}  // namespace sdl
