// One music stream over SDL2_mixer's single music slot: a file, its transport and its level.
#pragma once
#include <string>

#include "platform/audio/IAudio.h"

struct _Mix_Music;

namespace sdl {

class Audio;

// Running a stream takes the mixer's music slot from whichever stream had it; that one then counts
// as stopped. The stream holds the output device while it lives. While the output is away a running
// stream is silent but not complete, and it goes on from where it was when the output comes back
// (FluidSynth's player keeps its place in a MIDI file, which has no positions to seek). A file
// rendered while there is no output is opened when the output comes.
class Music : public IMusic {
public:
    explicit Music(Audio* owner) : owner_(owner) {}
    ~Music() override;

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

    // Another stream took the music slot.
    void Displaced();
    // With the slot held, the output went away or came back.
    void OutputLost();
    void OutputBack();

private:
    enum class State { Stopped, Paused, Running };

    bool Owns() const;
    bool Open(const std::string& path);
    void Start();
    void Halt();
    void Drop();

    Audio* owner_;
    _Mix_Music* music_ = nullptr;
    std::string pending_;  // rendered while there was no output
    State state_ = State::Stopped;
    bool started_ = false;
    bool ended_ = false;  // when the output went away
    bool positions_ = false;
    double duration_ = -1.0;
    double start_ = 0.0;
    float gain_ = 1.0f;
};

}  // namespace sdl
