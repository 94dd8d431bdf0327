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

private:
    Window* window_;
    std::uint8_t keys_[256] = {};
    std::vector<SDL_Joystick*> joysticks_;  // null once pulled out; the slot stays
};

// DIK key code of an SDL scancode, 0 when it has none.
int DikOf(SDL_Scancode code);

}  // namespace sdl
