#include "platform/graphics/TextureRegistry.h"

#include <cstddef>

#include "platform/graphics/GlStateCache.h"
#include "platform/graphics/QuadShaders.h"

namespace sdl {

bool TextureRegistry::Create()
{
    const std::uint8_t white[4] = {255, 255, 255, 255};
    white_ = Add(1, 1, white);
    return white_ != 0;
}

void TextureRegistry::Release(bool deleteObjects)
{
    if (deleteObjects && white_) glDeleteTextures(1, &white_);
    white_ = 0;
    opaque_.clear();
    single_.clear();
}

GLuint TextureRegistry::Add(int width, int height, const std::uint8_t* rgba)
{
    GLuint t = 0;
    glGenTextures(1, &t);
    glBindTexture(GL_TEXTURE_2D, t);
    cache_.TextureBound(t);
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
    return t;
}

void TextureRegistry::Update(GLuint texture, int x, int y, int width, int height, const std::uint8_t* rgba)
{
    cache_.BindTexture(texture);
    if (!AllOpaque(rgba, static_cast<size_t>(width) * height)) opaque_.erase(texture);
    if (auto it = single_.find(texture); it != single_.end() && x == 0 && y == 0) it->second = TexelOf(rgba);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

void TextureRegistry::Remove(GLuint texture)
{
    single_.erase(texture);
    opaque_.erase(texture);
    cache_.TextureDeleted(texture);
    glDeleteTextures(1, &texture);
}

TextureTraits TextureRegistry::Of(std::uint32_t handle) const
{
    TextureTraits traits;
    traits.name = handle ? handle : white_;
    const auto it = single_.find(traits.name);
    traits.single = it != single_.end();
    traits.texel = traits.single ? it->second : 0;
    traits.opaque = traits.single ? (traits.texel >> 24) == 0xFF : opaque_.count(traits.name) != 0;
    return traits;
}

}  // namespace sdl
