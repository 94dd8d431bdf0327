// Sound output over SDL2_mixer: effects on growing mixer channels, MIDI through FluidSynth.
#pragma once
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
        Mix_Chunk* chunk = nullptr;  // as loaded
        bool prepared = false;
        int repeats = 0;
        Mix_Chunk* playing = nullptr;  // over `samples`: the loaded sound at the effects gain
        std::vector<std::int16_t> samples;
    };
    // A scaled copy replaced by a later gain; kept until nothing plays it.
    struct Retired {
        int effect;
        Mix_Chunk* chunk;
        std::vector<std::int16_t> samples;
    };

    bool Open();
    void Close();
    Effect* Find(int effect);
    int FreeChannel();
    void Place(int channel);
    void Scale(Effect& e);
    bool PlaysEffect(int channel, int effect) const;
    void SweepRetired(bool all);

    int refs_ = 0;
    bool open_ = false;
    int channels_ = 0;
    std::vector<Effect> effects_;  // id = index + 1
    std::vector<Retired> retired_;
    float effectGain_ = 1.0f;
    bool placed_ = false;
    short angle_ = 0;
    unsigned char distance_ = 0;
};

}  // namespace sdl
