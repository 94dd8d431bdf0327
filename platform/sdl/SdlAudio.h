// Sound output over SDL2_mixer: effects on growing mixer channels, MIDI through FluidSynth.
#pragma once
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/IAudio.h"

struct Mix_Chunk;
struct _Mix_Music;

namespace sdl {

class Music;

// One per process: the mixer underneath is process-wide.
class Audio : public IAudio {
public:
    Audio() = default;
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

    // Mixer channels allocated so far.
    int ChannelCount() const { return channels_; }
    // The stream now owning the mixer's music slot, if any.
    Music* currentMusic = nullptr;

private:
    struct Effect {
        Mix_Chunk* chunk = nullptr;
        bool prepared = false;
        int repeats = 0;
    };

    bool Open();
    void Close();
    Effect* Find(int effect);
    int FreeChannel();
    void Place(int channel);

    int refs_ = 0;
    bool open_ = false;
    int channels_ = 0;
    std::vector<Effect> effects_;  // id = index + 1
    std::atomic<float> effectGain_{1.0f};
    bool placed_ = false;
    short angle_ = 0;
    unsigned char distance_ = 0;
};

}  // namespace sdl
