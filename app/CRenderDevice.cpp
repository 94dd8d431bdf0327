#include "app/CRenderDevice.h"

#include <cmath>

#include "platform/window/IWindow.h"

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

void CRenderDevice::SetDirectionalLight(int index, float dx, float dy, float dz, float range)
{
    if (!HasDevice() || index < 0 || index >= kMaxLights) return;
    RenderState s = device->GetRenderState();
    Light& light = s.lights[index];
    light = Light();
    const float length = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (length > 0.0f) {
        light.direction[0] = dx / length;
        light.direction[1] = dy / length;
        light.direction[2] = dz / length;
    }
    light.range = range;
    light.enabled = true;
    s.lighting = true;
    device->SetRenderState(s);
}
