#include "platform/window/BoxPad.h"

#include <algorithm>

namespace sdl {

namespace {

constexpr int kLean = 16384;     // a stick pushed half way steps the focus once
constexpr int kCentred = 8192;   // and must come back this near the middle before it steps again
constexpr int kRawClose = 1;

// A pad SDL knows sends a controller event and a joystick event for one press: only the first counts.
bool IsController(SDL_JoystickID pad)
{
    return SDL_GameControllerFromInstanceID(pad) != nullptr;
}

BoxPad::Act Step(int side)
{
    return side > 0 ? BoxPad::Act::Next : BoxPad::Act::Previous;
}

}  // namespace

void BoxPad::Start()
{
    start_ = SDL_GetTicks();
    presses_.clear();
    leans_.clear();
    // A stick or hat leaning now is noted, so it steps the focus only once it has come back and leans again.
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        const SDL_JoystickID pad = SDL_JoystickGetDeviceInstanceID(i);
        if (SDL_GameController* c = SDL_GameControllerFromInstanceID(pad)) {
            Axis(pad, 0, SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX));
            Axis(pad, 1, SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY));
        } else if (SDL_Joystick* j = SDL_JoystickFromInstanceID(pad)) {
            for (int axis = 0; axis < 2 && axis < SDL_JoystickNumAxes(j); ++axis)
                Axis(pad, axis, SDL_JoystickGetAxis(j, axis));
            if (SDL_JoystickNumHats(j) > 0) Hat(pad, SDL_JoystickGetHat(j, 0));
        }
    }
}

BoxPad::Act BoxPad::Take(const SDL_Event& e)
{
    // Stamped up to the start: queued before the box (the press that opened it may still be waiting).
    const bool old = static_cast<Sint32>(e.common.timestamp - start_) <= 0;
    switch (e.type) {
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        const bool down = e.type == SDL_CONTROLLERBUTTONDOWN;
        const int button = e.cbutton.button;
        switch (button) {
        case SDL_CONTROLLER_BUTTON_A: return Button(e.cbutton.which, button, down, old, Act::Decide);
        case SDL_CONTROLLER_BUTTON_B:
        case SDL_CONTROLLER_BUTTON_BACK: return Button(e.cbutton.which, button, down, old, Act::Close);
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return down && !old ? Act::Next : Act::None;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        case SDL_CONTROLLER_BUTTON_DPAD_UP: return down && !old ? Act::Previous : Act::None;
        default: return Act::None;
        }
    }
    case SDL_CONTROLLERAXISMOTION: {
        const int axis = e.caxis.axis;
        if (axis != SDL_CONTROLLER_AXIS_LEFTX && axis != SDL_CONTROLLER_AXIS_LEFTY) return Act::None;
        const Act act = Axis(e.caxis.which, axis == SDL_CONTROLLER_AXIS_LEFTX ? 0 : 1, e.caxis.value);
        return old ? Act::None : act;
    }
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP: {
        if (IsController(e.jbutton.which)) return Act::None;
        const bool down = e.type == SDL_JOYBUTTONDOWN;
        const int button = e.jbutton.button;
        if (button == rawDecide_) return Button(e.jbutton.which, kRaw + button, down, old, Act::Decide);
        if (button == kRawClose) return Button(e.jbutton.which, kRaw + button, down, old, Act::Close);
        return Act::None;
    }
    case SDL_JOYAXISMOTION: {
        if (IsController(e.jaxis.which) || e.jaxis.axis > 1) return Act::None;
        const Act act = Axis(e.jaxis.which, e.jaxis.axis, e.jaxis.value);
        return old ? Act::None : act;
    }
    case SDL_JOYHATMOTION: {
        if (IsController(e.jhat.which) || e.jhat.hat != 0) return Act::None;
        const Act act = Hat(e.jhat.which, e.jhat.value);
        return old ? Act::None : act;
    }
    case SDL_JOYDEVICEREMOVED: {
        const SDL_JoystickID pad = e.jdevice.which;
        std::erase_if(presses_, [pad](const Press& p) { return p.pad == pad; });
        std::erase_if(leans_, [pad](const Lean& l) { return l.pad == pad; });
        return Act::None;
    }
    default:
        return Act::None;
    }
}

BoxPad::Act BoxPad::Button(SDL_JoystickID pad, int button, bool down, bool old, Act act)
{
    const auto same = [pad, button](const Press& p) { return p.pad == pad && p.button == button; };
    const auto it = std::find_if(presses_.begin(), presses_.end(), same);
    if (down) {
        if (!old && it == presses_.end()) presses_.push_back({pad, button, act});
        return Act::None;
    }
    // Up without a press inside the box: held from before it, as the press that opened it.
    if (it == presses_.end()) return Act::None;
    presses_.erase(it);
    return act;
}

BoxPad::Lean& BoxPad::Find(SDL_JoystickID pad, int axis)
{
    for (Lean& l : leans_) {
        if (l.pad == pad && l.axis == axis) return l;
    }
    leans_.push_back({pad, axis, 0});
    return leans_.back();
}

BoxPad::Act BoxPad::Axis(SDL_JoystickID pad, int axis, int value)
{
    Lean& l = Find(pad, axis);
    const int side = value >= kLean ? 1 : value <= -kLean ? -1 : 0;
    if (side != 0 && side != l.value) {
        l.value = side;
        return Step(side);
    }
    if (value > -kCentred && value < kCentred) l.value = 0;
    return Act::None;
}

BoxPad::Act BoxPad::Hat(SDL_JoystickID pad, int value)
{
    Lean& l = Find(pad, kHat);
    const int fresh = value & ~l.value;
    l.value = value;
    if (fresh & (SDL_HAT_RIGHT | SDL_HAT_DOWN)) return Act::Next;
    if (fresh & (SDL_HAT_LEFT | SDL_HAT_UP)) return Act::Previous;
    return Act::None;
}

bool BoxPad::Pressing() const
{
    return std::any_of(presses_.begin(), presses_.end(), [](const Press& p) { return p.act == Act::Decide; });
}

bool BoxPad::DecideHeld() const
{
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        const SDL_JoystickID pad = SDL_JoystickGetDeviceInstanceID(i);
        if (SDL_GameController* c = SDL_GameControllerFromInstanceID(pad)) {
            if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_A)) return true;
        } else if (SDL_Joystick* j = SDL_JoystickFromInstanceID(pad)) {
            if (rawDecide_ >= 0 && rawDecide_ < SDL_JoystickNumButtons(j) && SDL_JoystickGetButton(j, rawDecide_))
                return true;
        }
    }
    return false;
}

bool BoxPad::Names(std::string& decide, std::string& close) const
{
    if (SDL_NumJoysticks() <= 0) return false;
    if (!SDL_IsGameController(0)) {
        // Numbered as the game's button map numbers them.
        decide = "ボタン" + std::to_string(rawDecide_);
        close = "ボタン" + std::to_string(kRawClose);
        return true;
    }
    switch (SDL_GameControllerTypeForIndex(0)) {
    case SDL_CONTROLLER_TYPE_PS3:
    case SDL_CONTROLLER_TYPE_PS4:
    case SDL_CONTROLLER_TYPE_PS5:
        decide = "×";
        close = "○";
        break;
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_PAIR:
        decide = "B";
        close = "A";
        break;
    default:
        decide = "A";
        close = "B";
        break;
    }
    return true;
}

}  // namespace sdl
