// Points the platform's audio at a fresh real back end writing to a file through SDL's disk driver,
// and reads the samples back; restores the platform and the environment after.
#pragma once
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "platform/Platform.h"
#include "platform/audio/SdlAudio.h"

namespace testsupport {

constexpr int kAudioRate = 44100;

class DiskOutput {
public:
    // Named per process: ctest runs tests side by side.
    explicit DiskOutput(const std::string& name)
        : file_(testing::TempDir() + "zenthar-" + std::to_string(getpid()) + "-" + name)
    {
        std::remove(file_.c_str());
        Keep("SDL_AUDIODRIVER", "disk");
        Keep("SDL_DISKAUDIOFILE", file_.c_str());
        saved_ = Sys().audio;
        Sys().audio = &audio;
    }
    ~DiskOutput()
    {
        Sys().audio = saved_;
        for (auto& [key, value] : env_) {
            if (value.first) setenv(key.c_str(), value.second.c_str(), 1);
            else unsetenv(key.c_str());
        }
    }
    void Keep(const char* key, const char* value)
    {
        const char* old = std::getenv(key);
        if (!env_.count(key)) env_[key] = {old != nullptr, old ? old : ""};
        setenv(key, value, 1);
    }
    const std::string& File() const { return file_; }
    // Stereo frames written so far.
    std::size_t Frames() const
    {
        std::error_code ec;
        const auto size = std::filesystem::file_size(file_, ec);
        return ec ? 0 : std::size_t(size / 4);
    }
    // Waits until the device has written the given stretch of sound more. The disk driver keeps to
    // real time only as well as its thread gets the processor, so a busy machine would otherwise
    // squeeze the test's timeline.
    void Wait(double seconds) const
    {
        const double target = double(Frames()) / kAudioRate + seconds;
        for (Uint32 waited = 0; double(Frames()) / kAudioRate < target && waited < Uint32(seconds * 10000) + 2000;
             waited += 5)
            SDL_Delay(5);
    }
    // Interleaved stereo; only complete once every holder of the device has let it go.
    std::vector<std::int16_t> Samples() const { return ReadSamples(file_); }
    static std::vector<std::int16_t> ReadSamples(const std::string& file)
    {
        std::ifstream f(file, std::ios::binary);
        std::vector<std::int16_t> s;
        std::error_code ec;
        s.reserve(std::size_t(std::filesystem::file_size(file, ec) / 2));
        std::vector<char> bytes(1 << 16);
        while (f.read(bytes.data(), std::streamsize(bytes.size())) || f.gcount() > 0) {
            const std::size_t n = std::size_t(f.gcount()) / 2;
            for (std::size_t i = 0; i < n; ++i)
                s.push_back(std::int16_t(std::uint8_t(bytes[2 * i]) | std::uint8_t(bytes[2 * i + 1]) << 8));
        }
        return s;
    }

    sdl::Audio audio;

private:
    std::string file_;
    IAudio* saved_ = nullptr;
    std::map<std::string, std::pair<bool, std::string>> env_;
};

// The mixer is one per process: a game built by an earlier test in this process may still hold it
// (on another driver), and the output could then not be captured.
inline bool MixerHeldElsewhere() { return SDL_WasInit(SDL_INIT_AUDIO) != 0; }

}  // namespace testsupport

#define SKIP_IF_MIXER_HELD()                     \
    if (testsupport::MixerHeldElsewhere()) \
    GTEST_SKIP() << "the audio device is held elsewhere in this process"
