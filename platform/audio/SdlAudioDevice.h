// The output device under SDL2_mixer: the default output, named for the sound server, opened on a
// thread of its own when it comes after the game started or comes back after going away.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

union SDL_Event;

namespace sdl {

// SDL_mixer is one process-wide object. The game's thread calls it only while holding Lock() and
// finding the device live; while it is away, only the device's own thread calls it, to close and to
// reopen it, so the game never waits on a sound server.
class AudioDevice {
public:
    // Told, with Lock() held, when the output has gone (the device about to close) and when it has
    // come, late or back (open, the post-mix hook in place).
    class Owner {
    public:
        virtual void OutputLost() = 0;
        virtual void OutputBack() = 0;

    protected:
        ~Owner() = default;
    };

    using PostMix = void (*)(void* arg, std::uint8_t* stream, int len);

    AudioDevice(Owner* owner, int rate, int chunkFrames, PostMix postMix, void* arg);
    ~AudioDevice() { Close(); }

    // Opens the output if it is there, else waits for it: Live() tells which.
    void Open();
    // Stops watching: from then on only the caller's thread calls SDL_mixer, open or not.
    void Stop();
    void Close();

    std::unique_lock<std::mutex> Lock() { return std::unique_lock<std::mutex>(lock_); }
    // Does not wait while the output is being opened or closed: then it does not own the lock.
    std::unique_lock<std::mutex> TryLock() { return std::unique_lock<std::mutex>(lock_, std::try_to_lock); }
    // Whether the output is there; under Lock() it stays so until released.
    bool Live() const { return live_.load(std::memory_order_acquire); }

private:
    bool OpenMixer();
    void CloseMixer();
    void Watch(bool away);
    static int OnEvent(void* self, SDL_Event* event);

    Owner* owner_;
    int rate_, chunkFrames_;
    PostMix postMix_;
    void* arg_;
    bool open_ = false;  // between Open and Close
    bool mixerOpen_ = false;  // written by the watching thread while it runs
    std::atomic<bool> live_{false};
    std::mutex lock_;

    std::mutex watch_;
    std::condition_variable wake_;
    bool lost_ = false, stop_ = false;
    std::thread watcher_;
};

}  // namespace sdl
