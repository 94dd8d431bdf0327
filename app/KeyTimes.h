// Where the time goes between a key and the frame that shows it, as the loop sees it: medians over a run.
#pragma once
#include <string>
#include <vector>

class KeyTimes {
public:
    // Room for this many keys, taken now so that recording never allocates; nothing is recorded before.
    void Start(size_t keys);
    bool On() const { return on_; }
    // Moments in seconds on the loop's clock. A key counts from when its message is taken until the first
    // frame after it is swapped; keys that come meanwhile ride along uncounted.
    void KeyDown(double at);
    void StepsBegin(double at);
    void StepsEnd(double at);
    void FrameShown(double drawn, double returned);
    // A key whose step drew nothing new is not counted.
    void FrameNotShown();
    // "keys: N, median to step …, steps …, drawing …, swap … ms"; empty when no key was counted.
    std::string Report() const;

private:
    enum class Phase { Idle, Waiting, Stepping, Drawing };

    bool on_ = false;
    Phase phase_ = Phase::Idle;
    double key_ = 0.0, begin_ = 0.0, end_ = 0.0;
    std::vector<float> toStep_, steps_, drawing_, swap_;  // milliseconds
};
