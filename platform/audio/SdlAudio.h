// Sound output over SDL2_mixer: the loaded effects and the mixer's music slot; the effects are mixed
// by our own voices after the music.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/IAudio.h"
#include "platform/audio/SdlAudioDevice.h"
#include "platform/audio/VoiceMixer.h"

struct Mix_Chunk;
struct _Mix_Music;

namespace sdl {

class Music;

// One per process: the mixer underneath is process-wide.
class Audio : public IAudio, private AudioDevice::Owner {
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

    // For the music streams: SDL_mixer is called only under Hold(), and only while Live().
    std::unique_lock<std::mutex> Hold() { return device_.Lock(); }
    bool Live() const { return device_.Live(); }
    // The mixer plays one music stream at a time: the one holding its slot.
    Music* MusicHolder() const { return musicHolder_; }
    // Gives the slot to `music`; the stream that held it is told it lost it.
    void TakeMusicSlot(Music* music);
    void LeaveMusicSlot(Music* music);
    // A source let go while the output is away, freed once it is back.
    void Orphan(_Mix_Music* music) { orphanMusic_.push_back(music); }
    // Whether a file loaded while there is no output can be read once it comes.
    static bool Readable(const std::string& path);

private:
    // Game thread only, but for path and chunk: those are written under the device's lock.
    struct Effect {
        bool used = false;
        std::string path;  // loaded while there was no output: read when it comes
        Mix_Chunk* chunk = nullptr;  // as loaded: 16-bit stereo at the output rate
        bool prepared = false;
        int repeats = 0;
    };

    void Close();
    Effect* Find(int effect);
    void FreeOrphans();
    static Mix_Chunk* LoadChunk(const std::string& path);
    void OutputLost() override;
    void OutputBack() override;
    static void PostMix(void* self, std::uint8_t* stream, int len);

    int refs_ = 0;
    std::vector<Effect> effects_;  // id = index + 1
    Music* musicHolder_ = nullptr;
    std::vector<Mix_Chunk*> orphanChunks_;
    std::vector<_Mix_Music*> orphanMusic_;
    VoiceMixer mixer_;
    // Whether the output takes sound. Back after going away, a stream may take its first buffer at
    // once and the next only seconds later: every effect played meanwhile would start in one buffer,
    // in phase. So there effects wait for the first mix a moment after the output came back.
    std::atomic<bool> flowing_{false};
    std::atomic<std::int64_t> flowsFrom_{0};  // steady clock, nanoseconds
    AudioDevice device_;
};

}  // namespace sdl
