// Points the platform's audio at a fresh real back end whose output SDL's disk driver writes into a
// pipe the test reads: the output runs only as far as the test lets it, so its timeline is the same on
// an idle machine, a loaded one or under the sanitizers. Restores the platform and the environment.
#pragma once
#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Platform.h"
#include "platform/audio/SdlAudio.h"

namespace testsupport {

constexpr int kAudioRate = 44100;

// The reading end of the pipe. The output writes only as far ahead as the pipe holds (a few buffers).
class Pipe {
public:
    explicit Pipe(const std::string& path) : path_(path)
    {
        ::unlink(path.c_str());
        ::mkfifo(path.c_str(), 0600);
        // Open before the driver does, without waiting for it: its own opening then does not block.
        fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
        if (fd_ >= 0) ::fcntl(fd_, F_SETPIPE_SZ, 4096);
    }
    ~Pipe()
    {
        if (writer_ >= 0) ::close(writer_);
        if (drain_.joinable()) drain_.join();
        if (fd_ >= 0) ::close(fd_);
        ::unlink(path_.c_str());
    }
    // Reads `bytes` more; false when the writer has gone or nothing comes for 30 s.
    bool Read(std::size_t bytes)
    {
        const std::size_t want = data_.size() + bytes;
        char buf[4096];
        for (int idle = 0; data_.size() < want;) {
            pollfd p{fd_, POLLIN, 0};
            const ssize_t n = ::poll(&p, 1, 100) > 0 ? ::read(fd_, buf, std::min(sizeof buf, want - data_.size())) : -1;
            if (n > 0) data_.insert(data_.end(), buf, buf + n);
            if (n == 0 || (n < 0 && ++idle > 300)) return false;
        }
        return true;
    }
    // Keeps a writer of our own, so that the reading sees no end between one output and the next.
    void HoldOpen() { writer_ = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK); }
    // From now on whatever is written is read and dropped, until the writer goes.
    void Drain()
    {
        drain_ = std::thread([fd = fd_] {
            char buf[4096];
            for (pollfd p{fd, POLLIN, 0}; ::poll(&p, 1, 100) >= 0;) {
                if (p.revents && ::read(fd, buf, sizeof buf) <= 0) return;
            }
        });
    }
    std::vector<std::int16_t> Samples() const
    {
        std::vector<std::int16_t> s(data_.size() / 2);
        std::memcpy(s.data(), data_.data(), 2 * s.size());  // little-endian, as the output writes it
        return s;
    }

private:
    std::string path_;
    int fd_ = -1, writer_ = -1;
    std::vector<char> data_;
    std::thread drain_;
};

// Sets environment variables for its lifetime.
class ScopedEnv {
public:
    ~ScopedEnv()
    {
        for (auto& [key, value] : saved_) {
            if (value.first) setenv(key.c_str(), value.second.c_str(), 1);
            else unsetenv(key.c_str());
        }
    }
    void Set(const std::string& key, const std::string& value)
    {
        const char* old = std::getenv(key.c_str());
        if (!saved_.count(key)) saved_[key] = {old != nullptr, old ? old : ""};
        setenv(key.c_str(), value.c_str(), 1);
    }

private:
    std::map<std::string, std::pair<bool, std::string>> saved_;
};

// Waits, a bounded time, for what another thread does.
template <class F>
bool Await(F done, double seconds = 20.0)
{
    for (int i = 0; i < int(seconds * 1000) && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done();
}

// The device opens with the output and stays open until it goes; it runs a few buffers ahead of what
// the test has let through, then waits for the test. Its clock moves only when the test moves it.
class DiskOutput {
public:
    // Named per process: ctest runs tests side by side.
    explicit DiskOutput(const std::string& name, const char* driver = "disk") : pipe_(Env(name, driver))
    {
        saved_ = Sys().audio;
        Sys().audio = &audio;
        audio.Acquire();
        // Else waiting for an output: the pipe is never opened.
        open_ = Await([&] { return audio.Attempts() > 0; }) && audio.Live();
    }
    ~DiskOutput()
    {
        // The device closes while the pipe is still read, so that its last writes never block.
        if (open_) {
            pipe_.Drain();
            audio.Release();
        }
        Sys().audio = saved_;
    }
    bool Open() const { return open_; }
    // Once the audio thread has done all that was asked, lets the output run `seconds` more of sound.
    void Wait(double seconds)
    {
        if (!Await([&] { return audio.CaughtUp(); })) ADD_FAILURE() << "the audio thread is stuck";
        if (!open_) ADD_FAILURE() << "no audio output";
        else if (!pipe_.Read(std::size_t(seconds * kAudioRate + 0.5) * 4)) ADD_FAILURE() << "the output stopped";
    }
    // Interleaved stereo, as far as the output was let run.
    std::vector<std::int16_t> Samples() { return pipe_.Samples(); }
    Pipe& pipe() { return pipe_; }
    static void Advance(double seconds) { now_ += std::int64_t(seconds * 1e9); }

private:
    std::string Env(const std::string& name, const char* driver)
    {
        const std::string path = testing::TempDir() + "zenthar-" + std::to_string(getpid()) + "-" + name;
        env_.Set("SDL_AUDIODRIVER", driver);
        env_.Set("SDL_DISKAUDIOFILE", path);
        env_.Set("SDL_DISKAUDIODELAY", "0");  // paced by the reading alone
        return path;
    }

    ScopedEnv env_;
    Pipe pipe_;  // outlives the device

    static std::int64_t Now() { return now_.load(); }
    static inline std::atomic<std::int64_t> now_{0};

public:
    sdl::Audio audio{&DiskOutput::Now};

private:
    bool open_ = false;
    IAudio* saved_ = nullptr;
};

// The mixer is one per process: a game built by an earlier test in this process may still hold it
// (on another driver), and the output could then not be captured.
inline bool MixerHeldElsewhere() { return SDL_WasInit(SDL_INIT_AUDIO) != 0; }

}  // namespace testsupport

#define SKIP_IF_MIXER_HELD()                     \
    if (testsupport::MixerHeldElsewhere()) \
    GTEST_SKIP() << "the audio device is held elsewhere in this process"
