#include "gfx/CDXFont.h"

#include <cstdarg>
#include <cstdio>
#include <new>
#include <vector>

#include "gfx/CSprite.h"
#include "platform/graphics/IGraphics.h"
#include "platform/text/ITextFont.h"

namespace {

constexpr int kScreenRight = 800;
constexpr int kScreenBottom = 600;
constexpr std::uint32_t kReplacement = 0xFFFD;

// Next code point of a UTF-8 string; a malformed sequence yields U+FFFD and skips one byte.
std::uint32_t NextCodepoint(const unsigned char*& p)
{
    const unsigned char c = *p;
    int extra = 0;
    std::uint32_t cp = 0;
    if (c < 0x80) {
        ++p;
        return c;
    } else if ((c & 0xE0) == 0xC0) {
        extra = 1;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        cp = c & 0x07;
    } else {
        ++p;
        return kReplacement;
    }
    for (int i = 1; i <= extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            ++p;
            return kReplacement;
        }
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    p += extra + 1;
    return cp;
}

}  // namespace

CDXFont::CDXFont() = default;

CDXFont::~CDXFont()
{
    Release();
}

void CDXFont::Release()
{
    delete font;
    font = nullptr;
    if (device && cacheTexture) device->DestroyTexture(cacheTexture);
    cacheTexture = 0;
    glyphs.clear();
    shelfX = shelfY = shelfHeight = 0;
}

bool CDXFont::Create(IGraphics* device_, const std::string& faceName, int height, bool italic)
{
    Release();
    device = device_;
    if (device) font = device->CreateTextFont(faceName, height, italic).release();
    return font == nullptr;
}

void CDXFont::ClearCache()
{
    glyphs.clear();
    shelfX = shelfY = shelfHeight = 0;
}

const CDXFont::CachedGlyph* CDXFont::Glyph(std::uint32_t codepoint)
{
    auto it = glyphs.find(codepoint);
    if (it != glyphs.end()) return &it->second;

    GlyphImage image;
    if (!font->RenderGlyph(codepoint, image) && !font->RenderGlyph(kReplacement, image)) return nullptr;
    if (image.width > kCacheSize || image.height > kCacheSize) return nullptr;

    if (!cacheTexture) {
        std::vector<std::uint8_t> clear(static_cast<size_t>(kCacheSize) * kCacheSize * 4, 0);
        cacheTexture = device->CreateTexture(kCacheSize, kCacheSize, clear.data());
        if (!cacheTexture) return nullptr;
    }
    // Shelves of glyphs, one pixel apart; a full cache starts over (the device draws what it has first).
    if (shelfX + image.width + 1 > kCacheSize) {
        shelfX = 0;
        shelfY += shelfHeight + 1;
        shelfHeight = 0;
    }
    if (shelfY + image.height + 1 > kCacheSize) ClearCache();

    CachedGlyph g{shelfX, shelfY, image.width, image.height, image.left, image.top, image.advance};
    if (image.width > 0 && image.height > 0) {
        std::vector<std::uint8_t> rgba(static_cast<size_t>(image.width) * image.height * 4);
        for (size_t i = 0; i < image.coverage.size() && i * 4 < rgba.size(); ++i) {
            rgba[i * 4 + 0] = 255;
            rgba[i * 4 + 1] = 255;
            rgba[i * 4 + 2] = 255;
            rgba[i * 4 + 3] = image.coverage[i];
        }
        device->UpdateTexture(cacheTexture, g.x, g.y, g.width, g.height, rgba.data());
        shelfX += image.width + 1;
        if (image.height > shelfHeight) shelfHeight = image.height;
    }
    return &glyphs.emplace(codepoint, g).first->second;
}

void CDXFont::DrawText(CSprite* sprite, int x, int y, std::uint32_t colour, const char* text)
{
    if (!sprite || !font || !text || !device) return;
    device->NoteText(text, x, y, colour);
    const int clip[4] = {x, y, kScreenRight, kScreenBottom};
    if (!sprite->Begin(CSprite::kAlphaBlend)) return;
    int penX = x, lineTop = y;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        const std::uint32_t cp = NextCodepoint(p);
        if (cp == '\n') {
            penX = x;
            lineTop += font->LineHeight();
            continue;
        }
        if (cp == '\r') continue;
        if (lineTop >= kScreenBottom) break;
        const CachedGlyph* g = Glyph(cp);
        if (!g) continue;
        if (g->width > 0 && g->height > 0) {
            sprite->Draw(cacheTexture, kCacheSize, kCacheSize, g->x, g->y, g->width, g->height, penX + g->left,
                         lineTop + g->top, colour, clip);
        }
        penX += g->advance;
    }
    sprite->End();
}

void CDXFont::DrawFormat(CSprite* sprite, int x, int y, std::uint32_t colour, const char* format, ...)
{
    if (!format) return;
    char small[256];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (length < 0) return;
    if (static_cast<size_t>(length) < sizeof small) {
        DrawText(sprite, x, y, colour, small);
        return;
    }
    char* buffer = new (std::nothrow) char[static_cast<size_t>(length) + 1];
    if (!buffer) return;
    va_start(args, format);
    std::vsnprintf(buffer, static_cast<size_t>(length) + 1, format, args);
    va_end(args);
    DrawText(sprite, x, y, colour, buffer);
    delete[] buffer;
}
