// What game controllers ask of a message box: its decide and close answers on a press and release that
// began while the box was up, focus steps from the D-pad and the left stick.
#pragma once
#include <SDL.h>

#include <string>
#include <vector>

namespace sdl {

class BoxPad {
public:
    enum class Act { None, Decide, Close, Next, Previous };

    // rawDecide: the button that decides on a pad SDL knows only as a joystick (the game's button map).
    explicit BoxPad(int rawDecide) : rawDecide_(rawDecide) {}

    // Notes the sticks and hats as they are; events stamped up to now come from before the box.
    void Start();
    // What the event asks of the box; None for events that are not a pad's.
    Act Take(const SDL_Event& e);
    // A decide press went down inside the box and is not up yet.
    bool Pressing() const;
    // Some pad's decide button is down: the box's owner would read it as a new decide.
    bool DecideHeld() const;
    // The first attached pad's decide and close buttons, by their names on it; false when none is attached.
    bool Names(std::string& decide, std::string& close) const;

private:
    struct Press {
        SDL_JoystickID pad;
        int button;  // SDL controller button, or raw button + kRaw
        Act act;
    };
    struct Lean {
        SDL_JoystickID pad;
        int axis;  // a hat: its value; an axis: the side it leans to, -1, 0 or 1
        int value;
    };
    static constexpr int kRaw = 1000;
    static constexpr int kHat = 100;

    Act Button(SDL_JoystickID pad, int button, bool down, bool old, Act act);
    Act Axis(SDL_JoystickID pad, int axis, int value);
    Act Hat(SDL_JoystickID pad, int value);
    Lean& Find(SDL_JoystickID pad, int axis);

    int rawDecide_;
    Uint32 start_ = 0;
    std::vector<Press> presses_;
    std::vector<Lean> leans_;
};

}  // namespace sdl
