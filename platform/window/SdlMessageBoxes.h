// Message boxes on the real system: our own box window, SDL's box where ours cannot open, and stderr.
#pragma once
#include "platform/window/IMessageBox.h"

namespace sdl {

class Window;

class MessageBoxes : public IMessageBox {
public:
    explicit MessageBoxes(Window* window) : window_(window) {}
    int Show(bool owned, const std::string& text, const std::string& caption, unsigned style) override;
    void SetPadDecideButton(int button) override { padDecide_ = button; }

private:
    Window* window_;
    int padDecide_ = 2;  // the shipped map's
};

}  // namespace sdl
