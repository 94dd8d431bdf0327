#include "platform/graphics/ImageFile.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>

#include "platform/files/IFileSystem.h"

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

bool SaveImagePNG(const std::string& path, const ImageRGBA& image)
{
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() < static_cast<size_t>(image.width) * image.height * 4)
        return false;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(image.pixels.data()), image.width,
                                                        image.height, 32, image.width * 4, SDL_PIXELFORMAT_RGBA32);
    if (!s) return false;
    const bool ok = IMG_SavePNG(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

std::uint32_t NextPowerOfTwo(std::uint32_t n)
{
    std::uint32_t p = 1;
    while (p < n && p < 0x80000000u) p <<= 1;
    return p;
}
