// Effect voices added to the music in floating point, then limited: the mixing half of the sound output.
#pragma once
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/audio/Limiter.h"

// Every start takes a voice of its own, so overlapping instances add up and none is dropped; the
// voices double only when all are busy. The game's thread starts and halts voices, the output's
// thread mixes them; neither allocates.
class VoiceMixer {
public:
    // Frames mixed at once; longer buffers are mixed in pieces.
    static constexpr int kMaxFrames = 512;

    explicit VoiceMixer(int rate);

    // One more instance of a sound (interleaved 16-bit stereo, kept alive by the caller), tagged
    // with `effect` (not 0). It plays 1 + `repeats` times; negative repeats forever.
    void Start(int effect, const std::int16_t* samples, int frames, int repeats);
    // Ends every instance of `effect`; 0 ends all.
    void Halt(int effect);
    bool Sounding(int effect);
    // One gain for every voice, sounding or to come.
    void SetGain(float gain);
    // Listener at the origin facing +z, y up: loudness falls as 1 / distance beyond 1, and the far
    // side loses it as the sound moves round from straight ahead to the side.
    void SetPosition3D(float x, float y, float z);
    int Voices();
    // Ends every voice and forgets the limiter's recent past, as for a freshly opened output.
    void Reset();

    // On the output's thread: adds the voices to the music in `stream` and limits the sum.
    void Mix(std::int16_t* stream, int frames);

private:
    struct Voice {
        int effect = 0;  // 0: free
        const std::int16_t* samples = nullptr;
        int frames = 0;
        int at = 0;
        int repeats = 0;
    };

    void MixPiece(std::int16_t* stream, int frames);

    int rate_;
    std::mutex lock_;
    std::vector<Voice> voices_;
    float gain_ = 1.0f;
    float pan_[2] = {1.0f, 1.0f};  // left, right
    std::vector<float> sum_;
    Limiter limiter_;
};
