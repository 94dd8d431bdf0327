// Points the platform's audio at a fresh real back end whose output SDL's disk driver writes into a
// pipe the test reads: the output runs only as far as the test lets it, so its timeline is the same on
// an idle machine, a loaded one or under the sanitizers. Restores the platform and the environment.
#pragma once
#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <mutex>
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

// Reads the pipe on a thread of its own, up to the bytes allowed (all of them when unlimited).
class PipeReader {
public:
    explicit PipeReader(const std::string& path) : path_(path)
    {
        ::unlink(path.c_str());
        ::mkfifo(path.c_str(), 0600);
        // Open before the driver does, without waiting for it: its own opening then does not block.
        fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
        if (fd_ >= 0) ::fcntl(fd_, F_SETPIPE_SZ, 4096);  // the output runs at most a few buffers ahead
        thread_ = std::thread([this] { Run(); });
    }
    ~PipeReader()
    {
        {
            std::lock_guard<std::mutex> hold(m_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_.join();
        if (fd_ >= 0) ::close(fd_);
        ::unlink(path_.c_str());
    }
    // Allows `bytes` more and waits until they are read; false when the output stops moving.
    bool Advance(std::size_t bytes)
    {
        std::unique_lock<std::mutex> lock(m_);
        allowed_ += bytes;
        changed_.notify_all();
        std::size_t seen = data_.size();
        while (data_.size() < allowed_) {
            if (!changed_.wait_for(lock, std::chrono::seconds(30), [&] { return data_.size() != seen; })) return false;
            seen = data_.size();
        }
        return true;
    }
    void Unlimit()
    {
        std::lock_guard<std::mutex> hold(m_);
        allowed_ = kAll;
        changed_.notify_all();
    }
    std::vector<std::int16_t> Samples()
    {
        std::lock_guard<std::mutex> hold(m_);
        std::vector<std::int16_t> s(data_.size() / 2);
        for (std::size_t i = 0; i < s.size(); ++i)
            s[i] = std::int16_t(std::uint8_t(data_[2 * i]) | std::uint8_t(data_[2 * i + 1]) << 8);
        return s;
    }

private:
    static constexpr std::size_t kAll = ~std::size_t(0);

    void Run()
    {
        char buf[4096];
        std::unique_lock<std::mutex> lock(m_);
        while (!stop_) {
            if (fd_ < 0 || data_.size() >= allowed_) {
                changed_.wait(lock);
                continue;
            }
            const std::size_t want = std::min(sizeof buf, allowed_ - data_.size());
            lock.unlock();
            pollfd p{fd_, POLLIN, 0};
            ssize_t n = ::poll(&p, 1, 20) > 0 ? ::read(fd_, buf, want) : -1;
            if (n == 0) ::usleep(2000);  // no writer yet, or it has gone
            lock.lock();
            if (n > 0) {
                data_.insert(data_.end(), buf, buf + n);
                changed_.notify_all();
            }
        }
    }

    std::string path_;
    int fd_ = -1;
    std::mutex m_;
    std::condition_variable changed_;
    std::vector<char> data_;
    std::size_t allowed_ = 0;
    bool stop_ = false;
    std::thread thread_;
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

// The device opens with the output and stays open until it goes; it runs a few buffers ahead of what
// the test has let through, then waits for the test.
class DiskOutput {
public:
    // Named per process: ctest runs tests side by side.
    explicit DiskOutput(const std::string& name, const char* driver = "disk") : pipe_(Env(name, driver))
    {
        saved_ = Sys().audio;
        Sys().audio = &audio;
        open_ = audio.Acquire();
    }
    ~DiskOutput()
    {
        // The device closes while the pipe is still read, so that its last writes never block.
        pipe_.Unlimit();
        if (open_) audio.Release();
        Sys().audio = saved_;
    }
    bool Open() const { return open_; }
    // Lets the output run the given stretch of sound more and returns once it is written.
    void Wait(double seconds)
    {
        if (!open_) ADD_FAILURE() << "no audio output";
        else if (!pipe_.Advance(std::size_t(seconds * kAudioRate + 0.5) * 4)) ADD_FAILURE() << "the output stopped";
    }
    // Interleaved stereo, as far as the output was let run.
    std::vector<std::int16_t> Samples() { return pipe_.Samples(); }

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
    PipeReader pipe_;  // outlives the device

public:
    sdl::Audio audio;

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
