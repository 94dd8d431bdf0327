#include "game/CEffect.h"

#include <vector>

#include "game/CEffect_Fade.h"
#include "game/CEffect_Fadein.h"
#include "tests/game/GameFixture.h"

namespace gametest {
namespace {

using EffectTest = GameTest;

// Opacity each live overlay would be drawn with, in pool order.
std::vector<int> Opacities(TaskPool* pool)
{
    std::vector<int> out;
    TaskIter it(pool);
    while (it.HasNext()) out.push_back(static_cast<int>(static_cast<CEffect*>(it.Next())->alpha) & 0xFF);
    return out;
}

TEST_F(EffectTest, OneFadeIsTwentyFivePartlyFortyFullyAndTwentyFiveClearingFrames)
{
    Step();
    new CEffect_Fade();
    std::vector<int> shown;
    for (int frame = 1; frame <= 95; ++frame) {
        Step();
        const std::vector<int> now = Opacities(game->poolEffect);
        ASSERT_LE(now.size(), 1u) << frame;
        shown.push_back(now.empty() ? -1 : now[0]);
    }
    std::vector<int> want;
    for (int a = 10; a <= 250; a += 10) want.push_back(a);
    want.insert(want.end(), 40, 255);
    for (int a = 245; a >= 5; a -= 10) want.push_back(a);
    want.insert(want.end(), 5, -1);
    EXPECT_EQ(shown, want);
}

TEST_F(EffectTest, FadeEndingInAFullPoolMakesNoFadeIn)
{
    Step();
    for (int i = 0; i < 10; ++i) ASSERT_NE(new CEffect_Fade(), nullptr);
    EXPECT_EQ(new CEffect_Fade(), nullptr);
    Step(26);
    // The first finisher found no slot; each later one reuses the slot freed before it.
    int fadeIns = 0;
    TaskIter it(game->poolEffect);
    while (it.HasNext()) {
        CTask* t = it.Next();
        ASSERT_NE(dynamic_cast<CEffect_Fadein*>(t), nullptr);
        ++fadeIns;
    }
    EXPECT_EQ(fadeIns, 9);
    EXPECT_TRUE(game->poolEffect->CheckInvariants());
}

TEST_F(EffectTest, PauseDoesNotStopAFade)
{
    StartStage();
    Step(70);
    ASSERT_EQ(game->poolEffect->LiveCount(), 0);
    CEffect* fade = new CEffect_Fade();
    Tap(kPause);
    ASSERT_TRUE(game->paused);
    Step(10);
    EXPECT_EQ(fade->alpha, 110.0f);
    Step(100);
    EXPECT_EQ(game->poolEffect->LiveCount(), 0);
    EXPECT_TRUE(game->paused);
}

}  // namespace
}  // namespace gametest
