#include "platform/input/SdlInput.h"

#include <cstring>
#include <iterator>

#include "platform/window/SdlWindow.h"

namespace sdl {

int DikOf(SDL_Scancode s)
{
    static const struct {
        SDL_Scancode sdl;
        int dik;
    } kMap[] = {
        {SDL_SCANCODE_ESCAPE, 0x01}, {SDL_SCANCODE_1, 0x02}, {SDL_SCANCODE_2, 0x03}, {SDL_SCANCODE_3, 0x04},
        {SDL_SCANCODE_4, 0x05}, {SDL_SCANCODE_5, 0x06}, {SDL_SCANCODE_6, 0x07}, {SDL_SCANCODE_7, 0x08},
        {SDL_SCANCODE_8, 0x09}, {SDL_SCANCODE_9, 0x0A}, {SDL_SCANCODE_0, 0x0B}, {SDL_SCANCODE_MINUS, 0x0C},
        {SDL_SCANCODE_EQUALS, 0x0D}, {SDL_SCANCODE_BACKSPACE, 0x0E}, {SDL_SCANCODE_TAB, 0x0F},
        {SDL_SCANCODE_Q, 0x10}, {SDL_SCANCODE_W, 0x11}, {SDL_SCANCODE_E, 0x12}, {SDL_SCANCODE_R, 0x13},
        {SDL_SCANCODE_T, 0x14}, {SDL_SCANCODE_Y, 0x15}, {SDL_SCANCODE_U, 0x16}, {SDL_SCANCODE_I, 0x17},
        {SDL_SCANCODE_O, 0x18}, {SDL_SCANCODE_P, 0x19}, {SDL_SCANCODE_LEFTBRACKET, 0x1A},
        {SDL_SCANCODE_RIGHTBRACKET, 0x1B}, {SDL_SCANCODE_RETURN, 0x1C}, {SDL_SCANCODE_LCTRL, 0x1D},
        {SDL_SCANCODE_A, 0x1E}, {SDL_SCANCODE_S, 0x1F}, {SDL_SCANCODE_D, 0x20}, {SDL_SCANCODE_F, 0x21},
        {SDL_SCANCODE_G, 0x22}, {SDL_SCANCODE_H, 0x23}, {SDL_SCANCODE_J, 0x24}, {SDL_SCANCODE_K, 0x25},
        {SDL_SCANCODE_L, 0x26}, {SDL_SCANCODE_SEMICOLON, 0x27}, {SDL_SCANCODE_APOSTROPHE, 0x28},
        {SDL_SCANCODE_GRAVE, 0x29}, {SDL_SCANCODE_LSHIFT, 0x2A}, {SDL_SCANCODE_BACKSLASH, 0x2B},
        {SDL_SCANCODE_Z, 0x2C}, {SDL_SCANCODE_X, 0x2D}, {SDL_SCANCODE_C, 0x2E}, {SDL_SCANCODE_V, 0x2F},
        {SDL_SCANCODE_B, 0x30}, {SDL_SCANCODE_N, 0x31}, {SDL_SCANCODE_M, 0x32}, {SDL_SCANCODE_COMMA, 0x33},
        {SDL_SCANCODE_PERIOD, 0x34}, {SDL_SCANCODE_SLASH, 0x35}, {SDL_SCANCODE_RSHIFT, 0x36},
        {SDL_SCANCODE_KP_MULTIPLY, 0x37}, {SDL_SCANCODE_LALT, 0x38}, {SDL_SCANCODE_SPACE, 0x39},
        {SDL_SCANCODE_CAPSLOCK, 0x3A}, {SDL_SCANCODE_F1, 0x3B}, {SDL_SCANCODE_F2, 0x3C},
        {SDL_SCANCODE_F3, 0x3D}, {SDL_SCANCODE_F4, 0x3E}, {SDL_SCANCODE_F5, 0x3F}, {SDL_SCANCODE_F6, 0x40},
        {SDL_SCANCODE_F7, 0x41}, {SDL_SCANCODE_F8, 0x42}, {SDL_SCANCODE_F9, 0x43}, {SDL_SCANCODE_F10, 0x44},
        {SDL_SCANCODE_NUMLOCKCLEAR, 0x45}, {SDL_SCANCODE_SCROLLLOCK, 0x46}, {SDL_SCANCODE_KP_7, 0x47},
        {SDL_SCANCODE_KP_8, 0x48}, {SDL_SCANCODE_KP_9, 0x49}, {SDL_SCANCODE_KP_MINUS, 0x4A},
        {SDL_SCANCODE_KP_4, 0x4B}, {SDL_SCANCODE_KP_5, 0x4C}, {SDL_SCANCODE_KP_6, 0x4D},
        {SDL_SCANCODE_KP_PLUS, 0x4E}, {SDL_SCANCODE_KP_1, 0x4F}, {SDL_SCANCODE_KP_2, 0x50},
        {SDL_SCANCODE_KP_3, 0x51}, {SDL_SCANCODE_KP_0, 0x52}, {SDL_SCANCODE_KP_PERIOD, 0x53},
        {SDL_SCANCODE_F11, 0x57}, {SDL_SCANCODE_F12, 0x58}, {SDL_SCANCODE_KP_ENTER, 0x9C},
        {SDL_SCANCODE_RCTRL, 0x9D}, {SDL_SCANCODE_KP_DIVIDE, 0xB5}, {SDL_SCANCODE_RALT, 0xB8},
        {SDL_SCANCODE_HOME, 0xC7}, {SDL_SCANCODE_UP, 0xC8}, {SDL_SCANCODE_PAGEUP, 0xC9},
        {SDL_SCANCODE_LEFT, 0xCB}, {SDL_SCANCODE_RIGHT, 0xCD}, {SDL_SCANCODE_END, 0xCF},
        {SDL_SCANCODE_DOWN, 0xD0}, {SDL_SCANCODE_PAGEDOWN, 0xD1}, {SDL_SCANCODE_INSERT, 0xD2},
        {SDL_SCANCODE_DELETE, 0xD3},
    };
    for (const auto& m : kMap) {
        if (m.sdl == s) return m.dik;
    }
    return 0;
}

namespace {

// Pad buttons of every controller SDL's database knows, by position (SDL's A is the bottom face button).
// Chosen with the keys that feed the same pad buttons and the shipped Config.ini: 0 slows (V), 2 fires and
// decides (F), 6 pauses (Space).
const SDL_GameControllerButton kLayout[] = {
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER,   // 0
    SDL_CONTROLLER_BUTTON_B,              // 1 right face
    SDL_CONTROLLER_BUTTON_A,              // 2 bottom face
    SDL_CONTROLLER_BUTTON_Y,              // 3 top face
    SDL_CONTROLLER_BUTTON_X,              // 4 left face
    SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,  // 5
    SDL_CONTROLLER_BUTTON_START,          // 6
    SDL_CONTROLLER_BUTTON_BACK,           // 7
    SDL_CONTROLLER_BUTTON_INVALID,        // 8 left trigger
    SDL_CONTROLLER_BUTTON_INVALID,        // 9 right trigger
    SDL_CONTROLLER_BUTTON_LEFTSTICK,      // 10
    SDL_CONTROLLER_BUTTON_RIGHTSTICK,     // 11
    SDL_CONTROLLER_BUTTON_GUIDE,          // 12
    SDL_CONTROLLER_BUTTON_DPAD_UP,        // 13
    SDL_CONTROLLER_BUTTON_DPAD_DOWN,      // 14
    SDL_CONTROLLER_BUTTON_DPAD_LEFT,      // 15
    SDL_CONTROLLER_BUTTON_DPAD_RIGHT,     // 16
    SDL_CONTROLLER_BUTTON_MISC1,          // 17 share, capture, microphone
    SDL_CONTROLLER_BUTTON_PADDLE1,        // 18
    SDL_CONTROLLER_BUTTON_PADDLE2,        // 19
    SDL_CONTROLLER_BUTTON_PADDLE3,        // 20
    SDL_CONTROLLER_BUTTON_PADDLE4,        // 21
    SDL_CONTROLLER_BUTTON_TOUCHPAD,       // 22
};
const int kLeftTrigger = 8;
const int kRightTrigger = 9;
const Sint16 kTriggerHeld = 16384;  // half way down
const std::int32_t kDeadZone = 200;  // of the game's stick reading

std::int32_t Scale(Sint16 v)
{
    const std::int32_t scaled = static_cast<std::int32_t>(v) * 1000 / 32767;
    return scaled < -1000 ? -1000 : scaled;
}

// The D-pad steers at full deflection, unless the stick is pushed past its dead zone.
std::int32_t WithDpad(std::int32_t stick, bool negative, bool positive)
{
    if (stick < -kDeadZone || stick > kDeadZone) return stick;
    if (negative) return -1000;
    if (positive) return 1000;
    return stick;
}

void ReadController(SDL_GameController* c, JoystickReading& r)
{
    auto held = [c](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(c, b) != 0; };
    r.axisX = WithDpad(Scale(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX)),
                       held(SDL_CONTROLLER_BUTTON_DPAD_LEFT), held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT));
    r.axisY = WithDpad(Scale(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY)),
                       held(SDL_CONTROLLER_BUTTON_DPAD_UP), held(SDL_CONTROLLER_BUTTON_DPAD_DOWN));
    for (int k = 0; k < static_cast<int>(std::size(kLayout)); ++k) {
        if (kLayout[k] != SDL_CONTROLLER_BUTTON_INVALID && held(kLayout[k])) r.buttons[k] = 0x80;
    }
    if (SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERLEFT) >= kTriggerHeld) r.buttons[kLeftTrigger] = 0x80;
    if (SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) >= kTriggerHeld) r.buttons[kRightTrigger] = 0x80;
}

void ReadRaw(SDL_Joystick* j, JoystickReading& r)
{
    const Uint8 hat = SDL_JoystickNumHats(j) > 0 ? SDL_JoystickGetHat(j, 0) : SDL_HAT_CENTERED;
    r.axisX = WithDpad(SDL_JoystickNumAxes(j) > 0 ? Scale(SDL_JoystickGetAxis(j, 0)) : 0, hat & SDL_HAT_LEFT,
                       hat & SDL_HAT_RIGHT);
    r.axisY = WithDpad(SDL_JoystickNumAxes(j) > 1 ? Scale(SDL_JoystickGetAxis(j, 1)) : 0, hat & SDL_HAT_UP,
                       hat & SDL_HAT_DOWN);
    const int buttons = SDL_JoystickNumButtons(j);
    for (int k = 0; k < 33 && k < buttons; ++k) {
        if (SDL_JoystickGetButton(j, k)) r.buttons[k] = 0x80;
    }
}

}  // namespace

Input::Input(Window* window) : window_(window)
{
    // Nintendo pads too: SDL's A is the bottom face button, whatever its label.
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return;
    // Controllers already attached, in enumeration order; their "added" events come later and are ignored.
    const int n = SDL_NumJoysticks();
    for (int i = 0; i < n; ++i) Open(i);
}

void Input::Open(int deviceIndex)
{
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0) return;
    for (const Device& have : devices_) {
        if (have.joystick && SDL_JoystickInstanceID(have.joystick) == id) return;
    }
    Device d;
    if (SDL_IsGameController(deviceIndex) && (d.controller = SDL_GameControllerOpen(deviceIndex)))
        d.joystick = SDL_GameControllerGetJoystick(d.controller);
    else
        d.joystick = SDL_JoystickOpen(deviceIndex);
    if (d.joystick) devices_.push_back(d);
}

void Input::Close(Device& d)
{
    if (d.controller)
        SDL_GameControllerClose(d.controller);
    else if (d.joystick)
        SDL_JoystickClose(d.joystick);
    d = Device();
}

Input::~Input()
{
    for (Device& d : devices_) Close(d);
}

void Input::OnEvent(const SDL_Event& e)
{
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        // A repeat would latch a key already held, so it would read held for a step after its release.
        if (e.key.repeat) break;
        int dik = DikOf(e.key.keysym.scancode);
        if (dik) keys_[dik] = e.type == SDL_KEYDOWN ? 0x80 : 0;
        if (dik && e.type == SDL_KEYDOWN) tapped_[dik] = 0x80;
        break;
    }
    case SDL_WINDOWEVENT:
        // Keys released while another window had focus never reach us.
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            std::memset(keys_, 0, sizeof keys_);
            std::memset(tapped_, 0, sizeof tapped_);
        }
        break;
    case SDL_JOYDEVICEADDED:
        Open(e.jdevice.which);
        break;
    case SDL_JOYDEVICEREMOVED:
        for (Device& d : devices_) {
            if (d.joystick && SDL_JoystickInstanceID(d.joystick) == e.jdevice.which) Close(d);
        }
        break;
    default:
        break;
    }
}

bool Input::AcquireKeyboard()
{
    return window_ && window_->IsForeground();
}

bool Input::ReadKeyboard(std::uint8_t keys[256])
{
    // A key pressed and released between two readings still reads held once: a quick tap is
    // never lost between update steps.
    for (int i = 0; i < 256; ++i) keys[i] = keys_[i] | tapped_[i];
    std::memset(tapped_, 0, sizeof tapped_);
    return true;
}

bool Input::AcquireJoystick(int index)
{
    return index >= 0 && index < JoystickCount() && devices_[index].joystick &&
           SDL_JoystickGetAttached(devices_[index].joystick) && window_ && window_->IsForeground();
}

bool Input::ReadJoystick(int index, JoystickReading& r)
{
    if (index < 0 || index >= JoystickCount() || !devices_[index].joystick) return false;
    SDL_JoystickUpdate();
    r = JoystickReading();
    if (devices_[index].controller)
        ReadController(devices_[index].controller, r);
    else
        ReadRaw(devices_[index].joystick, r);
    return true;
}

}  // namespace sdl
