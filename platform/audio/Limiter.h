// Peak limiter for the final mix: keeps every output sample within a ceiling below full scale.
#pragma once
#include <array>
#include <cstdint>

// Interleaved stereo, both sides at one gain. The gain falls over the look-ahead before a peak
// (the output is delayed by it) so that the peak itself lands on the ceiling, and rises back
// smoothly to unity within a few release times once the peaks are gone. Below the ceiling the
// output is the input, rounded.
class Limiter {
public:
    static constexpr int kLookAhead = 64;      // frames, 1.5 ms at 44.1 kHz
    static constexpr float kCeiling = 30934.0f;  // -0.5 dB of full scale

    explicit Limiter(int rate, float releaseSeconds = 0.1f);

    // No allocation: safe on the mixer's thread.
    void Process(const float* in, std::int16_t* out, int frames);
    // The output delay in frames.
    static constexpr int Delay() { return kLookAhead - 1; }

private:
    float release_;  // per-frame factor on the distance from unity
    float hold_ = 1.0f;
    int pos_ = 0;
    int busy_ = 0;  // frames until both windows are back at unity
    std::array<float, 2 * kLookAhead> delayed_{};
    std::array<float, kLookAhead> needed_;  // gain each recent frame needs
    std::array<float, kLookAhead> held_;    // gain envelope before smoothing
};
