#include "app/StepPacer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMaxShift = 0.0005;      // per step: 3 % of a step, far below what anyone sees
constexpr double kFirstMargin = 0.0015;   // before the blank, for the swap's own copy and the wake's jitter
constexpr double kLeastMargin = 0.001;
constexpr double kMarginStep = 0.0005;
constexpr int kCalmFramesToShrink = 120;  // two seconds without a late frame
constexpr double kProof = 0.004;          // shifts given before judging whether the returns stayed put
constexpr int kRetryFrames = 1800;        // half a minute on the old schedule before looking again
constexpr double kRecentFrames = 120.0;   // how long shifts count towards the steps' recent drift

}  // namespace

void StepPacer::SetDisplay(double stepSeconds, int refreshHz, bool swapMayWait)
{
    if (stepSeconds == step_ && refreshHz == refreshHz_ && swapMayWait == swapMayWait_) return;
    step_ = stepSeconds;
    refreshHz_ = refreshHz;
    swapMayWait_ = swapMayWait;
    period_ = 0.0;
    if (swapMayWait && refreshHz > 0 && stepSeconds > 0.0) {
        // 59.94 Hz counts as 60: the blanks are then followed as they drift.
        const double perStep = refreshHz * stepSeconds;
        const double whole = std::round(perStep);
        if (whole >= 1.0 && std::fabs(perStep - whole) <= 0.02 * whole) period_ = stepSeconds / whole;
    }
    Restart();
}

void StepPacer::Restart()
{
    state_ = period_ > 0.0 ? State::Learning : State::Off;
    frames_ = 0;
    margin_ = kFirstMargin;
    calmFrames_ = 0;
    shifted_ = 0.0;
    recentShift_ = 0.0;
    placed_ = false;
    leftOut_ = false;
    blindFrames_ = 0;
}

double StepPacer::Wrap(double seconds) const
{
    double r = std::fmod(seconds, period_);
    if (r > period_ / 2) r -= period_;
    if (r <= -period_ / 2) r += period_;
    return r;
}

double StepPacer::DrawingTime() const
{
    // The second longest of the recent frames: one stalled wake does not move every step.
    const int n = std::min(frames_, kDraws);
    double longest = 0.0, second = 0.0;
    for (int i = 0; i < n; ++i) {
        const double d = draws_[static_cast<size_t>(i)];
        if (d > longest) {
            second = longest;
            longest = d;
        } else if (d > second) {
            second = d;
        }
    }
    return n > 1 ? second : longest;
}

bool StepPacer::LeaveOutFrame(double due, double now)
{
    leftOut_ = !leftOut_ && state_ == State::Locked && now - due > margin_;
    return leftOut_;
}

double StepPacer::GoBlind()
{
    state_ = State::Blind;
    blindFrames_ = 0;
    return 0.0;
}

double StepPacer::FrameShown(double due, double drawn, double returned, double nextDue)
{
    if (state_ == State::Off) return 0.0;
    if (state_ == State::Blind) {
        if (++blindFrames_ >= kRetryFrames) Restart();
        return 0.0;
    }
    if (frames_ == 0) {
        phase_ = returned;
        verdictPhase_ = returned;
        lastReturned_ = returned;
    }
    // The step could not begin before the swap of the frame before it returned.
    draws_[static_cast<size_t>(frames_ % kDraws)] = std::max(0.0, drawn - std::max(due, lastReturned_));
    returns_[static_cast<size_t>(frames_ % kReturns)] = returned;
    lastReturned_ = returned;
    ++frames_;

    // A swap that waits returns at the blank plus its own copy; anything later is the copy held up, so the
    // earliest recent return is the best guess of where the blanks fall.
    double earliest = period_;
    for (int i = 0; i < std::min(frames_, kReturns); ++i)
        earliest = std::min(earliest, Wrap(returns_[static_cast<size_t>(i)] - phase_));
    phase_ += earliest;

    // A frame whose step fell where it was placed, yet whose swap returned a refresh after the blank it was
    // placed for, missed that blank: keep more margin.
    const bool placed = placed_ && std::fabs(due - placedDue_) < kMaxShift;
    if (state_ == State::Locked && placed && returned > placedFor_ + period_ / 2) {
        margin_ = std::min(margin_ + kMarginStep, period_ / 3);
        calmFrames_ = 0;
    } else if (++calmFrames_ >= kCalmFramesToShrink) {
        margin_ = std::max(margin_ - kMarginStep / 2, kLeastMargin);
        calmFrames_ = 0;
    }

    // The next step goes where its frame is drawn just before a blank: the place nearest its schedule, but
    // not before now, when this swap returned. Drawing that fills most of a refresh leaves no such place.
    const double lead = margin_ + DrawingTime();
    double shift = 0.0;
    if (lead < period_ * 0.75) {
        double place = phase_ - lead;
        place += period_ * std::round((nextDue - place) / period_);
        if (place < returned) place += period_ * std::ceil((returned - place) / period_);
        shift = std::clamp(nextDue - place, -kMaxShift, kMaxShift);
        placedFor_ = place + lead;
    }
    placed_ = lead < period_ * 0.75 && std::fabs(shift) < kMaxShift;
    placedDue_ = nextDue - shift;
    shifted_ += shift;
    recentShift_ = recentShift_ * (1.0 - 1.0 / kRecentFrames) + shift;

    // Steps that keep moving one way find no blank to settle before: the steps would lose their rate.
    if (std::fabs(recentShift_) > period_ * 1.25) return GoBlind();

    // Judge once the steps have moved enough: returns that stayed put come from a swap that waits for the
    // blank; returns that moved with the steps come from one that does not, and there is no blank to learn.
    if (std::fabs(shifted_) >= kProof) {
        double moved = period_;
        for (int back = 1; back <= std::min(frames_, 4); ++back)
            moved = std::min(moved, Wrap(returns_[static_cast<size_t>((frames_ - back) % kReturns)] - verdictPhase_));
        const bool followed = std::fabs(moved + (shifted_ - shift)) < std::fabs(shifted_) / 2;
        shifted_ = 0.0;
        verdictPhase_ = phase_;
        if (followed) return GoBlind();
        state_ = State::Locked;
    }
    return shift;
}
