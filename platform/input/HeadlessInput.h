// Display-free keyboard and controllers: the test sets keys and joystick readings directly.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/input/IInput.h"

class IWindow;

namespace headless {

class Input : public IInput {
public:
    bool AcquireKeyboard() override;
    bool ReadKeyboard(std::uint8_t keys[256]) override;
    int JoystickCount() override { return static_cast<int>(joysticks.size()); }
    bool AcquireJoystick(int index) override;
    bool ReadJoystick(int index, JoystickReading& reading) override;

    void SetKey(int dik, bool held) { keys[dik & 0xFF] = held ? 0x80 : 0; }
    void ReleaseAllKeys();
    // A controller plugged in joins at the end; one pulled out keeps its slot and reads nothing.
    int AttachJoystick();
    void DetachJoystick(int index);

    struct Pad {
        bool attached = true;
        JoystickReading reading;
    };
    std::uint8_t keys[256] = {};
    std::vector<Pad> joysticks;
    IWindow* window = nullptr;  // input is only had while this window is in front
};

}  // namespace headless
