#include "platform/graphics/HeadlessGraphics.h"

#include "platform/graphics/ImageFile.h"

namespace headless {

bool TextFont::RenderGlyph(std::uint32_t codepoint, GlyphImage& out)
{
    out = GlyphImage();
    const int w = codepoint < 0x80 ? height_ / 2 : height_;
    out.advance = w;
    if (codepoint == ' ' || codepoint < 0x20) return true;
    out.width = w;
    out.height = height_;
    out.coverage.assign(static_cast<size_t>(w) * height_, 255);
    return true;
}

bool Graphics::Reset(const PresentParams& p)
{
    if (!created && failCreate) return false;
    if (created && failReset) return false;
    created = true;
    params = p;
    coopLevel = CoopLevel::Ok;
    ++events.resets;
    return true;
}

bool Graphics::GetBackBufferSize(int& w, int& h)
{
    if (!created) return false;
    w = params.backBufferWidth;
    h = params.backBufferHeight;
    return true;
}

bool Graphics::GetDisplayRefreshRate(int& hz)
{
    if (refreshRate <= 0) return false;
    hz = refreshRate;
    return true;
}

void Graphics::Clear(std::uint32_t argb, float)
{
    lastClearColour = argb;
    ++events.clears;
}

bool Graphics::BeginScene()
{
    inScene = true;
    ++events.scenes;
    ClearRecords();
    return true;
}

bool Graphics::Present()
{
    swappedLast = false;
    if (failPresent) return false;
    ++events.presents;
    if (repeatFrames) return true;
    if (vsyncClock) {
        lastSwap.drawn = vsyncClock->counter;
        if (refreshRate > 0 && !queueSwaps) {
            vsyncClock->AdvanceToNextBlank(refreshRate, blankPhase);
            vsyncClock->Advance(swapCopy);
        }
        lastSwap.returned = vsyncClock->counter;
    }
    swappedLast = true;
    ++shownFrames;
    return true;
}

bool Graphics::LastSwap(SwapTimes& times) const
{
    if (!swappedLast || !vsyncClock) return false;
    times = lastSwap;
    return true;
}

TextureInfo Graphics::CreateTextureFromFile(const std::string& gamePath)
{
    TextureInfo info;
    ImageRGBA image;
    if (!LoadImageRGBA(gamePath, image)) return info;
    info.handle = CreateTexture(image.width, image.height, nullptr);
    info.width = image.width;
    info.height = image.height;
    info.surfaceWidth = NextPowerOfTwo(static_cast<std::uint32_t>(image.width));
    info.surfaceHeight = NextPowerOfTwo(static_cast<std::uint32_t>(image.height));
    return info;
}

std::uint32_t Graphics::CreateTexture(int width, int height, const std::uint8_t*)
{
    if (width <= 0 || height <= 0) return 0;
    textures_.push_back({width, height, true});
    return static_cast<std::uint32_t>(textures_.size());
}

void Graphics::UpdateTexture(std::uint32_t, int, int, int, int, const std::uint8_t*) {}

void Graphics::DestroyTexture(std::uint32_t handle)
{
    if (handle > 0 && handle <= textures_.size()) textures_[handle - 1].alive = false;
}

bool Graphics::TextureSize(std::uint32_t handle, int& w, int& h) const
{
    if (handle == 0 || handle > textures_.size() || !textures_[handle - 1].alive) return false;
    w = textures_[handle - 1].width;
    h = textures_[handle - 1].height;
    return true;
}

void Graphics::DrawQuad(const QuadVertex vertices[4])
{
    ++drawCalls;
    DrawnQuad q{};
    q.texture = texture;
    if (!TextureSize(texture, q.textureWidth, q.textureHeight)) q.textureWidth = q.textureHeight = 0;
    for (int i = 0; i < 4; ++i) q.v[i] = vertices[i];
    q.colour = vertices[0].diffuse;
    q.viewport = viewport;
    q.alphaBlend = state.alphaBlendEnable;
    q.cullMode = state.cullMode;
    quads.push_back(q);
}

std::unique_ptr<ITextFont> Graphics::CreateTextFont(const std::string& faceName, int height, bool)
{
    lastFontFace = faceName;
    if (failFont || height <= 0) return nullptr;
    return std::make_unique<TextFont>(height);
}

void Graphics::NoteText(const std::string& utf8, int x, int y, std::uint32_t argb)
{
    texts.push_back({utf8, x, y, argb, viewport, quads.size()});
}

void Graphics::ClearRecords()
{
    quads.clear();
    texts.clear();
}

}  // namespace headless
