// The render device of the game window: creation, reset, clearing, scenes and presentation.
#pragma once
#include <cstdint>

#include "platform/graphics/IGraphics.h"

class IWindow;

class CRenderDevice {
public:
    CRenderDevice(IGraphics* graphics, IWindow* window);
    ~CRenderDevice();
    CRenderDevice(const CRenderDevice&) = delete;
    CRenderDevice& operator=(const CRenderDevice&) = delete;

    // Creates the device the first time and resets it afterwards.
    bool Reset();
    void Clear(std::uint32_t colour);
    bool BeginScene();
    void EndScene();
    bool Present();
    void PresentIfOddPage();
    CoopLevel TestCooperativeLevel();
    void SetViewport(int x, int y, int w, int h, float minZ, float maxZ);
    // White directional light; lighting on.
    void SetDirectionalLight(int index, float dx, float dy, float dz, float range);

    IGraphics* GetDevice() const { return device; }
    bool HasDevice() const { return device && device->HasDevice(); }
    std::uint64_t ShownFrameCount() const { return device ? device->ShownFrameCount() : 0; }
    bool SwapMayWait() const { return HasDevice() && device->SwapMayWait(); }
    void WaitForDrawing(bool on)
    {
        if (device) device->WaitForDrawing(on);
    }
    bool LastSwap(SwapTimes& times) const { return HasDevice() && device->LastSwap(times); }
    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    int GetRefreshRate() const { return refreshRate; }
    bool GetPageFlag() const { return pageFlag; }
    void SetWidth(int w) { width = w; }
    void SetHeight(int h) { height = h; }
    void SetFullScreen(bool f) { fullScreen = f; }
    void SetRefreshRate(int r) { refreshRate = r; }

private:
    IGraphics* device;
    IWindow* window;
    int width = 0;
    int height = 0;
    bool fullScreen = false;
    int refreshRate = 60;
    bool pageFlag = true;
};
