// Keyboard and game controllers folded into sixteen uniform pads, sampled once per update step.
#pragma once
#include <vector>

class IInput;

struct PadState {
    bool up, down, left, right;
    bool buttons[128];
    float axisX;
    float axisY;
};

class CInput {
public:
    static constexpr int kPadCount = 16;

    explicit CInput(IInput* devices);
    ~CInput();
    CInput(const CInput&) = delete;
    CInput& operator=(const CInput&) = delete;

    void Update();
    void ReleaseDevices();
    PadState* GetPad(int index) { return &pads[index]; }

    // Stick value of a raw axis reading in −1000 … 1000, with the ±200 dead zone.
    static float StickValue(int raw);

    PadState pads[kPadCount];

private:
    void ClearPads();

    IInput* devices;
};
