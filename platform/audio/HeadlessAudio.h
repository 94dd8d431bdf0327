// Test twin of the sound output: records which effect played at what gain, and every music call.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/IAudio.h"

namespace headless {

struct PlayedEffect {
    int effect;
    std::string path;
    float gain;
};

// Instances never end by themselves here (no time passes for sound); StopEffect ends them.
class Audio : public IAudio {
public:
    struct Effect {
        std::string path;
        bool loaded = false;
        bool prepared = false;
        int repeats = 0;
        int sounding = 0;
    };

    class Music;

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
    void SetEffectGain(float gain) override { effectGain = gain; }
    void SetEffectPosition3D(float x, float y, float z) override;
    std::unique_ptr<IMusic> CreateMusic() override;

    // Plays of a path, however it was spelt (the last component is compared).
    int PlayCount(const std::string& fileName) const;
    // The music stream reaches its end, as the real one does by itself.
    void FinishMusic();

    bool deviceAvailable = true;  // false: no output, as on a machine without sound
    int refs = 0;
    int opens = 0;
    float effectGain = 1.0f;
    float position3D[3] = {};
    std::vector<Effect> effects;  // id = index + 1
    std::vector<PlayedEffect> played;

    // Music: one line per call, e.g. "Render C:\a\all.mid", "Run", "Gain 0.5".
    std::vector<std::string> musicCalls;
    Music* music = nullptr;  // the live stream, if any
    double musicDuration = 60.0;  // length of any source that renders
};

class Audio::Music : public IMusic {
public:
    explicit Music(Audio* owner) : owner_(owner) {}
    ~Music() override;
    bool Render(const std::string& path) override;
    void Run() override;
    void Pause() override;
    void Stop() override;
    void SetGain(float g) override;
    bool SetBalance(int hundredthsDb) override;
    bool GetBalance(int& hundredthsDb) override;
    bool GetPosition(double& seconds) override;
    bool GetDuration(double& seconds) override;
    bool SetPosition(double seconds) override;
    bool IsComplete() override { return running && (!hasSource || ended); }

    bool hasSource = false;
    bool running = false;
    bool paused = false;
    bool ended = false;
    float gain = 1.0f;
    int balance = 0;
    double position = 0.0;

private:
    Audio* owner_;
};

}  // namespace headless
