#include "platform/audio/SdlAudioDevice.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <chrono>
#include <cstdlib>

namespace sdl {

namespace {

constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
// A failed opening with the server down takes well under a millisecond.
constexpr auto kRetry = std::chrono::milliseconds(500);

// Sound servers show the stream under the game's name and icon; settings in the environment win.
void NameTheStream()
{
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Zenthar");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Zenthar");
    setenv("PULSE_PROP_application.icon_name", "zenthar", 0);  // read by libpulse as it connects
}

}  // namespace

AudioDevice::AudioDevice(Owner* owner, int rate, int chunkFrames, PostMix postMix, void* arg)
    : owner_(owner), rate_(rate), chunkFrames_(chunkFrames), postMix_(postMix), arg_(arg)
{
}

void AudioDevice::Open()
{
    if (open_) return;
    NameTheStream();
    // A soundfont set here would hide the standard variable, so it is only set when that is absent
    // (and cleared when present, as an earlier opening may have set it).
    const char* env = SDL_getenv("SDL_SOUNDFONTS");
    Mix_SetSoundFonts(env && *env ? nullptr : kSoundFont);
    Mix_Init(MIX_INIT_MID);
    const bool now = OpenMixer();
    // Retries ask only for the back end that worked, or for the sound server when none did: SDL's
    // other back ends would reach for the hardware the server holds, and ALSA prints a screenful at
    // every failed try. The hint is set here, before the watcher runs, as SDL's hints are not
    // thread-safe; a user's SDL_AUDIODRIVER still wins over it.
    const char* current = now ? SDL_GetCurrentAudioDriver() : nullptr;
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, current ? current : "pulseaudio", SDL_HINT_NORMAL);
    live_ = now;
    open_ = true;
    lost_ = stop_ = false;
    SDL_AddEventWatch(&AudioDevice::OnEvent, this);
    watcher_ = std::thread([this, now] { Watch(!now); });
}

void AudioDevice::Stop()
{
    if (!watcher_.joinable()) return;
    SDL_DelEventWatch(&AudioDevice::OnEvent, this);
    {
        std::lock_guard<std::mutex> hold(watch_);
        stop_ = true;
    }
    wake_.notify_all();
    watcher_.join();
}

void AudioDevice::Close()
{
    if (!open_) return;
    Stop();
    if (mixerOpen_) {
        Mix_SetPostMix(nullptr, nullptr);  // waits for a mix in progress
        Mix_HaltMusic();
        CloseMixer();
    }
    live_ = false;
    Mix_Quit();
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    open_ = false;
}

// The default output: the server may move the stream wherever its user wants it.
bool AudioDevice::OpenMixer()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudioDevice(rate_, AUDIO_S16SYS, 2, chunkFrames_, nullptr, 0) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_SetPostMix(postMix_, arg_);
    mixerOpen_ = true;
    return true;
}

// The whole audio subsystem goes: a sound server that went away leaves SDL's connection to it dead,
// and only a fresh start of the subsystem makes a new one.
void AudioDevice::CloseMixer()
{
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    mixerOpen_ = false;
}

// `away`: the output was not there at the start.
void AudioDevice::Watch(bool away)
{
    std::unique_lock<std::mutex> watch(watch_);
    for (;;) {
        if (!away) {
            wake_.wait(watch, [&] { return lost_ || stop_; });
            if (stop_) return;
            watch.unlock();
            {
                auto hold = Lock();
                live_ = false;
                owner_->OutputLost();
            }
            CloseMixer();
            watch.lock();
            lost_ = false;
        }
        away = false;
        while (!stop_) {
            watch.unlock();
            const bool back = OpenMixer();
            if (back) {
                auto hold = Lock();
                live_ = true;
                owner_->OutputBack();
            }
            watch.lock();
            if (back) break;
            wake_.wait_for(watch, kRetry, [&] { return stop_; });
        }
    }
}

// On the thread that finds the output gone, the device's own mixing thread as a rule.
int AudioDevice::OnEvent(void* self, SDL_Event* event)
{
    // Outputs that were never opened go with `which` 0: another sink unplugged is not ours to reopen.
    if (event->type != SDL_AUDIODEVICEREMOVED || event->adevice.iscapture || event->adevice.which == 0) return 1;
    auto* device = static_cast<AudioDevice*>(self);
    device->live_ = false;  // effects stop starting at once
    {
        std::lock_guard<std::mutex> hold(device->watch_);
        device->lost_ = true;
    }
    device->wake_.notify_all();
    return 1;
}

}  // namespace sdl
