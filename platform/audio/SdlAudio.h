// Sound output over SDL2_mixer, as the game's thread sees it: it posts what it wants to the audio
// thread and answers from what that thread publishes, never waiting for it.
#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "platform/audio/IAudio.h"

namespace sdl {

class AudioThread;
struct EffectSlot;

// One per process: the mixer underneath is process-wide.
class Audio : public IAudio {
public:
    // `clock` (nanoseconds) times the output's pauses; a test may hold it still. Null: the steady clock.
    explicit Audio(std::int64_t (*clock)() = nullptr);
    ~Audio() override;

    bool Acquire() override;
    void Release() override;

    // A file that cannot be read or is no WAVE gives 0; one that then does not decode stays silent.
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

    // What the audio thread publishes: an output open and mixing; outputs opened and tries so far;
    // whether it has done all that was posted.
    bool Live() const;
    int Opens() const;
    int Attempts() const;
    bool CaughtUp() const;

    // Whether a file can be read now: one that is not there now never will be.
    static bool Readable(const std::string& path);

    // Times one call of the game's thread; with ZENTHAR_AUDIO_STATS=1 the longest is printed at the end,
    // apart from the loading calls, which look for their file at start-up.
    class Timed {
    public:
        Timed(Audio* audio, const char* what, bool loading = false);
        ~Timed();

    private:
        Audio* audio_;
        const char* what_;
        bool loading_;
        std::int64_t start_;
    };

private:
    struct Effect {
        EffectSlot* slot = nullptr;  // null: freed
        bool prepared = false;
        int repeats = 0;
    };

    void Close();
    Effect* Find(int effect);
    static bool IsWave(const std::string& path);

    std::int64_t (*clock_)();
    int refs_ = 0;
    bool stats_ = false;
    std::int64_t longestNs_ = 0, startNs_ = 0, loadingNs_ = 0;
    const char* longest_ = "";
    unsigned long calls_ = 0;
    float gain_ = 1.0f;
    float position_[3] = {};
    AudioThread* thread_ = nullptr;
    std::deque<Effect> effects_;  // id = index + 1
};

}  // namespace sdl
