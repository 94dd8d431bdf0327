// Sound output over SDL2_mixer: MIDI through FluidSynth, effects on voices of our own added to the
// mixer's output, and a limiter on the sum.
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio/IAudio.h"
#include "platform/audio/Limiter.h"

struct Mix_Chunk;
struct _Mix_Music;

namespace sdl {

class Music;

// One per process: the mixer underneath is process-wide.
class Audio : public IAudio {
public:
    Audio();
    ~Audio() override;

    bool Acquire() override;
    void Release() override;

    int LoadEffect(const std::string& path) override;
    void FreeEffect(int effect) override;
    void PrepareEffect(int effect) override;
    void SetEffectRepeats(int effect, int repeats) override;
    void PlayEffect(int effect) override;
    void StopEffect(int effect) override;
    void StopAllEffects() override;
    bool IsEffectPlaying(int effect) override;
    void SetEffectGain(float gain) override;
    void SetEffectPosition3D(float x, float y, float z) override;

    std::unique_ptr<IMusic> CreateMusic() override;

    // Effect voices allocated so far.
    int ChannelCount() const { return static_cast<int>(voices_.size()); }
    // The stream now owning the mixer's music slot, if any.
    Music* currentMusic = nullptr;

private:
    struct Effect {
        Mix_Chunk* chunk = nullptr;  // as loaded: 16-bit stereo at the output rate
        bool prepared = false;
        int repeats = 0;
    };
    struct Voice {
        int effect = 0;  // 0: free
        const std::int16_t* samples = nullptr;
        int frames = 0;
        int at = 0;
        int repeats = 0;
    };

    bool Open();
    void Close();
    Effect* Find(int effect);
    int FreeVoice();
    void Halt(int effect);
    bool Sounding(int effect);
    static void MixEffects(void* self, std::uint8_t* stream, int len);
    void Mix(std::int16_t* stream, int frames);

    int refs_ = 0;
    bool open_ = false;
    std::vector<Effect> effects_;  // id = index + 1
    float effectGain_ = 1.0f;
    float pan_[2] = {1.0f, 1.0f};  // left, right

    // Shared with the mixer's thread, under `lock_`.
    std::mutex lock_;
    std::vector<Voice> voices_;
    std::vector<float> sum_;  // one mixer buffer
    Limiter limiter_;
};

}  // namespace sdl
