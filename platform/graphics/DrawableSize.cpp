#include "platform/graphics/DrawableSize.h"

#include <SDL_syswm.h>
#include <epoxy/glx.h>

namespace sdl {

bool WindowSystemDrawableSize(SDL_Window* window, int& width, int& height)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    if (!glXGetCurrentContext()) return false;  // SDL may draw through EGL on X11 too
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (!display || !drawable) return false;
    unsigned int w = 0, h = 0;
    glXQueryDrawable(display, drawable, GLX_WIDTH, &w);
    glXQueryDrawable(display, drawable, GLX_HEIGHT, &h);
    if (w == 0 || h == 0) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

}  // namespace sdl
