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

}  // namespace sdl
