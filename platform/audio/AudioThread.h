// The one thread that calls SDL's audio and SDL_mixer: opens the output, notices its loss and opens
// the next, decodes effects and plays the music as the game's thread asks through a fixed ring.
#pragma once
#include <atomic>
#include <cstdint>
#include <deque>
#include <semaphore>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/CommandRing.h"
#include "platform/audio/MusicPlayer.h"
#include "platform/audio/VoiceMixer.h"

union SDL_Event;

namespace sdl {

// One effect. The game's thread writes the path before posting its load; this thread publishes the
// samples, 16-bit stereo at the output rate, kept until the effect is freed.
struct EffectSlot {
    std::string path;
    std::vector<std::int16_t> decoded;  // this thread
    VoiceMixer::Source sound;
};

struct AudioCommand {
    enum class Op : std::uint8_t { LoadEffect, FreeEffect, Music };
    Op op = Op::Music;
    MusicPlayer::Op music = MusicPlayer::Op::Run;
    EffectSlot* effect = nullptr;
    MusicSlot* stream = nullptr;
    std::string* path = nullptr;  // Render: owned by the command
    double value = 0.0;
    std::uint64_t halt = 0;  // FreeEffect: the voice mixer's number of the effect's halt, 0 if not posted
};

class AudioThread {
public:
    static constexpr int kRate = 44100;
    using Clock = std::int64_t (*)();  // nanoseconds

    // `clock` times the output's pauses and the effects' starts: a test may hold it still.
    explicit AudioThread(Clock clock);
    ~AudioThread();

    // Game's thread. Sets the names the sound server shows, then starts the thread: no hint changes
    // after that.
    void Start();
    // Asks the thread to close the output and end; false when it has not within `ms` (a hung sound
    // server holding a close): it is then left to finish alone, with this object.
    bool Stop(int ms);
    // False when the ring is full, as only a thread stuck in a hung server lets it be.
    bool Post(const AudioCommand& command);
    EffectSlot* NewEffect(const std::string& path);

    VoiceMixer& Voices() { return voices_; }
    // An output is open and mixing.
    bool Live() const { return live_.load(std::memory_order_acquire); }
    // Outputs opened so far, and attempts made.
    int Opens() const { return opens_.load(std::memory_order_acquire); }
    int Attempts() const { return attempts_.load(std::memory_order_acquire); }
    // Every command posted so far is done.
    bool CaughtUp() const { return applied_.load(std::memory_order_acquire) == posted_; }

private:
    void Run();
    void TryOpen(bool first);
    void Open(bool first);
    void Lose();
    void Watch();
    void Apply(const AudioCommand& c);
    void FreeHalted();
    static void PostMix(void* self, std::uint8_t* stream, int len);
    static int OnEvent(void* self, SDL_Event* event);

    Clock clock_;
    VoiceMixer voices_;
    CommandRing<AudioCommand, 256> ring_;
    std::counting_semaphore<> wake_{0};
    std::uint64_t posted_ = 0;  // game's thread
    std::atomic<std::uint64_t> applied_{0};
    std::deque<EffectSlot> effects_;  // grown by the game's thread; this one reaches slots by pointer
    std::atomic<bool> quit_{false}, removed_{false}, live_{false};
    std::atomic<int> opens_{0}, attempts_{0};
    std::binary_semaphore done_{0};
    std::thread thread_;

    // This thread only.
    bool subsystem_ = false;  // SDL's audio subsystem held
    bool open_ = false;
    std::string driver_;  // asked for again after a loss; empty: SDL's own choice
    std::int64_t openedAt_ = 0, lastMixAt_ = 0;
    std::uint64_t lastMixes_ = 0;
    int resets_ = 0;
    MusicPlayer music_{&wake_};
    struct Halted {
        EffectSlot* slot;
        std::uint64_t halt;
        int resets;
    };
    std::vector<Halted> halted_;  // freed once the mixer is past their halt
};

}  // namespace sdl
