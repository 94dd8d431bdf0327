// Batch object for text quads: sets the alpha-blend state on Begin and restores the caller's state on End.
#pragma once
#include <cstdint>

#include "platform/graphics/IGraphics.h"

class CSprite {
public:
    explicit CSprite(IGraphics* device);
    CSprite(const CSprite&) = delete;
    CSprite& operator=(const CSprite&) = delete;

    static constexpr unsigned kAlphaBlend = 0x10;

    bool Begin(unsigned flags);
    // Draws the source rectangle (in texels) of a texture of texWidth × texHeight with its top-left at
    // (x, y), cut to the clip rectangle (left, top, right, bottom, in back-buffer pixels).
    void Draw(std::uint32_t texture, int texWidth, int texHeight, int srcX, int srcY, int srcW, int srcH,
              int x, int y, std::uint32_t colour, const int clip[4]);
    void End();

    IGraphics* GetDevice() const { return device; }
    bool InBatch() const { return inBatch; }

private:
    IGraphics* device;
    bool inBatch = false;
    RenderState saved;
    std::uint32_t savedTexture = 0;
};
