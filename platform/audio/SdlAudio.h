// Sound output over SDL2_mixer: the device, the loaded effects, and the mixer's music slot; the
// effects are mixed by our own voices after the music.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/IAudio.h"
#include "platform/audio/VoiceMixer.h"

struct Mix_Chunk;

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
    int ChannelCount() { return mixer_.Voices(); }

    // The mixer plays one music stream at a time: the one holding its slot.
    Music* MusicHolder() const { return musicHolder_; }
    // Gives the slot to `music`; the stream that held it is told it lost it.
    void TakeMusicSlot(Music* music);
    void LeaveMusicSlot(Music* music);

private:
    struct Effect {
        Mix_Chunk* chunk = nullptr;  // as loaded: 16-bit stereo at the output rate
        bool prepared = false;
        int repeats = 0;
    };

    bool Open();
    void Close();
    Effect* Find(int effect);
    static void PostMix(void* self, std::uint8_t* stream, int len);

    int refs_ = 0;
    bool open_ = false;
    std::vector<Effect> effects_;  // id = index + 1
    Music* musicHolder_ = nullptr;
    VoiceMixer mixer_;
};

}  // namespace sdl
