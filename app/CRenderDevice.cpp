#include "app/CRenderDevice.h"

#include "platform/IWindow.h"

CRenderDevice::CRenderDevice(IGraphics* graphics, IWindow* window_) : device(graphics), window(window_)
{
    if (window) window->GetClientSize(width, height);
}

CRenderDevice::~CRenderDevice()
{
    if (device) device->ReleaseDevice();
}

bool CRenderDevice::Reset()
{
    if (!device) return false;
    if (window) window->SetFullScreen(fullScreen);

    PresentParams params;
    params.backBufferWidth = width;
    params.backBufferHeight = height;
    params.windowed = !fullScreen;
    params.fullScreenRefreshRate = fullScreen ? refreshRate : 0;
    params.vsync = true;
    if (!device->Reset(params)) return false;

    int w = 0, h = 0;
    if (device->GetBackBufferSize(w, h)) {
        width = w;
        height = h;
    } else {
        width = height = 0;
    }
    int hz = 0;
    refreshRate = device->GetDisplayRefreshRate(hz) ? hz : 0;
    pageFlag = true;
    return true;
}

void CRenderDevice::Clear(std::uint32_t colour)
{
    if (HasDevice()) device->Clear(colour, 1.0f);
}

bool CRenderDevice::BeginScene()
{
    return HasDevice() && device->BeginScene();
}

void CRenderDevice::EndScene()
{
    if (HasDevice()) device->EndScene();
}

bool CRenderDevice::Present()
{
    if (!HasDevice() || !device->Present()) return false;
    pageFlag = !pageFlag;
    return true;
}

void CRenderDevice::PresentIfOddPage()
{
    if (!pageFlag) Present();
}

CoopLevel CRenderDevice::TestCooperativeLevel()
{
    return HasDevice() ? device->TestCooperativeLevel() : CoopLevel::DeviceLost;
}

void CRenderDevice::SetViewport(int x, int y, int w, int h, float minZ, float maxZ)
{
    if (!HasDevice()) return;
    Viewport vp;
    vp.x = x;
    vp.y = y;
    vp.width = w;
    vp.height = h;
    vp.minZ = minZ;
    vp.maxZ = maxZ;
    device->SetViewport(vp);
}

void CRenderDevice::SetDirectionalLight(int, float, float, float, float)
{
    // Lighting state lives with the mesh renderer; filled in with the render state.
}
