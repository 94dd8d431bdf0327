// Raw keyboard and game-controller readings, sampled once per update step.
#pragma once
#include <cstdint>

struct JoystickReading {
    std::int32_t axisX = 0;  // −1000 … 1000
    std::int32_t axisY = 0;
    std::uint8_t buttons[33] = {};  // bit 7 set when held
};

class IInput {
public:
    virtual ~IInput() = default;
    // Fails while the window is not in front, as foreground devices do.
    virtual bool AcquireKeyboard() = 0;
    // 256 bytes indexed by DIK key code; bit 7 set when held.
    virtual bool ReadKeyboard(std::uint8_t keys[256]) = 0;
    // Controllers in the order they were attached; a removed one keeps its slot and reads nothing.
    virtual int JoystickCount() = 0;
    virtual bool AcquireJoystick(int index) = 0;
    virtual bool ReadJoystick(int index, JoystickReading& reading) = 0;
};
