#include "platform/audio/VoiceMixer.h"

#include <algorithm>
#include <cmath>

VoiceMixer::VoiceMixer(int rate) : rate_(rate), voices_(8), sum_(2 * kMaxFrames), limiter_(rate) {}

void VoiceMixer::Start(int effect, const std::int16_t* samples, int frames, int repeats)
{
    if (effect == 0 || frames <= 0) return;
    std::lock_guard<std::mutex> hold(lock_);
    auto free = std::find_if(voices_.begin(), voices_.end(), [](const Voice& v) { return v.effect == 0; });
    if (free == voices_.end()) {
        // All busy: grow rather than cut or drop an instance.
        const std::size_t busy = voices_.size();
        voices_.resize(2 * busy);
        free = voices_.begin() + long(busy);
    }
    *free = Voice{effect, samples, frames, 0, repeats < 0 ? -1 : repeats};
}

void VoiceMixer::Halt(int effect)
{
    std::lock_guard<std::mutex> hold(lock_);
    for (Voice& v : voices_) {
        if (effect == 0 || v.effect == effect) v = Voice{};
    }
}

bool VoiceMixer::Sounding(int effect)
{
    std::lock_guard<std::mutex> hold(lock_);
    return std::any_of(voices_.begin(), voices_.end(), [&](const Voice& v) { return v.effect == effect; });
}

void VoiceMixer::SetGain(float gain)
{
    std::lock_guard<std::mutex> hold(lock_);
    gain_ = std::max(gain, 0.0f);
}

void VoiceMixer::SetPosition3D(float x, float y, float z)
{
    const double d = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
    const double loudness = d > 1.0 ? 1.0 / d : 1.0;
    const double side = (x == 0.0f && z == 0.0f) ? 0.0 : std::sin(std::atan2(double(x), double(z)));
    std::lock_guard<std::mutex> hold(lock_);
    pan_[0] = static_cast<float>(loudness * (1.0 - std::max(side, 0.0)));
    pan_[1] = static_cast<float>(loudness * (1.0 + std::min(side, 0.0)));
}

int VoiceMixer::Voices()
{
    std::lock_guard<std::mutex> hold(lock_);
    return static_cast<int>(voices_.size());
}

void VoiceMixer::Reset()
{
    std::lock_guard<std::mutex> hold(lock_);
    for (Voice& v : voices_) v = Voice{};
    limiter_ = Limiter(rate_);
}

void VoiceMixer::Mix(std::int16_t* stream, int frames)
{
    std::lock_guard<std::mutex> hold(lock_);
    for (; frames > 0; stream += 2 * kMaxFrames, frames -= kMaxFrames) MixPiece(stream, std::min(frames, kMaxFrames));
}

void VoiceMixer::MixPiece(std::int16_t* stream, int frames)
{
    float* sum = sum_.data();
    for (int i = 0; i < 2 * frames; ++i) sum[i] = stream[i];
    const float gain[2] = {gain_ * pan_[0], gain_ * pan_[1]};
    for (Voice& v : voices_) {
        for (int f = 0; f < frames && v.effect != 0; ++f) {
            sum[2 * f] += v.samples[2 * v.at] * gain[0];
            sum[2 * f + 1] += v.samples[2 * v.at + 1] * gain[1];
            if (++v.at < v.frames) continue;
            v.at = 0;
            if (v.repeats == 0) v = Voice{};
            else if (v.repeats > 0) --v.repeats;
        }
    }
    limiter_.Process(sum, stream, frames);
}
