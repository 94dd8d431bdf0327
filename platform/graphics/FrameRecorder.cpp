#include "platform/graphics/FrameRecorder.h"

#include <utility>

void FrameRecorder::Reserve(size_t quads)
{
    frame_.Reserve(quads);
    shown_.Reserve(quads);
}

void FrameRecorder::Begin(const Viewport& viewport, const RenderState& state, std::uint32_t texture)
{
    frame_.Begin(viewport, state, texture);
    recording_ = true;
}

FrameRecorder::Verdict FrameRecorder::Decide()
{
    if (!recording_) return Verdict::Drawn;
    if (!allowSkip_ || !shownValid_ || mustDraw_ || skippedInRow_ >= kMaxSkippedInRow || frame_ != shown_)
        return Verdict::Replay;
    ++skippedFrames_;
    ++skippedInRow_;
    return Verdict::Skip;
}

void FrameRecorder::Presented()
{
    if (recording_) std::swap(shown_, frame_);
    shownValid_ = recording_;
    recording_ = false;
    mustDraw_ = false;
    skippedInRow_ = 0;
}

void FrameRecorder::Forget()
{
    frame_.Begin(Viewport(), RenderState(), 0);
    shown_.Begin(Viewport(), RenderState(), 0);
    recording_ = shownValid_ = false;
    mustDraw_ = true;
}
