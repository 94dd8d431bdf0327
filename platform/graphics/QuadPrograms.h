// The quad programs: one per texture stage, alpha test and texel source, built the first time each is needed.
#pragma once
#include <epoxy/gl.h>

#include <cstddef>
#include <vector>

#include "platform/graphics/IGraphics.h"

namespace sdl {

class GlStateCache;

class QuadPrograms {
public:
    struct Program {
        int key = -1;
        GLuint program = 0;
        GLint viewport = -1, alphaRef = -1, texture = -1;
        float viewportSet[4] = {-1, -1, -1, -1};
        float alphaRefSet = -1;
        // Uniforms are sent only when they change; the program must be in use.
        void SetViewport(const float vp[4]);
        void SetAlphaRef(float alphaRef);
    };
    static constexpr size_t kMaxPrograms = 16;

    explicit QuadPrograms(GlStateCache& cache) : cache_(cache) {}
    // The shared vertex shader and the program of the default state; false when they do not build.
    bool Create();
    // Deletes the programs where the context is current, else only forgets them.
    void Release(bool deleteObjects);
    // The program for the state's texture stage and alpha test; null when it does not build.
    Program* For(const RenderState& state, bool constantTexels);

private:
    GlStateCache& cache_;
    GLuint vertexShader_ = 0;
    std::vector<Program> programs_;
};

}  // namespace sdl
