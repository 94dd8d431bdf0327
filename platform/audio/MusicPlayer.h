// The music streams on the audio thread: the mixer's one music slot and what each stream publishes.
#pragma once
#include <atomic>
#include <cstdint>
#include <semaphore>
#include <string>
#include <vector>

struct _Mix_Music;

namespace sdl {

// One music stream. The game's thread makes it and posts to it; the audio thread plays it, publishes
// what the game may ask, and deletes it when the game drops it.
struct MusicSlot {
    enum class State { Stopped, Paused, Running };

    std::uint64_t posted = 0;  // game's thread: commands posted to this stream
    std::atomic<std::uint64_t> applied{0};
    std::atomic<bool> complete{false};
    std::atomic<bool> positions{false};
    std::atomic<double> position{0.0};
    std::atomic<double> duration{-1.0};

    // The audio thread only.
    _Mix_Music* music = nullptr;
    std::string pending;  // rendered while there was no output: opened when one comes
    State state = State::Stopped;
    bool started = false;  // playing, or paused, in the mixer's music slot on the current output
    bool ended = false;    // had played to its end when the output went
    double start = 0.0;    // where the next start begins, seconds
    float gain = 1.0f;
};

// Running a stream takes the mixer's music slot from whichever stream had it; that one then counts as
// stopped. While the output is away a running stream is silent but not complete, and it goes on from
// where it was when an output comes (FluidSynth's player keeps its place in a MIDI file, which has no
// positions to seek); the music object stays open across outputs. A file rendered while there is no
// output is opened when one comes.
class MusicPlayer {
public:
    enum class Op : std::uint8_t { Render, Run, Pause, Stop, Gain, Seek, Drop };

    // `wake` is released when the music ends, from the mix.
    explicit MusicPlayer(std::counting_semaphore<>* wake) : wake_(wake) {}

    // Audio thread, with the mixer initialised. `path`: Render's, owned by the call.
    void Start();
    void Apply(Op op, MusicSlot* m, double value, std::string* path, bool open);
    void OutputOpened();
    void OutputLost();
    // Publishes the playing stream's state.
    void Tick(bool open);
    void Close();

private:
    bool Owns(const MusicSlot* m) const { return m->started && holder_ == m; }
    void Publish(MusicSlot* m, bool open);
    bool Open(MusicSlot* m, const std::string& path);
    void Play(MusicSlot* m, bool open);
    void Halt(MusicSlot* m);
    void Drop(MusicSlot* m);
    static void Ended();

    std::counting_semaphore<>* wake_;
    MusicSlot* holder_ = nullptr;  // the stream in the mixer's music slot
    std::vector<MusicSlot*> streams_;
    std::atomic<MusicSlot*> sounding_{nullptr};  // the stream the mixer plays, told when it ends
    static std::atomic<MusicPlayer*> current_;   // the mixer's hook takes no argument
};

}  // namespace sdl
