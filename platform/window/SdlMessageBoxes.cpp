#include "platform/window/SdlMessageBoxes.h"

#include <SDL.h>

#include <cstdio>

#include "platform/WinTypes.h"
#include "platform/window/SdlMessageBox.h"
#include "platform/window/SdlWindow.h"

namespace sdl {

int MessageBoxes::Show(bool owned, const std::string& text, const std::string& caption, unsigned style)
{
    // Also on stderr: without a display the box cannot appear, and the player still learns why.
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    // Our own box first; SDL's needs X core fonts and shows no Japanese.
    const int ours = MessageBox(window_, owned, text, caption, style, padDecide_).Run();
    if (ours != 0) return ours;
    SDL_MessageBoxButtonData buttons[2];
    int count = 0;
    buttons[count++] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, win::IDOK, "OK"};
    if (style == win::MB_OKCANCEL) buttons[count++] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, win::IDCANCEL, "キャンセル"};
    SDL_MessageBoxData data{};
    data.flags = SDL_MESSAGEBOX_INFORMATION;
    data.window = owned && window_ ? window_->Handle() : nullptr;
    data.title = caption.c_str();
    data.message = text.c_str();
    data.numbuttons = count;
    data.buttons = buttons;
    int answer = win::IDCANCEL;
    if (SDL_ShowMessageBox(&data, &answer) != 0) return style == win::MB_OKCANCEL ? win::IDCANCEL : win::IDOK;
    return answer < 0 ? win::IDCANCEL : answer;
}

}  // namespace sdl
