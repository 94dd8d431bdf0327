// Modal message boxes (UTF-8 text) and leaving the process.
#pragma once
#include <string>

class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    // style is win::MB_OK or win::MB_OKCANCEL; the answer is win::IDOK or win::IDCANCEL.
    virtual int Show(bool ownedByWindow, const std::string& text, const std::string& caption, unsigned style) = 0;
    // The pad button the game decides with (its button map's): a box takes it, on a pad the system knows
    // only as a joystick, for its focused button.
    virtual void SetPadDecideButton(int) {}
};
