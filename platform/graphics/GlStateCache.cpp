#include "platform/graphics/GlStateCache.h"

namespace sdl {

void GlStateCache::Target(GLuint framebuffer, bool clipControl, bool topDown, const int rect[4], float minZ,
                          float maxZ)
{
    const bool known = targetKnown_;
    if (!known || framebuffer_ != framebuffer) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        if (clipControl) glClipControl(topDown ? GL_UPPER_LEFT : GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    }
    if (!known || viewport_[0] != rect[0] || viewport_[1] != rect[1] || viewport_[2] != rect[2] ||
        viewport_[3] != rect[3]) {
        glViewport(rect[0], rect[1], rect[2], rect[3]);
        glScissor(rect[0], rect[1], rect[2], rect[3]);
    }
    if (!known || depthRange_[0] != minZ || depthRange_[1] != maxZ) glDepthRange(minZ, maxZ);
    if (!known) glEnable(GL_SCISSOR_TEST);
    framebuffer_ = framebuffer;
    for (int i = 0; i < 4; ++i) viewport_[i] = rect[i];
    depthRange_[0] = minZ;
    depthRange_[1] = maxZ;
    targetKnown_ = true;
}

void GlStateCache::UseProgram(GLuint program)
{
    if (!stateKnown_ || program_ != program) glUseProgram(program);
    program_ = program;
}

void GlStateCache::BindTexture(GLuint texture)
{
    if (stateKnown_ && texture_ == texture) return;
    glBindTexture(GL_TEXTURE_2D, texture);
    texture_ = texture;
}

void GlStateCache::TextureDeleted(GLuint texture)
{
    // A deleted texture is unbound; its name may come back for a new one.
    if (texture_ == texture) texture_ = 0;
}

void GlStateCache::Blend(bool enable, GLenum src, GLenum dest)
{
    if (!stateKnown_ || blend_ != enable) {
        if (enable) glEnable(GL_BLEND);
        else glDisable(GL_BLEND);
    }
    blend_ = enable;
    if (!enable) return;
    if (!stateKnown_ || srcBlend_ != src || destBlend_ != dest) glBlendFunc(src, dest);
    srcBlend_ = src;
    destBlend_ = dest;
}

void GlStateCache::DepthTest(bool enable, GLenum func)
{
    if (!stateKnown_ || depthTest_ != enable) {
        if (enable) glEnable(GL_DEPTH_TEST);
        else glDisable(GL_DEPTH_TEST);
    }
    depthTest_ = enable;
    if (!enable) return;
    if (!stateKnown_ || depthFunc_ != func) glDepthFunc(func);
    depthFunc_ = func;
}

void GlStateCache::DepthMask(GLboolean mask)
{
    if (!stateKnown_ || depthMask_ != mask) glDepthMask(mask);
    depthMask_ = mask;
}

void GlStateCache::Cull(bool enable, GLenum face)
{
    if (!stateKnown_ || cull_ != enable) {
        if (enable) glEnable(GL_CULL_FACE);
        else glDisable(GL_CULL_FACE);
    }
    cull_ = enable;
    if (!enable) return;
    if (!stateKnown_ || cullFace_ != face) glCullFace(face);
    cullFace_ = face;
}

}  // namespace sdl
