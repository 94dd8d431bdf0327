#include "platform/window/LegacyWindowName.h"

#ifdef ZENTHAR_HAVE_X11
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

namespace sdl {

void SetLegacyWindowName(SDL_Window* window, const std::string& utf8Caption)
{
#ifdef ZENTHAR_HAVE_X11
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    // The UTF-8 entry point converts whatever the C library's locale is.
    char* list = const_cast<char*>(utf8Caption.c_str());
    XTextProperty name;
    if (Xutf8TextListToTextProperty(info.info.x11.display, &list, 1, XStdICCTextStyle, &name) < Success) return;
    XSetWMName(info.info.x11.display, info.info.x11.window, &name);
    XFree(name.value);
#else
    (void)window;
    (void)utf8Caption;
#endif
}

}  // namespace sdl
