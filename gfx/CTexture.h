// One picture file as a texture with its pixel size, drawn as screen-aligned quads.
#pragma once
#include <cstdint>
#include <string>

class IGraphics;

class CTexture {
public:
    CTexture(IGraphics* device, const std::string& path);
    ~CTexture();
    CTexture(const CTexture&) = delete;
    CTexture& operator=(const CTexture&) = delete;

    int GetWidth() const { return width; }
    int GetHeight() const { return height; }

    void Draw(float x, float y, std::uint32_t colour);
    void DrawEx(float x, float y, float scaleX, float scaleY, float uStart, float vStart, float uSpan,
                float vSpan, std::uint32_t colour);
    void DrawRect(float x, float y, float w, float h, float uStart, float vStart, float uSpan, float vSpan,
                  std::uint32_t colour);

    IGraphics* device;
    std::uint32_t texture = 0;  // device texture handle, 0 when loading failed
    std::uint32_t surfaceWidth = 0;
    std::uint32_t surfaceHeight = 0;
    int width = 0;
    int height = 0;
};

// The primitive under all quad drawing: four pre-transformed vertices as a two-triangle strip.
void DrawQuad(IGraphics* device, float x, float y, float w, float h, float uStart, float vStart, float uSpan,
              float vSpan, std::uint32_t colour);
