// Decides at present time whether a frame needs drawing: a frame whose record repeats the one on show, with
// nothing in between that may have lost the window's picture, is neither drawn nor swapped.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/graphics/FrameRecord.h"

class FrameRecorder {
public:
    // A picture that should still be on show is drawn again now and then all the same, in case some window
    // system lost it without saying so.
    static constexpr int kMaxSkippedInRow = 60;

    enum class Verdict {
        Skip,    // the picture on show again: nothing to draw, nothing to swap
        Replay,  // draw the record, then swap
        Drawn,   // the frame went straight to the device: swap
    };

    // Room for a heavy frame in the record and in the one on show.
    void Reserve(size_t quads);
    // Records the next frame, which begins in this state.
    void Begin(const Viewport& viewport, const RenderState& state, std::uint32_t texture);
    bool Recording() const { return recording_; }
    // Recording with something in the record.
    bool Holds() const { return recording_ && !frame_.commands.empty(); }
    // False, recording nothing, when the record is full.
    bool Record(const FrameRecord::Command& c, const RenderState* state = nullptr, const QuadVertex* quad = nullptr)
    {
        if (frame_.Full()) return false;
        frame_.Add(c, state, quad);
        return true;
    }
    const FrameRecord& Frame() const { return frame_; }
    // Something no record holds comes next: the rest of the frame goes to the device unrecorded, and the next
    // frame cannot be compared with this one.
    void Stop() { recording_ = false; }
    // The window's picture may be gone: this frame is drawn even if it repeats the one on show.
    void Invalidate() { mustDraw_ = true; }
    // Off draws every frame (still recorded and replayed), as a benchmark needs.
    void AllowSkip(bool allow) { allowSkip_ = allow; }
    // What Present does with the frame; counts it when skipped.
    Verdict Decide();
    // The frame was swapped: a whole record is now the frame on show.
    void Presented();
    // The device is gone: nothing is on show.
    void Forget();
    std::uint64_t SkippedFrames() const { return skippedFrames_; }

private:
    FrameRecord frame_, shown_;  // this frame so far; the frame on show
    bool recording_ = false;
    bool shownValid_ = false;  // shown_ holds what the window shows
    bool mustDraw_ = true;
    bool allowSkip_ = true;
    int skippedInRow_ = 0;
    std::uint64_t skippedFrames_ = 0;
};
