#include <gtest/gtest.h>

#include <cmath>

#include "enemy/CEnemy.h"

namespace {

struct Mover {
    float x = 0.0f, y = 0.0f, wave = 0.0f;
    int age = 0;
    int Step(float sx, float sy, int d, int pattern)
    {
        return CEnemy::MovePattern(x, y, wave, sx, sy, age++, d, pattern);
    }
};

TEST(MovePatternTest, PatternOneDescendsHoldsThenWithdraws)
{
    Mover m;
    for (int t = 0; t < 60; ++t) ASSERT_EQ(m.Step(0.0f, 2.0f, 120, 1), 0);
    EXPECT_EQ(m.y, 120.0f);
    for (int t = 60; t < 120; ++t) ASSERT_EQ(m.Step(0.0f, 2.0f, 120, 1), 1) << t;
    EXPECT_EQ(m.y, 120.0f);
    m.Step(0.0f, 2.0f, 120, 1);
    EXPECT_EQ(m.y, 118.0f);
}

TEST(MovePatternTest, HalfDurationIsARealNumber)
{
    // d 5: h is 2.5, so t 2 still descends and t 3 already holds.
    Mover m;
    m.Step(0.0f, 1.0f, 5, 2);
    m.Step(0.0f, 1.0f, 5, 2);
    EXPECT_EQ(m.Step(0.0f, 1.0f, 5, 2), 0);
    EXPECT_EQ(m.y, 3.0f);
    EXPECT_EQ(m.Step(0.0f, 1.0f, 5, 2), 1);
    m.age = 5;
    m.Step(3.0f, 1.0f, 5, 2);  // leaves down-left
    EXPECT_EQ(m.x, -3.0f);
    EXPECT_EQ(m.y, 4.0f);
    m.Step(3.0f, 1.0f, 5, 3);  // down-right
    EXPECT_EQ(m.x, 0.0f);
}

TEST(MovePatternTest, ReachingTheMiddleEarlyStandsWithoutHolding)
{
    Mover m;
    for (int t = 0; t < 30; ++t) m.Step(0.0f, 10.0f, 400, 1);
    EXPECT_EQ(m.y, 300.0f);
    for (int t = 30; t < 200; ++t) ASSERT_EQ(m.Step(0.0f, 10.0f, 400, 1), 0);
    EXPECT_EQ(m.y, 300.0f);
    EXPECT_EQ(m.Step(0.0f, 10.0f, 400, 1), 1);
}

TEST(MovePatternTest, PatternsFourToSevenDescendForFourDurationsThenLeave)
{
    Mover four;
    for (int t = 0; t < 40; ++t) four.Step(1.0f, 3.0f, 10, 4);
    EXPECT_EQ(four.y, 240.0f);  // twice the speed while t < 4 d
    four.Step(1.0f, 3.0f, 10, 4);
    EXPECT_EQ(four.x, -1.0f);
    EXPECT_EQ(four.y, 243.0f);

    Mover five;
    for (int t = 0; t < 40; ++t) five.Step(2.0f, 10.0f, 40, 5);
    EXPECT_EQ(five.y, 300.0f);  // reached the middle at t 30, waits until t = d
    EXPECT_EQ(five.x, 0.0f);
    five.Step(2.0f, 10.0f, 40, 5);
    EXPECT_EQ(five.x, 2.0f);
    EXPECT_EQ(five.y, 310.0f);

    Mover six;
    six.y = 300.0f;
    six.age = 10;
    six.wave = 90.0f;
    six.Step(2.0f, 4.0f, 10, 6);
    EXPECT_EQ(six.x, -2.0f);
    EXPECT_NEAR(six.y, 300.0f - 4.0f * std::sin(90.0 * 3.14 / 180.0), 1e-4);
    EXPECT_EQ(six.wave, 90.5f);
    Mover seven;
    seven.y = 300.0f;
    seven.age = 10;
    seven.Step(2.0f, 4.0f, 10, 7);
    EXPECT_EQ(seven.x, 2.0f);
}

TEST(MovePatternTest, CurvedPatternsUseDegreesWithPiAsThreePointOneFour)
{
    Mover weave;
    weave.Step(2.0f, 1.0f, 0, 8);
    weave.Step(2.0f, 1.0f, 0, 8);
    EXPECT_NEAR(weave.x, 2.0 + 2.0 * std::cos(5.0 * 3.14 / 180.0), 1e-5);
    EXPECT_EQ(weave.y, 2.0f);
    EXPECT_EQ(weave.wave, 10.0f);

    Mover arc;
    arc.wave = 30.0f;
    arc.Step(1.0f, 2.0f, 1, 9);
    EXPECT_EQ(arc.x, 1.0f);
    EXPECT_NEAR(arc.y, -1.5 * 2.0 * std::sin(30.0 * 3.14 / 180.0), 1e-5);
    arc.Step(1.0f, 2.0f, 1, 10);  // t reached d: no more movement
    EXPECT_EQ(arc.x, 1.0f);
    EXPECT_EQ(arc.wave, 31.0f);
}

TEST(MovePatternTest, PatternsElevenToThirteenHoldAtTheirLimits)
{
    Mover eleven;
    for (int t = 0; t < 60; ++t) ASSERT_EQ(eleven.Step(0.0f, 5.0f, 100, 11), 0);
    EXPECT_EQ(eleven.Step(0.0f, 5.0f, 100, 11), 1);
    EXPECT_EQ(eleven.y, 300.0f);

    Mover slow;
    for (int t = 0; t < 100; ++t) slow.Step(0.0f, 2.0f, 100, 11);
    EXPECT_EQ(slow.y, 200.0f);
    EXPECT_EQ(slow.Step(0.0f, 2.0f, 100, 11), 1);

    Mover twelve;
    twelve.x = 240.0f;
    EXPECT_EQ(twelve.Step(6.0f, 1.0f, 100, 12), 0);
    EXPECT_EQ(twelve.Step(6.0f, 1.0f, 100, 12), 0);
    EXPECT_EQ(twelve.Step(6.0f, 1.0f, 100, 12), 1);
    EXPECT_EQ(twelve.x, 252.0f);
    EXPECT_EQ(twelve.y, -2.0f);

    Mover thirteen;
    thirteen.x = 305.0f;
    EXPECT_EQ(thirteen.Step(6.0f, 1.0f, 100, 13), 0);
    EXPECT_EQ(thirteen.Step(6.0f, 1.0f, 100, 13), 1);
    EXPECT_EQ(thirteen.x, 299.0f);
}

TEST(MovePatternTest, UnknownPatternsNeverMove)
{
    for (int pattern : {16, -1, 1000}) {
        Mover m;
        for (int t = 0; t < 50; ++t) ASSERT_EQ(m.Step(3.0f, 3.0f, 10, pattern), 0);
        EXPECT_EQ(m.x, 0.0f);
        EXPECT_EQ(m.y, 0.0f);
    }
    Mover diag;
    diag.Step(3.0f, 2.0f, 0, 15);
    EXPECT_EQ(diag.x, -3.0f);
    EXPECT_EQ(diag.y, 2.0f);
}

}  // namespace
