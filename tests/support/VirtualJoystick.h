// Software controllers (SDL virtual joysticks) for the tests: they arrive through the same device events
// as real ones. Attach returns the SDL device index, or -1.
#pragma once

namespace testsupport {

// A joystick that SDL's controller database does not know: read raw.
int AttachVirtualJoystick(int axes, int buttons, int hats = 0);
// One it knows: axes left stick x, y, right stick x, y, left and right trigger; buttons in SDL's order
// (A, B, X, Y, Back, Guide, Start, stick clicks, shoulders); hat 0 is the D-pad.
int AttachVirtualController(int buttons);
bool DetachVirtualJoystick(int deviceIndex);
// Raw SDL values: axes −32768 … 32767; hats a mask of SDL_HAT_UP, _RIGHT, _DOWN, _LEFT.
bool SetVirtualJoystickAxis(int deviceIndex, int axis, int value);
bool SetVirtualJoystickButton(int deviceIndex, int button, bool held);
bool SetVirtualJoystickHat(int deviceIndex, int hat, int value);

}  // namespace testsupport
