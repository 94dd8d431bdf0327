#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/CGame.h"
#include "app/CQovGame.h"
#include "app/CRenderDevice.h"
#include "app/Entry.h"
#include "platform/HeadlessPlatform.h"
#include "support/GameTestSupport.h"

namespace {

// The frame with a record of what the loop asked of it.
class ProbeGame : public CGame {
public:
    ProbeGame() : CGame("Probe") {}
    void Update() override
    {
        events.push_back('U');
        if (clock) stepAt.push_back(clock->counter);
    }
    void Draw() override
    {
        events.push_back('D');
        if (clock) clock->Advance(stepAt.size() == slowDrawAfterStep ? slowDrawSeconds : drawSeconds);
    }
    void OnLostDevice() override { events.push_back('L'); }
    void OnResetDevice() override { events.push_back('R'); }
    int Count(char c) const { return static_cast<int>(std::count(events.begin(), events.end(), c)); }
    std::string events;
    std::vector<std::int64_t> stepAt;  // on the clock, when it is given
    headless::Clock* clock = nullptr;  // drawing takes drawSeconds on it
    double drawSeconds = 0.0;
    size_t slowDrawAfterStep = 0;  // the draw after that many steps takes slowDrawSeconds instead
    double slowDrawSeconds = 0.0;
};

class MainLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        h = &headless::Install();
        h->clock.frequency = 240000;  // whole counts for 1/240 s
    }
    headless::HeadlessPlatform* h = nullptr;
};

TEST_F(MainLoopTest, AccumulatorCountsStepsAndCarriesTheFraction)
{
    ProbeGame game;
    game.ResetFrameTimer();
    h->clock.Advance(1.0 / 240.0);
    game.TimingStep();
    EXPECT_NEAR(game.frameAccumulator, 0.25, 1e-9);
    EXPECT_EQ(game.events, "");  // no step owed: nothing new to draw

    for (int i = 0; i < 2; ++i) {
        h->clock.Advance(1.0 / 240.0);
        game.TimingStep();
    }
    EXPECT_EQ(game.events, "");
    h->clock.Advance(1.5 / 240.0);
    game.TimingStep();
    EXPECT_EQ(game.events, "UD");
    EXPECT_NEAR(game.frameAccumulator, 0.125, 1e-6);
}

TEST_F(MainLoopTest, LongStallRunsEveryOwedStepBeforeTheNextFrame)
{
    ProbeGame game;
    game.ResetFrameTimer();
    h->clock.Advance(2.0);  // e.g. a slow load before the loop
    game.TimingStep();
    EXPECT_EQ(game.events, std::string(120, 'U') + "D");
}

TEST_F(MainLoopTest, FrameSkipOffRunsOneStepAndDropsTheRest)
{
    ProbeGame game;
    game.frameSkip = false;
    game.ResetFrameTimer();
    h->clock.Advance(0.5);
    game.TimingStep();
    EXPECT_EQ(game.events, "UD");
    EXPECT_EQ(game.frameAccumulator, 0.0);
}

TEST_F(MainLoopTest, TickCountStandsInWithoutAPerformanceCounterAndSurvivesItsWrap)
{
    h->clock.hasPerformanceCounter = false;
    h->clock.tick = 0xFFFFFFF0u;
    ProbeGame game;
    game.ResetFrameTimer();
    EXPECT_EQ(game.lastTick, 0xFFFFFFF0u);
    h->clock.tick = 0x00000010u;  // 32 ms later, across the wrap
    game.TimingStep();
    EXPECT_NEAR(game.frameAccumulator, 32 * 60.0 / 1000.0 - 1.0, 1e-9);
    EXPECT_EQ(game.events, "UD");
}

TEST_F(MainLoopTest, TimeBehindAnotherWindowOwesNothingAndKeepsTheFraction)
{
    ProbeGame game;
    int idle = 0;
    double fractionWhenLeaving = -1.0;
    h->window.onIdle = [&] {
        ++idle;
        if (idle <= 60) {
            h->clock.Advance(1.0 / 120.0);  // 30 steps' worth in front
        } else if (idle == 61) {
            fractionWhenLeaving = game.frameAccumulator;
            h->window.foreground = false;
        } else if (idle < 70) {
            h->clock.Advance(10.0);  // long time behind; each message re-baselines
            h->window.PostMessage({win::WM_PAINT, 0, 0, 0});
        } else if (idle == 70) {
            h->window.foreground = true;
            h->window.PostMessage({win::WM_NULL, 0, 0, 0});
        } else if (idle == 71) {
            EXPECT_DOUBLE_EQ(game.frameAccumulator, fractionWhenLeaving);
            h->window.PressKey(win::VK_ESCAPE);
        }
    };
    game.confirmExit = false;
    game.MainLoop();
    EXPECT_EQ(game.Count('U'), 30);
    // Paint requests behind another window still draw.
    EXPECT_GE(game.Count('D'), 30 + 8);
    EXPECT_EQ(game.events.front(), 'R');  // render state first
}

TEST_F(MainLoopTest, APassThatOwesNoStepDrawsNothingAndSleepsUntilTheStepIsDueOnAnyDisplay)
{
    for (int refresh : {0, 60}) {
        h->graphics.refreshRate = refresh;
        h->window.waits = 0;
        ProbeGame game;
        game.confirmExit = false;
        int idle = 0;
        h->window.onIdle = [&] {
            if (++idle == 1) {
                h->clock.Advance(1.0 / 240.0);  // a quarter of a step
            } else if (idle == 2) {
                EXPECT_EQ(h->window.waits, 1);
                EXPECT_NEAR(h->window.lastWait, 3.0 / 240.0, 1e-9);
                h->window.PressKey(win::VK_ESCAPE);
            }
        };
        game.MainLoop();
        EXPECT_EQ(game.events, "R");
    }
}

// Displays as the game meets them, simulated: time passes only while the loop sleeps in the queue, while
// it draws, and in a present that waits for the vertical blank. Over two seconds each must give 60 steps a
// second, at most one shown frame per step (so never more than a 60 Hz display shows), and no spinning.
TEST_F(MainLoopTest, EveryDisplayKindGetsSixtyStepsAtMostOneFramePerStepAndNoSpinning)
{
    struct Display {
        int hertz;
        bool vsync;
        bool repeat;  // every frame the same picture: presents skip the swap
    };
    for (Display d : {Display{60, true, false}, Display{60, false, false}, Display{144, true, false},
                      Display{0, false, false}, Display{60, true, true}}) {
        SCOPED_TRACE(::testing::Message() << d.hertz << " Hz, vsync " << d.vsync << ", repeat " << d.repeat);
        h = &headless::Install();
        h->clock.frequency = 240000;
        h->graphics.refreshRate = d.hertz;
        h->graphics.vsyncClock = d.vsync ? &h->clock : nullptr;
        h->graphics.repeatFrames = d.repeat;
        h->window.clock = &h->clock;
        ProbeGame game;
        game.confirmExit = false;
        game.clock = &h->clock;
        game.drawSeconds = 0.004;
        const std::uint64_t shownBefore = h->graphics.shownFrames;
        const std::int64_t end = h->clock.counter + 2 * h->clock.frequency;
        int idle = 0;
        h->window.onIdle = [&] {
            if (h->clock.counter >= end || ++idle > 10000) h->window.PressKey(win::VK_ESCAPE);
        };
        game.MainLoop();

        const int steps = game.Count('U');
        const std::uint64_t shown = h->graphics.shownFrames - shownBefore;
        EXPECT_NEAR(steps, 120, 1);
        // A frame after each step, none without one; a step too late for the blank it was placed before has
        // its frame left out, the next showing both.
        const int frames = game.Count('D');
        EXPECT_EQ(frames + static_cast<int>(game.stats.leftOut), steps);
        EXPECT_LE(game.stats.leftOut, 2u);
        EXPECT_EQ(shown, d.repeat ? 0u : static_cast<std::uint64_t>(frames));
        EXPECT_LE(game.stats.passes, static_cast<std::uint64_t>(2 * steps + 4));
        // Where the display does not pace the loop it sleeps once per step.
        if (!d.vsync || d.repeat) {
            EXPECT_NEAR(h->window.waits, steps, 2);
        }
    }
}

// A display whose swap waits for the blank shows where the blanks fall: the steps move there by small shifts
// until each frame is drawn just before a blank, and keep 60 a second; a frame drawn too slowly for its blank
// leaves the next out instead of putting every later frame a refresh behind. Where the swap returns at once
// (vsync off, a driver that queues swaps) or no whole number of refreshes makes a step, the schedule stays.
TEST_F(MainLoopTest, StepsMoveToJustBeforeTheBlankWhereTheSwapWaitsForIt)
{
    constexpr double kDraw = 0.004, kBlankPhase = 0.002, kStep = 1.0 / 60;
    struct Display {
        int hertz;
        bool waits;
    };
    for (Display d : {Display{60, true}, Display{60, false}, Display{144, true}}) {
        SCOPED_TRACE(::testing::Message() << d.hertz << " Hz, swap waits " << d.waits);
        h = &headless::Install();
        h->clock.frequency = 1000000;
        h->graphics.refreshRate = d.hertz;
        h->graphics.vsyncClock = &h->clock;
        h->graphics.blankPhase = kBlankPhase;
        h->graphics.swapCopy = 0.0005;
        h->graphics.queueSwaps = !d.waits;
        h->window.clock = &h->clock;
        ProbeGame game;
        game.confirmExit = false;
        game.clock = &h->clock;
        game.drawSeconds = kDraw;
        game.slowDrawAfterStep = 180;
        game.slowDrawSeconds = 0.012;
        h->window.onIdle = [&] {
            if (h->clock.counter >= 4 * h->clock.frequency) h->window.PressKey(win::VK_ESCAPE);
        };
        game.MainLoop();

        const auto seconds = [&](std::int64_t c) { return static_cast<double>(c) / h->clock.frequency; };
        ASSERT_NEAR(game.stepAt.size(), 240u, 1u);
        // A frame after every step, but for those left out: at most one while the steps found their place,
        // and the one after the slow frame.
        EXPECT_EQ(game.Count('D') + static_cast<int>(game.stats.leftOut), static_cast<int>(game.stepAt.size()));
        EXPECT_LE(game.stats.leftOut, d.hertz == 60 && d.waits ? 2u : 0u);
        // No step skipped or doubled, a step's worth of time between any two, whichever waited for a swap;
        // 60 to each second all along.
        double furthest = 0.0;  // from the schedule the loop began with
        for (size_t i = 1; i < game.stepAt.size(); ++i) {
            const double at = seconds(game.stepAt[i]), gap = at - seconds(game.stepAt[i - 1]);
            furthest = std::max(furthest, std::fabs(std::remainder(at - seconds(game.stepAt[0]), kStep)));
            EXPECT_NEAR(gap, kStep, kStep / 2) << "step " << i;
            if (i >= 60) {
                EXPECT_NEAR(at - seconds(game.stepAt[i - 60]), 1.0, 0.01) << "step " << i;
            }
        }
        if (d.hertz == 60 && d.waits) {
            // From the step after the one the slow frame held up: each frame drawn 0.5 to 3 ms before its
            // blank, where it was 15 ms at first.
            for (size_t i = 181; i < game.stepAt.size(); ++i) {
                const double drawn = seconds(game.stepAt[i]) + kDraw;
                const double toBlank = kStep - std::fmod(drawn - kBlankPhase, kStep);
                EXPECT_GT(toBlank, 0.0005) << "step " << i;
                EXPECT_LT(toBlank, 0.003) << "step " << i;
            }
            EXPECT_EQ(game.pacer.GetState(), StepPacer::State::Locked);
        } else {
            EXPECT_LT(furthest, d.hertz == 60 ? 0.0085 : 1e-5);  // at most two verdicts' shifts that showed no blank
            EXPECT_NE(game.pacer.GetState(), StepPacer::State::Locked);
        }
    }
}

TEST_F(MainLoopTest, LostDeviceSleepsAndAResetableOneIsResetWithoutDrawing)
{
    ProbeGame game;
    h->graphics.coopLevel = CoopLevel::DeviceLost;
    game.Render();
    EXPECT_EQ(h->clock.sleptMs, 50u);
    EXPECT_EQ(game.events, "");

    h->graphics.coopLevel = CoopLevel::DeviceNotReset;
    h->graphics.failReset = true;
    game.Render();
    EXPECT_EQ(game.events, "L");  // reset failed: no render state, still lost
    h->graphics.failReset = false;
    game.Render();
    EXPECT_EQ(game.events, "LLR");
    game.Render();
    EXPECT_EQ(game.events, "LLRD");
}

TEST_F(MainLoopTest, PresentTogglesThePageFlagAndAResetRaisesIt)
{
    ProbeGame game;
    CRenderDevice* d = game.renderDevice;
    const bool start = d->GetPageFlag();  // the construction presented once
    EXPECT_FALSE(start);
    EXPECT_TRUE(d->Present());
    EXPECT_TRUE(d->GetPageFlag());
    d->Present();
    EXPECT_FALSE(d->GetPageFlag());
    h->graphics.failPresent = true;
    EXPECT_FALSE(d->Present());
    EXPECT_FALSE(d->GetPageFlag());
    h->graphics.failPresent = false;
    ASSERT_TRUE(d->Reset());
    EXPECT_TRUE(d->GetPageFlag());
    const int presents = h->graphics.events.presents;
    d->PresentIfOddPage();
    EXPECT_EQ(h->graphics.events.presents, presents);
    d->Present();
    d->PresentIfOddPage();
    EXPECT_EQ(h->graphics.events.presents, presents + 2);
}

TEST_F(MainLoopTest, WholeGameRunsThousandsOfHeadlessSteps)
{
    headless::HeadlessPlatform& staged = testsupport::InstallStaged();
    CQovGame* game = CreateGame();
    ASSERT_EQ(g_game, game);
    for (int i = 0; i < 10000; ++i) {
        game->Update();
        if (i % 4 == 0) game->Render();
    }
    EXPECT_GT(staged.graphics.events.presents, 2500);
    delete game;
}

}  // namespace
