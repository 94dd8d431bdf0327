#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/audio/Limiter.h"

namespace {

constexpr int kRate = 44100;

// Interleaved stereo through a fresh limiter, in buffers of 512 frames.
std::vector<std::int16_t> Limit(const std::vector<float>& in)
{
    Limiter limiter(kRate);
    std::vector<std::int16_t> out(in.size());
    for (std::size_t f = 0; f < in.size() / 2; f += 512) {
        const int n = int(std::min<std::size_t>(512, in.size() / 2 - f));
        limiter.Process(&in[2 * f], &out[2 * f], n);
    }
    return out;
}

TEST(Limiter, BelowTheCeilingTheOutputIsTheInputDelayed)
{
    std::vector<float> in(2 * kRate);
    for (std::size_t i = 0; i < in.size(); ++i) in[i] = 30000.0f * float(std::sin(0.001 * double(i * i % 100003)));
    const std::vector<std::int16_t> out = Limit(in);
    const std::size_t d = 2 * Limiter::Delay();
    for (std::size_t i = d; i < in.size(); ++i) ASSERT_EQ(out[i], std::lrint(in[i - d])) << i;
}

TEST(Limiter, ABurstLandsOnTheCeilingAndTheGainRampsBackAfterIt)
{
    // A bed of 8000 with a burst of 40000 from 0.3 s to 0.5 s, on both sides.
    const std::size_t burst = std::size_t(0.3 * kRate), end = std::size_t(0.5 * kRate);
    std::vector<float> in(2 * 2 * kRate, 8000.0f);
    for (std::size_t f = burst; f < end; ++f) in[2 * f] = in[2 * f + 1] = (f % 2 ? -40000.0f : 40000.0f);
    const std::vector<std::int16_t> out = Limit(in);
    const int ceiling = int(Limiter::kCeiling);
    const std::size_t d = Limiter::Delay();

    int peak = 0;
    for (std::int16_t v : out) peak = std::max(peak, std::abs(int(v)));
    EXPECT_EQ(peak, ceiling);
    // Attack: the gain has fallen by the time the burst's first frame comes out, within the look-ahead.
    EXPECT_EQ(out[2 * (burst + d)], ceiling);
    EXPECT_EQ(out[2 * (burst + d - Limiter::kLookAhead)], 8000);
    EXPECT_LT(out[2 * (burst + d - 1)], 8000 - 8000 * 1 / 5);
    for (std::size_t f = burst + d; f < end + d; ++f) ASSERT_EQ(std::abs(int(out[2 * f])), ceiling) << f;

    // Release: the bed climbs back to its level without a step, over a few release times.
    std::size_t f = end + d;
    int step = 0;
    while (f + 1 < out.size() / 2 && out[2 * f] < 8000) {
        step = std::max(step, out[2 * f + 2] - out[2 * f]);
        ++f;
    }
    const double recovery = double(f - end - d) / kRate;
    EXPECT_LT(step, 40);
    EXPECT_GT(recovery, 0.1);
    EXPECT_LT(recovery, 0.6);
    for (; f < out.size() / 2; ++f) ASSERT_EQ(out[2 * f], 8000) << f;
}

}  // namespace
