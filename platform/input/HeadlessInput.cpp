#include "platform/input/HeadlessInput.h"

#include <cstring>

#include "platform/window/IWindow.h"

namespace headless {

bool Input::AcquireKeyboard()
{
    return !window || window->IsForeground();
}

bool Input::ReadKeyboard(std::uint8_t out[256])
{
    std::memcpy(out, keys, 256);
    return true;
}

bool Input::AcquireJoystick(int index)
{
    if (index < 0 || index >= JoystickCount() || !joysticks[index].attached) return false;
    return !window || window->IsForeground();
}

bool Input::ReadJoystick(int index, JoystickReading& r)
{
    if (index < 0 || index >= JoystickCount() || !joysticks[index].attached) return false;
    r = joysticks[index].reading;
    return true;
}

void Input::ReleaseAllKeys()
{
    std::memset(keys, 0, sizeof keys);
}

int Input::AttachJoystick()
{
    joysticks.push_back(Pad());
    return JoystickCount() - 1;
}

void Input::DetachJoystick(int index)
{
    if (index >= 0 && index < JoystickCount()) joysticks[index].attached = false;
}

}  // namespace headless
