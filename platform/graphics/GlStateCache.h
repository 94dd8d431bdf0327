// What GL was last told, so that unchanged state is not sent again; forgotten when others draw on the context.
#pragma once
#include <epoxy/gl.h>

namespace sdl {

class GlStateCache {
public:
    // Everything is sent again: the target (framebuffer, viewport, scissor, depth range) …
    void ForgetTarget() { targetKnown_ = false; }
    // … and the rest.
    void ForgetState() { stateKnown_ = false; }
    void Clear() { *this = GlStateCache(); }
    bool StateKnown() const { return stateKnown_; }
    // Whatever has been set since ForgetState is known from now on.
    void StateSent() { stateKnown_ = true; }

    // The rectangle is GL's, from the bottom left; clip control, where there is some, turns the framebuffer's
    // rows top first or bottom first.
    void Target(GLuint framebuffer, bool clipControl, bool topDown, const int rect[4], float minZ, float maxZ);
    void UseProgram(GLuint program);
    GLuint Program() const { return program_; }
    void BindTexture(GLuint texture);
    // Someone bound a texture, or deleted one, without the cache.
    void TextureBound(GLuint texture) { texture_ = texture; }
    void TextureDeleted(GLuint texture);
    void Blend(bool enable, GLenum src, GLenum dest);
    void DepthTest(bool enable, GLenum func);
    void DepthMask(GLboolean mask);
    void Cull(bool enable, GLenum face);

private:
    bool targetKnown_ = false;
    bool stateKnown_ = false;
    GLuint framebuffer_ = 0;
    int viewport_[4] = {};
    float depthRange_[2] = {};
    GLuint program_ = 0, texture_ = 0;
    bool blend_ = false, depthTest_ = false, cull_ = false;
    GLenum srcBlend_ = 0, destBlend_ = 0, depthFunc_ = 0, cullFace_ = 0;
    GLboolean depthMask_ = GL_TRUE;
};

}  // namespace sdl
