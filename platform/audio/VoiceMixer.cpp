#include "platform/audio/VoiceMixer.h"

#include <algorithm>
#include <cmath>

VoiceMixer::VoiceMixer(int rate, std::int64_t (*clock)()) : rate_(rate), clock_(clock), limiter_(rate) {}

bool VoiceMixer::Post(const Command& c)
{
    Command dated = c;
    dated.postedAt = clock_ ? clock_() : 0;
    dated.number = posted_ + 1;
    if (!ring_.Post(dated)) return false;
    ++posted_;
    return true;
}

bool VoiceMixer::Start(int effect, const std::int16_t* samples, int frames, int repeats)
{
    if (effect == 0 || !samples || frames <= 0) return false;
    return Post(Command{effect, samples, frames, nullptr, repeats < 0 ? -1 : repeats});
}

bool VoiceMixer::Start(int effect, const Source* source, int repeats)
{
    if (effect == 0 || !source) return false;
    return Post(Command{effect, nullptr, 0, source, repeats < 0 ? -1 : repeats});
}

bool VoiceMixer::Halt(int effect) { return Post(Command{effect}); }

bool VoiceMixer::Sounding(int effect) const
{
    bool sounding = false;
    const bool pending = ring_.FindPending([&](const Command& c) {
        const bool start = c.samples || c.source;
        if (start ? c.effect != effect : c.effect != 0 && c.effect != effect) return false;
        sounding = start;
        return true;
    });
    if (pending) return sounding;
    return std::any_of(std::begin(voices_), std::end(voices_),
                       [&](const Voice& v) { return v.effect.load(std::memory_order_relaxed) == effect; });
}

void VoiceMixer::SetGain(float gain) { gain_.store(std::max(gain, 0.0f), std::memory_order_relaxed); }

void VoiceMixer::SetPosition3D(float x, float y, float z)
{
    const double d = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
    const double loudness = d > 1.0 ? 1.0 / d : 1.0;
    const double side = (x == 0.0f && z == 0.0f) ? 0.0 : std::sin(std::atan2(double(x), double(z)));
    pan_[0].store(static_cast<float>(loudness * (1.0 - std::max(side, 0.0))), std::memory_order_relaxed);
    pan_[1].store(static_cast<float>(loudness * (1.0 + std::min(side, 0.0))), std::memory_order_relaxed);
}

void VoiceMixer::Apply(const Command& c, std::int64_t now)
{
    if (!c.samples && !c.source) {
        for (Voice& v : voices_) {
            if (c.effect == 0 || v.effect.load(std::memory_order_relaxed) == c.effect)
                v.effect.store(0, std::memory_order_relaxed);
        }
        return;
    }
    if (clock_ && now - c.postedAt > kLateNs) return;
    Voice* voice = nullptr;
    for (Voice& v : voices_) {
        if (v.effect.load(std::memory_order_relaxed) == 0) {
            voice = &v;
            break;
        }
        if (!voice || v.frames - v.at < voice->frames - voice->at) voice = &v;
    }
    voice->source = c.source;
    voice->postedAt = c.postedAt;
    voice->samples = c.samples;
    voice->frames = c.frames;
    voice->at = 0;
    voice->repeats = c.repeats;
    voice->effect.store(c.effect, std::memory_order_relaxed);
}

void VoiceMixer::Mix(std::int16_t* stream, int frames)
{
    mixes_.fetch_add(1, std::memory_order_relaxed);
    const std::int64_t now = clock_ ? clock_() : 0;
    Command c;
    std::uint64_t taken = 0;
    while (ring_.Take(c)) {
        Apply(c, now);
        taken = c.number;
    }
    if (taken) taken_.store(taken, std::memory_order_release);
    for (; frames > 0; stream += 2 * kMaxFrames, frames -= kMaxFrames) MixPiece(stream, std::min(frames, kMaxFrames), now);
}

void VoiceMixer::Reset()
{
    Command c;
    std::uint64_t taken = 0;
    while (ring_.Take(c)) taken = c.number;
    if (taken) taken_.store(taken, std::memory_order_release);
    for (Voice& v : voices_) v.effect.store(0, std::memory_order_relaxed);
    limiter_ = Limiter(rate_);
}

// A voice whose samples were not there at its start takes them once they are, unless by then it
// would start late.
bool VoiceMixer::Ready(Voice& v, std::int64_t now)
{
    if (v.samples) return true;
    const int frames = v.source->frames.load(std::memory_order_acquire);
    if (frames < 0) return false;
    if (frames == 0 || (clock_ && now - v.postedAt > kLateNs)) {
        v.effect.store(0, std::memory_order_relaxed);
        return false;
    }
    v.samples = v.source->samples.load(std::memory_order_relaxed);
    v.frames = frames;
    return true;
}

void VoiceMixer::MixPiece(std::int16_t* stream, int frames, std::int64_t now)
{
    float* sum = sum_;
    for (int i = 0; i < 2 * frames; ++i) sum[i] = stream[i];
    const float g = gain_.load(std::memory_order_relaxed);
    const float gain[2] = {g * pan_[0].load(std::memory_order_relaxed), g * pan_[1].load(std::memory_order_relaxed)};
    for (Voice& v : voices_) {
        if (v.effect.load(std::memory_order_relaxed) == 0 || !Ready(v, now)) continue;
        for (int f = 0; f < frames; ++f) {
            sum[2 * f] += v.samples[2 * v.at] * gain[0];
            sum[2 * f + 1] += v.samples[2 * v.at + 1] * gain[1];
            if (++v.at < v.frames) continue;
            v.at = 0;
            if (v.repeats == 0) {
                v.effect.store(0, std::memory_order_relaxed);
                break;
            }
            if (v.repeats > 0) --v.repeats;
        }
    }
    limiter_.Process(sum, stream, frames);
}
