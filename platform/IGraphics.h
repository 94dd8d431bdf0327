// The render device the game's Direct3D-shaped code draws through.
#pragma once
#include <cstdint>

enum class CoopLevel { Ok, DeviceLost, DeviceNotReset };

struct PresentParams {
    int backBufferWidth = 800;
    int backBufferHeight = 600;
    bool windowed = true;
    int fullScreenRefreshRate = 0;
    bool vsync = true;
};

// Viewport in back-buffer pixels, origin top-left.
struct Viewport {
    int x = 0, y = 0, width = 0, height = 0;
    float minZ = 0.0f, maxZ = 1.0f;
};

class IGraphics {
public:
    virtual ~IGraphics() = default;

    // Creates the device the first time, resets it afterwards.
    virtual bool Reset(const PresentParams& params) = 0;
    virtual bool HasDevice() const = 0;
    virtual void ReleaseDevice() = 0;
    virtual CoopLevel TestCooperativeLevel() = 0;
    // False when the back buffer cannot be had (the caller then records 0 × 0).
    virtual bool GetBackBufferSize(int& width, int& height) = 0;
    // Refresh rate of the current display mode in hertz; false when it cannot be read.
    virtual bool GetDisplayRefreshRate(int& hertz) = 0;

    virtual void SetViewport(const Viewport& viewport) = 0;
    virtual void Clear(std::uint32_t argb, float depth) = 0;
    virtual bool BeginScene() = 0;
    virtual void EndScene() = 0;
    virtual bool Present() = 0;
};
