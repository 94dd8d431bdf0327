// The device's textures, named by their GL names, with what batching needs to know of each: whether every
// texel is opaque, and the texel of a one-texel texture (which travels with its quads instead of being sampled).
#pragma once
#include <epoxy/gl.h>

#include <cstdint>
#include <unordered_map>
#include <unordered_set>

namespace sdl {

class GlStateCache;

struct TextureTraits {
    GLuint name = 0;            // the texture sampled: the white one stands for "no texture"
    bool single = false;        // one texel, which comes with the quad
    bool opaque = false;        // every texel has alpha 255
    std::uint32_t texel = 0;    // RGBA bytes of a single texel
};

class TextureRegistry {
public:
    explicit TextureRegistry(GlStateCache& cache) : cache_(cache) {}
    // The white texture that stands for "no texture"; false when it cannot be made.
    bool Create();
    // Deletes the white texture where the context is current; the game's go with the context.
    void Release(bool deleteObjects);
    // Pixels are RGBA bytes, rows top to bottom, or null for undefined texels.
    GLuint Add(int width, int height, const std::uint8_t* rgba);
    void Update(GLuint texture, int x, int y, int width, int height, const std::uint8_t* rgba);
    void Remove(GLuint texture);
    // Of a texture handle, 0 meaning none.
    TextureTraits Of(std::uint32_t handle) const;
    GLuint White() const { return white_; }

private:
    GlStateCache& cache_;
    GLuint white_ = 0;
    std::unordered_set<GLuint> opaque_;                  // textures whose every texel is opaque
    std::unordered_map<GLuint, std::uint32_t> single_;   // one-texel textures and their texel
};

}  // namespace sdl
