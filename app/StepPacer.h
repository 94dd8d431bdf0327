// Places the loop's update steps against the display's vertical blank, so that a step's frame is drawn just
// before a blank instead of waiting most of a refresh for it.
#pragma once
#include <array>

// A swap that waits for the blank returns at it, which shows where the blanks fall. Each step is then made
// to fall due the recent drawing time plus a margin before a blank, reached by shifts of a fraction of a
// millisecond per step, so that no step is skipped or doubled and the steps keep their rate. A swap that
// takes the same time wherever the steps move (vertical sync off, a driver that queues swaps) shows no
// blank: the schedule is then left alone, and looked at again only much later.
class StepPacer {
public:
    enum class State { Off, Learning, Locked, Blind };

    // The loop's step, the display's refresh rate (0: unknown) and whether the swap may wait for the blank.
    // Steps keep one phase against the blanks only when a whole number of refreshes makes a step. Learning
    // starts over whenever one of them changes.
    void SetDisplay(double stepSeconds, int refreshHz, bool swapMayWait);
    // A step's frame was swapped: the step fell due at `due`, the frame was drawn at `drawn` and the swap
    // returned at `returned`; the next step falls due at `nextDue` (seconds on the loop's clock). Returns the
    // seconds by which to bring the next step forward (negative: put it back).
    double FrameShown(double due, double drawn, double returned, double nextDue);

    // Whether a step placed for a blank, beginning now, is too late to have its frame drawn before that
    // blank (held up by the swap before it, say). Shown, its frame would wait a whole refresh, and so would
    // every frame after it, each step then waiting for the swap before it; left out, the next frame is back
    // before its blank. Never two frames running.
    bool LeaveOutFrame(double due, double now);

    State GetState() const { return state_; }
    // Frames must be complete when their swap is asked for, so that `drawn` is the frame's own moment.
    bool NeedsDrawnTimes() const { return state_ == State::Learning || state_ == State::Locked; }
    double Margin() const { return margin_; }
    double DrawingTime() const;

private:
    static constexpr int kDraws = 32;
    static constexpr int kReturns = 8;

    void Restart();
    double GoBlind();  // returns no shift
    bool Placed(double due) const;  // the step due then was placed for a blank
    double Wrap(double seconds) const;  // into (-period/2, period/2]

    double step_ = 0.0;
    int refreshHz_ = -1;
    bool swapMayWait_ = false;
    double period_ = 0.0;  // between the blanks the steps are placed against
    State state_ = State::Off;

    std::array<double, kDraws> draws_{};  // due to drawn, of recent frames
    std::array<double, kReturns> returns_{};
    int frames_ = 0;
    double phase_ = 0.0;   // a moment the swaps return at, the lower envelope of recent returns
    double margin_ = 0.0;
    int calmFrames_ = 0;   // frames since one was late for its blank, or since the margin last shrank
    int lateFrames_ = 0;   // frames since one was late for its blank
    bool placed_ = false;  // the step due at placedDue_ is placed for the blank at placedFor_
    double placedDue_ = 0.0;
    double placedFor_ = 0.0;
    bool leftOut_ = false; // the last frame was left out
    double lastReturned_ = 0.0;
    double shifted_ = 0.0;       // shifts given since the last verdict
    int judged_ = 0;             // frames since the last verdict
    int placedFrames_ = 0;       // frames in a row whose steps fell where placed
    double tookLeast_ = 0.0;     // the shortest swap since then, and the two longest
    double tookMost_[2] = {0.0, 0.0};
    double recentShift_ = 0.0;   // shifts of the last few seconds, the older weighing less
    int blindFrames_ = 0;
    int blindVerdicts_ = 0;      // verdicts in a row that found no blank
};
