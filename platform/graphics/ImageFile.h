// Picture files decoded to RGBA bytes, shared by both back ends.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct ImageRGBA {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width × height × 4, rows from the top
};

// False when the file cannot be read or decoded; gamePath may use backslashes.
bool LoadImageRGBA(const std::string& gamePath, ImageRGBA& out);

// Writes a PNG; false on failure. A native path.
bool SaveImagePNG(const std::string& path, const ImageRGBA& image);

// Smallest power of two not below n (1 for n ≤ 1).
std::uint32_t NextPowerOfTwo(std::uint32_t n);
