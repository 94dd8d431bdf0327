// Effect voices added to the music in floating point, then limited: the mixing half of the sound output.
#pragma once
#include <atomic>
#include <cstdint>

#include "platform/audio/CommandRing.h"
#include "platform/audio/Limiter.h"

// Every start takes a voice of its own, so overlapping instances add up. The game's thread posts
// starts and halts into a fixed ring and sets the gain and the position; the output's thread takes
// them at its next mix. Neither allocates, neither waits for the other.
class VoiceMixer {
public:
    // Frames mixed at once; longer buffers are mixed in pieces.
    static constexpr int kMaxFrames = 512;
    // Over three times what a whole session keeps sounding at once (77, in a boss fight). Should all
    // be busy, a start takes the voice nearest its end.
    static constexpr int kVoices = 256;
    // A start that waited longer than this for a mix is dropped rather than played late: an output
    // that comes back or pauses would otherwise start everything played meanwhile in one buffer.
    // Healthy servers ask at most 50 ms apart but for rare pauses (PulseAudio's bursts, PipeWire on a
    // loaded machine).
    static constexpr std::int64_t kLateNs = 50'000'000;

    // Samples another thread publishes (16-bit stereo): the samples, then their frames with release;
    // frames stay negative until then and are 0 when there is nothing to play. A voice started
    // before waits for them.
    struct Source {
        std::atomic<const std::int16_t*> samples{nullptr};
        std::atomic<int> frames{-1};
    };

    // `clock` (nanoseconds) dates the starts; without one none is ever late.
    explicit VoiceMixer(int rate, std::int64_t (*clock)() = nullptr);

    // Game's thread. One more instance of a sound (interleaved 16-bit stereo, kept alive by the
    // caller until halted), tagged with `effect` (not 0). It plays 1 + `repeats` times; negative
    // repeats forever. False when the ring is full.
    bool Start(int effect, const std::int16_t* samples, int frames, int repeats);
    bool Start(int effect, const Source* source, int repeats);
    // Ends every instance of `effect`; 0 ends all.
    bool Halt(int effect);
    // Started and not yet ended or halted, as far as the mixes so far and the posts pending tell.
    bool Sounding(int effect) const;
    // One gain for every voice, sounding or to come.
    void SetGain(float gain);
    // Listener at the origin facing +z, y up: loudness falls as 1 / distance beyond 1, and the far
    // side loses it as the sound moves round from straight ahead to the side.
    void SetPosition3D(float x, float y, float z);

    // Output's thread: takes what was posted, adds the voices to the music in `stream`, limits the sum.
    void Mix(std::int16_t* stream, int frames);
    // While nothing mixes: ends every voice, drops what is pending, forgets the limiter's recent past.
    void Reset();
    // Mixes so far: an output that stops asking for sound stops counting.
    std::uint64_t Mixes() const { return mixes_.load(std::memory_order_relaxed); }
    // The last command mixed: samples handed to Start may be freed once a Halt's number is reached.
    std::uint64_t Taken() const { return taken_.load(std::memory_order_acquire); }
    std::uint64_t Posted() const { return posted_; }

private:
    struct Command {
        int effect = 0;
        const std::int16_t* samples = nullptr;
        int frames = 0;
        const Source* source = nullptr;  // neither: halt
        int repeats = 0;
        std::int64_t postedAt = 0;
        std::uint64_t number = 0;
    };
    struct Voice {
        std::atomic<int> effect{0};  // 0: free; read by Sounding
        const Source* source = nullptr;  // waited for while samples are null
        std::int64_t postedAt = 0;
        const std::int16_t* samples = nullptr;
        int frames = 0;
        int at = 0;
        int repeats = 0;
    };

    bool Post(const Command& c);
    void Apply(const Command& c, std::int64_t now);
    bool Ready(Voice& v, std::int64_t now);
    void MixPiece(std::int16_t* stream, int frames, std::int64_t now);

    int rate_;
    std::int64_t (*clock_)();
    CommandRing<Command, 1024> ring_;
    std::uint64_t posted_ = 0;  // game's thread
    std::atomic<std::uint64_t> taken_{0};
    std::atomic<std::uint64_t> mixes_{0};
    std::atomic<float> gain_{1.0f};
    std::atomic<float> pan_[2] = {1.0f, 1.0f};  // left, right
    Voice voices_[kVoices];
    float sum_[2 * kMaxFrames];
    Limiter limiter_;
};
