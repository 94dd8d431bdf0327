#include "app/CInput.h"

#include <cstdint>
#include <cstring>

#include "platform/input/IInput.h"

namespace {

struct KeyGroup {
    int up, down, left, right;
    int buttons[9][2];  // up to two keys a button, 0 = none
    int buttonCount;
};

// DIK codes of the four keyboard groups feeding pads 0 to 3.
const KeyGroup kGroups[4] = {
    {0x1F, 0x2D, 0x2C, 0x2E,
     {{0x2F, 0}, {0x20, 0x1C}, {0x21, 0}, {0x22, 0}, {0x30, 0}, {0x23, 0}, {0x39, 0}, {0x31, 0}, {0x32, 0}},
     9},
    {0xC8, 0xD0, 0xCB, 0xCD,
     {{0x15, 0}, {0x09, 0}, {0x0A, 0}, {0x0B, 0}, {0x16, 0}, {0x17, 0}, {0x18, 0}, {0x19, 0}, {0x26, 0}},
     9},
    {0x02, 0x03, 0x04, 0x05, {{0x06, 0}, {0x07, 0}}, 2},
    {0x10, 0x11, 0x12, 0x13, {{0x08, 0}, {0x14, 0}}, 2},
};

bool Held(const std::uint8_t* keys, int code)
{
    return code != 0 && (keys[code] & 0x80) != 0;
}

}  // namespace

CInput::CInput(IInput* devices_) : devices(devices_)
{
    ClearPads();
}

CInput::~CInput()
{
    ReleaseDevices();
}

void CInput::ReleaseDevices()
{
    devices = nullptr;
}

void CInput::ClearPads()
{
    for (PadState& pad : pads) {
        pad.up = pad.down = pad.left = pad.right = false;
        std::memset(pad.buttons, 0, sizeof pad.buttons);
        pad.axisX = 0.0f;
        pad.axisY = 0.0f;
    }
}

float CInput::StickValue(int v)
{
    if (v <= -800) return -1.0f;
    if (v < -200) return (v + 200) / 600.0f;
    if (v <= 200) return 0.0f;
    if (v < 800) return (v - 200) / 600.0f;
    return 1.0f;
}

void CInput::Update()
{
    ClearPads();
    if (!devices) return;

    std::uint8_t keys[256];
    if (devices->AcquireKeyboard() && devices->ReadKeyboard(keys)) {
        for (int i = 0; i < 4; ++i) {
            const KeyGroup& g = kGroups[i];
            PadState& pad = pads[i];
            pad.up |= Held(keys, g.up);
            pad.down |= Held(keys, g.down);
            pad.left |= Held(keys, g.left);
            pad.right |= Held(keys, g.right);
            for (int b = 0; b < g.buttonCount; ++b) {
                pad.buttons[b] |= Held(keys, g.buttons[b][0]) || Held(keys, g.buttons[b][1]);
            }
            pad.axisY += pad.up ? -1.0f : (pad.down ? 1.0f : 0.0f);
            pad.axisX += pad.left ? -1.0f : (pad.right ? 1.0f : 0.0f);
        }
    }

    // Controllers past the sixteenth have no pad and are not read.
    const int count = devices->JoystickCount();
    for (int i = 0; i < count && i < kPadCount; ++i) {
        if (!devices->AcquireJoystick(i)) continue;
        JoystickReading r;
        if (!devices->ReadJoystick(i, r)) continue;
        PadState& pad = pads[i];
        pad.up |= r.axisY < -200;
        pad.down |= r.axisY > 200;
        pad.left |= r.axisX < -200;
        pad.right |= r.axisX > 200;
        for (int k = 0; k <= 32; ++k) pad.buttons[k] |= (r.buttons[k] & 0x80) != 0;
        pad.axisY += StickValue(r.axisY);
        pad.axisX += StickValue(r.axisX);
    }
}
