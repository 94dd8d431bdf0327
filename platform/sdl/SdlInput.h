// Keyboard state indexed by DIK codes, kept from SDL events, and SDL joysticks.
#pragma once
#include <SDL.h>

#include <vector>

#include "platform/IInput.h"

namespace sdl {

class Window;

class Input : public IInput {
public:
    explicit Input(Window* window);
    ~Input() override;
    bool AcquireKeyboard() override;
    bool ReadKeyboard(std::uint8_t keys[256]) override;
    int JoystickCount() override { return static_cast<int>(joysticks_.size()); }
    bool AcquireJoystick(int index) override;
    bool ReadJoystick(int index, JoystickReading& reading) override;

    void OnEvent(const SDL_Event& e);
    // Opens the device unless it is already in the list; a new one joins at the end.
    void Open(int deviceIndex);

private:
    Window* window_;
    std::uint8_t keys_[256] = {};
    std::uint8_t tapped_[256] = {};  // pressed since the last reading
    std::vector<SDL_Joystick*> joysticks_;  // null once pulled out; the slot stays
};

// DIK key code of an SDL scancode, 0 when it has none.
int DikOf(SDL_Scancode code);

// Software controllers (SDL virtual joysticks) for tests and demonstrations; they arrive through the same
// device events as real ones. Attach returns the SDL device index, or -1.
int AttachVirtualJoystick(int axes, int buttons);
bool DetachVirtualJoystick(int deviceIndex);
// Raw SDL values: axes −32768 … 32767.
bool SetVirtualJoystickAxis(int deviceIndex, int axis, int value);
bool SetVirtualJoystickButton(int deviceIndex, int button, bool held);

}  // namespace sdl
