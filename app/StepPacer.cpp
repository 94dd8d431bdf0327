#include "app/StepPacer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMaxShift = 0.0005;      // per step: 3 % of a step, far below what anyone sees
constexpr double kFirstMargin = 0.0015;   // before the blank, for the swap's own copy and the wake's jitter
constexpr double kLeastMargin = 0.001;
constexpr double kMarginStep = 0.0005;
constexpr int kCalmFrames = 120;          // two seconds
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
    lateFrames_ = kCalmFrames;
    shifted_ = 0.0;
    judged_ = 0;
    placedFrames_ = 0;
    recentShift_ = 0.0;
    placed_ = false;
    leftOut_ = false;
    blindFrames_ = 0;
    blindVerdicts_ = 0;
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
    // Even the quickest of the recent frames would come after the blank.
    double quickest = period_;
    for (int i = 0; i < std::min(frames_, kDraws); ++i) quickest = std::min(quickest, draws_[static_cast<size_t>(i)]);
    leftOut_ = !leftOut_ && NeedsDrawnTimes() && Placed(due) && now + quickest > placedFor_;
    return leftOut_;
}

bool StepPacer::Placed(double due) const
{
    return placed_ && std::fabs(due - placedDue_) < kMaxShift;
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
        lastReturned_ = returned;
    }
    // How long the swaps took since the last verdict: the shortest and the two longest.
    const double took = returned - drawn;
    if (judged_ == 0 || took < tookLeast_) tookLeast_ = took;
    if (judged_ == 0 || took > tookMost_[0]) {
        tookMost_[1] = judged_ == 0 ? took : tookMost_[0];
        tookMost_[0] = took;
    } else if (took > tookMost_[1]) {
        tookMost_[1] = took;
    }
    ++judged_;
    // The step could not begin before the swap of the frame before it returned. Held up so, it was not
    // where the shifts put it, and its swap tells nothing of them.
    const bool held = due < lastReturned_;
    draws_[static_cast<size_t>(frames_ % kDraws)] = std::max(0.0, drawn - std::max(due, lastReturned_));
    if (held) {
        shifted_ = 0.0;
        judged_ = 0;
    }
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
    // placed for, missed that blank. One now and then is a stall the margin could not have covered; a
    // second soon after asks for more margin, and a calm while gives some back.
    if (state_ == State::Locked && Placed(due) && returned > placedFor_ + period_ / 2) {
        if (lateFrames_ < kCalmFrames) margin_ = std::min(margin_ + kMarginStep, period_ / 3);
        lateFrames_ = 0;
        calmFrames_ = 0;
    } else {
        if (lateFrames_ < kCalmFrames) ++lateFrames_;
        if (++calmFrames_ >= kCalmFrames) {
            margin_ = std::max(margin_ - kMarginStep / 2, kLeastMargin);
            calmFrames_ = 0;
        }
    }

    // The next step goes where its frame is drawn just before a blank: the place nearest its schedule. (One
    // that can no longer make it, the swap before it returning too late, leaves its frame out.) Drawing that
    // fills most of a refresh leaves no such place.
    const double lead = margin_ + DrawingTime();
    double shift = 0.0;
    if (lead < period_ * 0.75) {
        double place = phase_ - lead;
        place += period_ * std::round((nextDue - place) / period_);
        shift = std::clamp(nextDue - place, -kMaxShift, kMaxShift);
        placedFor_ = place + lead;
        // Within a shift or two of its place the step is meant for that blank (a margin that grew moves it).
        placed_ = std::fabs(nextDue - place) <= 2 * kMaxShift;
    } else {
        placed_ = false;
    }
    placedDue_ = nextDue - shift;
    shifted_ += shift;
    recentShift_ = recentShift_ * (1.0 - 1.0 / kRecentFrames) + shift;

    // Steps that keep moving one way find no blank to settle before: the steps would lose their rate.
    if (std::fabs(recentShift_) > period_ * 1.25) return GoBlind();

    // Judge once the steps have moved enough. A swap that waits for the blank takes as much longer as its
    // frame comes earlier; one that does not takes the same time wherever the steps go, and when they went
    // there at full speed, they were chasing a blank that moved with them. (Steps that follow a display
    // drifting against the loop's clock take the same time too, but move slowly.)
    if (std::fabs(shifted_) >= kProof) {
        const bool chased = judged_ <= 2 * std::fabs(shifted_) / kMaxShift;
        const bool waited = tookMost_[1] - tookLeast_ >= std::fabs(shifted_) / 2;
        shifted_ = 0.0;
        judged_ = 0;
        // The first frames after start-up or a change wait unevenly: one verdict of no blank is not enough.
        if (waited) {
            state_ = State::Locked;
            blindVerdicts_ = 0;
        } else if (chased && ++blindVerdicts_ >= 2) {
            return GoBlind();
        }
    }
    // Steps that stay where they were placed, frame after frame, have found a blank: a swap that did not
    // wait would have sent them chasing.
    placedFrames_ = placed_ ? std::min(placedFrames_ + 1, kCalmFrames) : 0;
    if (placedFrames_ >= kCalmFrames) state_ = State::Locked;
    return shift;
}
