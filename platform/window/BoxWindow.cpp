#include "platform/window/BoxWindow.h"

#include "platform/window/LegacyWindowName.h"
#include "platform/window/SdlWindow.h"

#ifdef ZENTHAR_HAVE_X11
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

namespace sdl {

bool BoxWindow::Create(const std::string& caption, int x, int y, int width, int height, bool skipTaskbar,
                       SDL_Window* owner)
{
    window_ = SDL_CreateWindow(caption.c_str(), x, y, width, height,
                               SDL_WINDOW_HIDDEN | (skipTaskbar ? SDL_WINDOW_SKIP_TASKBAR : 0));
    if (!window_) return false;
    SetLegacyWindowName(window_, caption);
#ifdef ZENTHAR_HAVE_X11
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window_, &info) && info.subsystem == SDL_SYSWM_X11) {
        Display* display = info.info.x11.display;
        const ::Window xwindow = info.info.x11.window;
        // A dialog to the window manager: no maximise, placed and stacked as one. Set before it is mapped.
        const Atom type = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
        const Atom dialog = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
        XChangeProperty(display, xwindow, type, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&dialog), 1);
        XWindowAttributes a;
        // SDL gives its windows a DirectColor visual where there is one, its colour map a straight ramp.
        if (XGetWindowAttributes(display, xwindow, &a) &&
            (a.visual->c_class == TrueColor || a.visual->c_class == DirectColor) && (a.depth == 24 || a.depth == 32)) {
            const Uint32 rgb = static_cast<Uint32>(a.visual->red_mask | a.visual->green_mask | a.visual->blue_mask);
            format_ = SDL_MasksToPixelFormatEnum(32, static_cast<Uint32>(a.visual->red_mask),
                                                 static_cast<Uint32>(a.visual->green_mask),
                                                 static_cast<Uint32>(a.visual->blue_mask), a.depth == 32 ? ~rgb : 0);
        }
        if (format_ != SDL_PIXELFORMAT_UNKNOWN) {
            display_ = display;
            visual_ = a.visual;
            depth_ = a.depth;
            xwindow_ = xwindow;
            gc_ = XCreateGC(display, xwindow, 0, nullptr);
        }
    }
#endif
    if (owner) SDL_SetWindowModalFor(window_, owner);
    return Canvas() != nullptr;
}

void BoxWindow::Show()
{
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
    // Without a window manager nothing else gives it the keyboard.
    SDL_SetWindowInputFocus(window_);
    // Only a shown window has a Wayland role to tell the compositor of.
    int w = 0, h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    FixWindowSize(window_, w, h);
}

void BoxWindow::Resize(int width, int height)
{
    if (!window_) return;
    if (SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) FixWindowSize(window_, width, height);
    SDL_SetWindowSize(window_, width, height);
}

void BoxWindow::Destroy()
{
#ifdef ZENTHAR_HAVE_X11
    if (gc_) XFreeGC(static_cast<Display*>(display_), static_cast<GC>(gc_));
#endif
    gc_ = display_ = nullptr;
    if (picture_) SDL_FreeSurface(picture_);
    picture_ = nullptr;
    if (window_) SDL_DestroyWindow(window_);
    window_ = nullptr;
}

SDL_Surface* BoxWindow::Canvas()
{
    if (!window_) return nullptr;
    // Elsewhere SDL backs the surface as it sees fit (on Wayland with a GL renderer of its own).
    if (!display_) return SDL_GetWindowSurface(window_);
    int w = 0, h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    if (!picture_ || picture_->w != w || picture_->h != h) {
        if (picture_) SDL_FreeSurface(picture_);
        picture_ = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, format_);
    }
    return picture_;
}

void BoxWindow::Present()
{
    if (!window_) return;
    if (!display_) {
        SDL_UpdateWindowSurface(window_);
        return;
    }
#ifdef ZENTHAR_HAVE_X11
    if (!picture_) return;
    Display* display = static_cast<Display*>(display_);
    XImage* image = XCreateImage(display, static_cast<Visual*>(visual_), static_cast<unsigned>(depth_), ZPixmap, 0,
                                 static_cast<char*>(picture_->pixels), static_cast<unsigned>(picture_->w),
                                 static_cast<unsigned>(picture_->h), 32, picture_->pitch);
    if (!image) return;
    // The pixels are in this machine's order; Xlib converts for a server of the other.
    image->byte_order = SDL_BYTEORDER == SDL_LIL_ENDIAN ? LSBFirst : MSBFirst;
    XPutImage(display, xwindow_, static_cast<GC>(gc_), image, 0, 0, 0, 0, static_cast<unsigned>(picture_->w),
              static_cast<unsigned>(picture_->h));
    image->data = nullptr;  // the surface's, freed with it
    XDestroyImage(image);
    XFlush(display);
#endif
}

}  // namespace sdl
