#include "platform/audio/Limiter.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kReleaseTarget = 1.05f;

}  // namespace

Limiter::Limiter(int rate, float releaseSeconds)
    : release_(static_cast<float>(std::exp(-1.0 / (double(releaseSeconds) * rate))))
{
    needed_.fill(1.0f);
    held_.fill(1.0f);
}

void Limiter::Process(const float* in, std::int16_t* out, int frames)
{
    for (int f = 0; f < frames; ++f) {
        const float l = in[2 * f], r = in[2 * f + 1];
        const float peak = std::max(std::fabs(l), std::fabs(r));
        needed_[pos_] = peak > kCeiling ? kCeiling / peak : 1.0f;
        if (needed_[pos_] < 1.0f) busy_ = 2 * kLookAhead;
        float gain = 1.0f;
        // Idle (nothing needed or held in either window), the gain is unity without looking.
        if (busy_ > 0) {
            --busy_;
            // The least gain any frame of the look-ahead window needs: held at once, released
            // slowly. The release heads for a little above unity so that it ends rather than
            // creeping on.
            const float least = *std::min_element(needed_.begin(), needed_.end());
            const float released = std::min(1.0f, kReleaseTarget - (kReleaseTarget - hold_) * release_);
            hold_ = std::min(least, released);
            if (hold_ < 1.0f) busy_ = 2 * kLookAhead;
            held_[pos_] = hold_;
            // Averaging the held gain over the window turns its steps into ramps of the window's
            // length. Every held value in it covers the oldest frame, so the average never exceeds
            // what that frame needs.
            float sum = 0.0f;
            for (float h : held_) sum += h;
            gain = sum == float(kLookAhead) ? 1.0f : sum / float(kLookAhead);
        }

        delayed_[2 * pos_] = l;
        delayed_[2 * pos_ + 1] = r;
        pos_ = (pos_ + 1) % kLookAhead;
        for (int c = 0; c < 2; ++c) {
            const long v = std::lrint(delayed_[2 * pos_ + c] * gain);
            out[2 * f + c] = static_cast<std::int16_t>(std::clamp(v, -32768L, 32767L));
        }
    }
}
