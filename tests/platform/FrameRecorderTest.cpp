// Whether a frame is drawn, decided from its record alone, on synthetic command streams.
#include <gtest/gtest.h>

#include "platform/graphics/FrameRecorder.h"

namespace {

using Op = FrameRecord::Op;
using Verdict = FrameRecorder::Verdict;

FrameRecord::Command Cmd(Op op, std::uint32_t arg = 0)
{
    FrameRecord::Command c;
    c.op = op;
    c.arg = arg;
    return c;
}

struct Stream {
    std::uint32_t startTexture = 0;
    std::uint32_t alphaRef = 1;
    std::uint32_t corner = 0xFFFFFFFF;  // one vertex's colour
};

// A clear, a state, a textured quad and the end of the scene.
void Record(FrameRecorder& r, const Stream& s = Stream())
{
    r.Begin(Viewport{0, 0, 800, 600, 0, 1}, RenderState(), s.startTexture);
    ASSERT_TRUE(r.Record(Cmd(Op::Clear, 0xFF000000)));
    RenderState state;
    state.alphaRef = s.alphaRef;
    ASSERT_TRUE(r.Record(Cmd(Op::State), &state));
    ASSERT_TRUE(r.Record(Cmd(Op::Texture, 3)));
    const QuadVertex quad[4] = {{10, 10, 0, 1, 0xFFFFFFFF, 0, 0},
                                {20, 10, 0, 1, 0xFFFFFFFF, 1, 0},
                                {10, 20, 0, 1, 0xFFFFFFFF, 0, 1},
                                {20, 20, 0, 1, s.corner, 1, 1}};
    ASSERT_TRUE(r.Record(Cmd(Op::Quad), nullptr, quad));
    ASSERT_TRUE(r.Record(Cmd(Op::EndScene)));
}

// What Present does: decide, and unless skipped, swap.
Verdict Present(FrameRecorder& r)
{
    const Verdict v = r.Decide();
    if (v != Verdict::Skip) r.Presented();
    return v;
}

TEST(FrameRecorderTest, OnlyAnExactRepeatWithNothingInBetweenIsSkipped)
{
    FrameRecorder r;
    Record(r);
    EXPECT_EQ(Present(r), Verdict::Replay);  // nothing on show yet
    Record(r);
    EXPECT_EQ(Present(r), Verdict::Skip);
    Record(r, {.corner = 0xFF00FF00});
    EXPECT_EQ(Present(r), Verdict::Replay);
    Record(r, {.startTexture = 5, .corner = 0xFF00FF00});  // the same commands from another starting texture
    EXPECT_EQ(Present(r), Verdict::Replay);
    Record(r, {.startTexture = 5, .alphaRef = 2, .corner = 0xFF00FF00});  // a state compared by value
    EXPECT_EQ(Present(r), Verdict::Replay);
    Record(r, {.startTexture = 5, .alphaRef = 2, .corner = 0xFF00FF00});
    EXPECT_EQ(Present(r), Verdict::Skip);

    r.Invalidate();  // the window was exposed
    Record(r, {.startTexture = 5, .alphaRef = 2, .corner = 0xFF00FF00});
    EXPECT_EQ(Present(r), Verdict::Replay);
    EXPECT_EQ(r.SkippedFrames(), 2u);
}

TEST(FrameRecorderTest, APictureOnShowIsDrawnAgainAfterSixtySkipsAndEveryTimeWithSkippingOff)
{
    FrameRecorder r;
    Record(r);
    Present(r);
    for (int i = 0; i < FrameRecorder::kMaxSkippedInRow; ++i) {
        Record(r);
        ASSERT_EQ(Present(r), Verdict::Skip) << i;
    }
    Record(r);
    EXPECT_EQ(Present(r), Verdict::Replay);
    Record(r);
    EXPECT_EQ(Present(r), Verdict::Skip);
    r.AllowSkip(false);
    Record(r);
    EXPECT_EQ(Present(r), Verdict::Replay);
}

TEST(FrameRecorderTest, AFrameThatWentStraightThroughCannotStandForTheNext)
{
    FrameRecorder r;
    Record(r);
    Present(r);
    Record(r);
    r.Stop();  // meshes drew, or a texture changed mid-frame
    EXPECT_FALSE(r.Recording());
    EXPECT_EQ(Present(r), Verdict::Drawn);
    Record(r);
    EXPECT_EQ(Present(r), Verdict::Replay);
    Record(r);
    EXPECT_EQ(Present(r), Verdict::Skip);

    // A full record takes nothing more; the caller draws it and goes on unrecorded.
    r.Begin(Viewport(), RenderState(), 0);
    for (size_t i = 0; i < FrameRecord::kMaxCommands; ++i) ASSERT_TRUE(r.Record(Cmd(Op::Clear)));
    EXPECT_FALSE(r.Record(Cmd(Op::Clear)));
    EXPECT_EQ(r.Frame().commands.size(), FrameRecord::kMaxCommands);
}

}  // namespace
