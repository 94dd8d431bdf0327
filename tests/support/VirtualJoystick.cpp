#include "tests/support/VirtualJoystick.h"

#include <SDL.h>

#include <iterator>
#include <string>

namespace testsupport {

int AttachVirtualJoystick(int axes, int buttons, int hats)
{
    if (!SDL_WasInit(SDL_INIT_JOYSTICK) && SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return -1;
    return SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, axes, buttons, hats);
}

int AttachVirtualController(int buttons)
{
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return -1;
    const int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, buttons, 1);
    if (device < 0) return -1;
    // SDL's own mapping of a virtual controller leaves hats out: give it one, as real pads' entries read.
    // Mappings name the device without the name checksum (bytes 2 and 3 of the GUID).
    SDL_JoystickGUID id = SDL_JoystickGetDeviceGUID(device);
    id.data[2] = id.data[3] = 0;
    char guid[33];
    SDL_JoystickGetGUIDString(id, guid, sizeof guid);
    static const char* const kButtons[] = {"a", "b", "x", "y", "back", "guide", "start", "leftstick", "rightstick",
                                           "leftshoulder", "rightshoulder"};
    std::string mapping = std::string(guid) + ",Virtual Controller,";
    for (int k = 0; k < buttons && k < static_cast<int>(std::size(kButtons)); ++k)
        mapping += std::string(kButtons[k]) + ":b" + std::to_string(k) + ",";
    mapping += "leftx:a0,lefty:a1,rightx:a2,righty:a3,lefttrigger:+a4,righttrigger:+a5,"
               "dpup:h0.1,dpright:h0.2,dpdown:h0.4,dpleft:h0.8,";
    if (SDL_GameControllerAddMapping(mapping.c_str()) < 0) {
        SDL_JoystickDetachVirtual(device);
        return -1;
    }
    return device;
}

namespace {

// The virtual device's own handle; SDL keeps one per open, so this borrows the one the game holds.
SDL_Joystick* VirtualHandle(int deviceIndex)
{
    if (deviceIndex < 0 || deviceIndex >= SDL_NumJoysticks() || !SDL_JoystickIsVirtual(deviceIndex)) return nullptr;
    SDL_Joystick* j = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(deviceIndex));
    return j ? j : SDL_JoystickOpen(deviceIndex);
}

}  // namespace

bool DetachVirtualJoystick(int deviceIndex)
{
    return SDL_JoystickDetachVirtual(deviceIndex) == 0;
}

bool SetVirtualJoystickAxis(int deviceIndex, int axis, int value)
{
    SDL_Joystick* j = VirtualHandle(deviceIndex);
    return j && SDL_JoystickSetVirtualAxis(j, axis, static_cast<Sint16>(value)) == 0;
}

bool SetVirtualJoystickButton(int deviceIndex, int button, bool held)
{
    SDL_Joystick* j = VirtualHandle(deviceIndex);
    return j && SDL_JoystickSetVirtualButton(j, button, held ? SDL_PRESSED : SDL_RELEASED) == 0;
}

bool SetVirtualJoystickHat(int deviceIndex, int hat, int value)
{
    SDL_Joystick* j = VirtualHandle(deviceIndex);
    return j && SDL_JoystickSetVirtualHat(j, hat, static_cast<Uint8>(value)) == 0;
}

}  // namespace testsupport
