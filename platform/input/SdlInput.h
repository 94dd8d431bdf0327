// Keyboard state indexed by DIK codes, kept from SDL events, and SDL game controllers and joysticks.
#pragma once
#include <SDL.h>

#include <vector>

#include "platform/input/IInput.h"

namespace sdl {

class Window;

class Input : public IInput {
public:
    explicit Input(Window* window);
    ~Input() override;
    bool AcquireKeyboard() override;
    bool ReadKeyboard(std::uint8_t keys[256]) override;
    int JoystickCount() override { return static_cast<int>(devices_.size()); }
    bool AcquireJoystick(int index) override;
    bool ReadJoystick(int index, JoystickReading& reading) override;

    void OnEvent(const SDL_Event& e);
    // Opens the device unless it is already in the list; a new one joins at the end.
    void Open(int deviceIndex);

private:
    struct Device {
        SDL_Joystick* joystick = nullptr;          // null once pulled out; the slot stays
        SDL_GameController* controller = nullptr;  // when SDL's controller database knows the pad
    };
    void Close(Device& d);

    Window* window_;
    std::uint8_t keys_[256] = {};
    std::uint8_t tapped_[256] = {};  // pressed since the last reading
    std::vector<Device> devices_;
};

// DIK key code of an SDL scancode, 0 when it has none.
int DikOf(SDL_Scancode code);

// Software controllers (SDL virtual joysticks) for tests and demonstrations; they arrive through the same
// device events as real ones. Attach returns the SDL device index, or -1.
// A joystick that SDL's controller database does not know: read raw.
int AttachVirtualJoystick(int axes, int buttons, int hats = 0);
// One it knows: axes left stick x, y, right stick x, y, left and right trigger; buttons in SDL's order
// (A, B, X, Y, Back, Guide, Start, stick clicks, shoulders); hat 0 is the D-pad.
int AttachVirtualController(int buttons);
bool DetachVirtualJoystick(int deviceIndex);
// Raw SDL values: axes −32768 … 32767; hats a mask of SDL_HAT_UP, _RIGHT, _DOWN, _LEFT.
bool SetVirtualJoystickAxis(int deviceIndex, int axis, int value);
bool SetVirtualJoystickButton(int deviceIndex, int button, bool held);
bool SetVirtualJoystickHat(int deviceIndex, int hat, int value);

}  // namespace sdl
