#include "platform/ImageFile.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>

#include "platform/IFileSystem.h"

bool LoadImageRGBA(const std::string& gamePath, ImageRGBA& out)
{
    out = ImageRGBA();
    SDL_Surface* loaded = IMG_Load(NativePath(gamePath).c_str());
    if (!loaded) return false;
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    if (!rgba) return false;
    if (rgba->w <= 0 || rgba->h <= 0) {
        SDL_FreeSurface(rgba);
        return false;
    }
    out.width = rgba->w;
    out.height = rgba->h;
    out.pixels.resize(static_cast<size_t>(out.width) * out.height * 4);
    SDL_LockSurface(rgba);
    const auto* src = static_cast<const std::uint8_t*>(rgba->pixels);
    for (int row = 0; row < out.height; ++row) {
        std::memcpy(&out.pixels[static_cast<size_t>(row) * out.width * 4], src + static_cast<size_t>(row) * rgba->pitch,
                    static_cast<size_t>(out.width) * 4);
    }
    SDL_UnlockSurface(rgba);
    SDL_FreeSurface(rgba);
    return true;
}

std::uint32_t NextPowerOfTwo(std::uint32_t n)
{
    std::uint32_t p = 1;
    while (p < n && p < 0x80000000u) p <<= 1;
    return p;
}
