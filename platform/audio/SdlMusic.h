// One music stream over SDL2_mixer's single music slot, as the game's thread sees it: its calls are
// posted to the audio thread, its queries answered from what that thread publishes.
#pragma once
#include <string>

#include "platform/audio/AudioThread.h"
#include "platform/audio/IAudio.h"

namespace sdl {

class Audio;
// The stream holds the output device while it lives; MusicPlayer tells how it plays.
class Music : public IMusic {
public:
    Music(Audio* owner, AudioThread* thread);
    ~Music() override;

    // False when the file cannot be read; one that is read but does not decode plays nothing.
    bool Render(const std::string& path) override;
    void Run() override;
    void Pause() override;
    void Stop() override;
    void SetGain(float gain) override;
    // The mixer pans channels and the final mix, never the music alone.
    bool SetBalance(int) override { return false; }
    bool GetBalance(int&) override { return false; }
    bool GetPosition(double& seconds) override;
    bool GetDuration(double& seconds) override;
    bool SetPosition(double seconds) override;
    bool IsComplete() override;

private:
    void Post(MusicPlayer::Op op, double value = 0.0, std::string* path = nullptr);

    Audio* owner_;
    AudioThread* thread_;
    MusicSlot* slot_;  // the audio thread's once dropped
    bool source_ = false;
    bool running_ = false;
};

}  // namespace sdl
