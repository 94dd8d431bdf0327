#include "platform/audio/AudioThread.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "platform/files/IFileSystem.h"

namespace sdl {

namespace {

constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
// A failed opening with the server down takes well under a millisecond.
constexpr auto kRetry = std::chrono::milliseconds(500);
// How often an open output is watched, and the music's state published.
constexpr auto kTick = std::chrono::milliseconds(50);
// How long an output may stop asking for sound before it counts as lost. Healthy servers pause at
// most 126 ms (PipeWire, natively and through pipewire-pulse, on a loaded machine) once flowing;
// PulseAudio's null sink takes a first burst and then nothing for 1.9 s.
constexpr std::int64_t kStallNs = 1'000'000'000;
constexpr std::int64_t kFirstStallNs = 4'000'000'000;

// Converted once to the output's format, whatever output comes: nothing is read again on reopening.
std::vector<std::int16_t> Decode(const std::string& path)
{
    SDL_AudioSpec wav;
    Uint8* data = nullptr;
    Uint32 len = 0;
    if (!SDL_LoadWAV(NativePath(path).c_str(), &wav, &data, &len)) return {};
    SDL_AudioCVT cvt;
    std::vector<Uint8> buf;
    if (SDL_BuildAudioCVT(&cvt, wav.format, wav.channels, wav.freq, AUDIO_S16SYS, 2, AudioThread::kRate) >= 0) {
        buf.assign(data, data + len);
        buf.resize(std::size_t(len) * std::max(cvt.len_mult, 1));
        cvt.buf = buf.data();
        cvt.len = int(len);
        if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) buf.clear();
    } else {
        cvt.needed = 0;
    }
    SDL_FreeWAV(data);
    const std::size_t bytes = buf.empty() ? 0 : std::size_t(cvt.needed ? cvt.len_cvt : int(len));
    std::vector<std::int16_t> samples(bytes / 4 * 2);
    if (!samples.empty()) std::memcpy(samples.data(), buf.data(), 2 * samples.size());
    return samples;
}

}  // namespace

AudioThread::AudioThread(Clock clock) : clock_(clock), voices_(kRate, clock) {}

AudioThread::~AudioThread()
{
    if (thread_.joinable()) thread_.join();
}

void AudioThread::Start()
{
    // Sound servers show the stream under the game's name and icon; settings in the environment win.
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Zenthar");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Zenthar");
    setenv("PULSE_PROP_application.icon_name", "zenthar", 0);  // read by libpulse as it connects
    thread_ = std::thread([this] { Run(); });
}

bool AudioThread::Stop(int ms)
{
    quit_ = true;
    wake_.release();
    if (!done_.try_acquire_for(std::chrono::milliseconds(ms))) {
        thread_.detach();
        return false;
    }
    thread_.join();
    return true;
}

bool AudioThread::Post(const AudioCommand& command)
{
    if (!ring_.Post(command)) return false;
    ++posted_;
    wake_.release();
    return true;
}

EffectSlot* AudioThread::NewEffect(const std::string& path)
{
    effects_.emplace_back();
    effects_.back().path = path;
    return &effects_.back();
}

void AudioThread::Run()
{
    // A soundfont set here would hide the standard variable, so it is only set when that is absent.
    const char* fonts = SDL_getenv("SDL_SOUNDFONTS");
    Mix_SetSoundFonts(fonts && *fonts ? nullptr : kSoundFont);
    Mix_Init(MIX_INIT_MID);
    music_.Start();
    auto retryAt = std::chrono::steady_clock::now();
    for (bool first = true; !quit_;) {
        const auto now = std::chrono::steady_clock::now();
        if (!open_ && now >= retryAt) {
            TryOpen(first);
            first = false;
            retryAt = now + kRetry;
        }
        const auto wait = open_ ? kTick : std::chrono::duration_cast<std::chrono::milliseconds>(retryAt - now) + kTick / 10;
        (void)wake_.try_acquire_for(wait);
        for (AudioCommand c; ring_.Take(c);) {
            Apply(c);
            applied_.fetch_add(1, std::memory_order_release);
        }
        if (open_) Watch();
        music_.Tick(open_);
        FreeHalted();
    }
    live_ = false;
    if (open_) Mix_SetPostMix(nullptr, nullptr);
    music_.Close();
    if (open_) Mix_CloseAudio();
    open_ = false;
    if (subsystem_) {
        SDL_DelEventWatch(&AudioThread::OnEvent, this);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    Mix_Quit();
    done_.release();
}

// The first try takes SDL's own choice of back end, or the user's. Later tries, after a loss or while
// waiting for an output, ask only for the back end that worked (for PulseAudio when none did): SDL's
// others would reach for the hardware the server holds, and ALSA prints a screenful at every failed
// try. Starting the back end afresh also makes a new connection: one to a server that went away
// stays dead. No hint is set for this: SDL's hints are not thread-safe.
void AudioThread::TryOpen(bool first)
{
    Open(first);
    attempts_.fetch_add(1, std::memory_order_release);
}

void AudioThread::Open(bool first)
{
    if (!subsystem_) {
        subsystem_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        if (!subsystem_) return;
        SDL_AddEventWatch(&AudioThread::OnEvent, this);
    } else if (!first && SDL_AudioInit(driver_.empty() ? nullptr : driver_.c_str()) != 0) {
        return;
    }
    removed_ = false;
    const bool opened = Mix_OpenAudioDevice(kRate, AUDIO_S16SYS, 2, VoiceMixer::kMaxFrames, nullptr, 0) == 0;
    if (first) {
        const char* current = opened ? SDL_GetCurrentAudioDriver() : nullptr;
        const char* asked = SDL_getenv("SDL_AUDIODRIVER");
        driver_ = current ? current : (asked && *asked ? "" : "pulseaudio");
    }
    if (!opened) return;
    voices_.Reset();
    ++resets_;
    Mix_SetPostMix(&AudioThread::PostMix, this);
    open_ = true;
    openedAt_ = lastMixAt_ = clock_();
    lastMixes_ = voices_.Mixes();
    opens_.fetch_add(1, std::memory_order_release);
    live_.store(true, std::memory_order_release);
    music_.OutputOpened();
}

// The output went, or stopped asking for sound. Its close may wait for a hung server; only this thread
// waits for it. What is decoded stays: effects and the music object play again on the next output.
void AudioThread::Lose()
{
    live_ = false;
    Mix_SetPostMix(nullptr, nullptr);
    music_.OutputLost();
    Mix_CloseAudio();
    open_ = false;
    voices_.Reset();
    ++resets_;
}

void AudioThread::Watch()
{
    const std::int64_t now = clock_();
    const std::uint64_t mixes = voices_.Mixes();
    if (mixes != lastMixes_) {
        lastMixes_ = mixes;
        lastMixAt_ = now;
    }
    const std::int64_t limit = now - openedAt_ < kFirstStallNs ? kFirstStallNs : kStallNs;
    if (removed_ || now - lastMixAt_ > limit) Lose();
}

void AudioThread::Apply(const AudioCommand& c)
{
    switch (c.op) {
    case AudioCommand::Op::LoadEffect: {
        EffectSlot* e = c.effect;
        e->decoded = Decode(e->path);
        e->sound.samples.store(e->decoded.data(), std::memory_order_relaxed);
        e->sound.frames.store(int(e->decoded.size() / 2), std::memory_order_release);
        return;
    }
    case AudioCommand::Op::FreeEffect:
        halted_.push_back(Halted{c.effect, c.halt, resets_});
        return;
    case AudioCommand::Op::Music:
        music_.Apply(c.music, c.stream, c.value, c.path, open_);
    }
}

// Samples go once no voice can hold them: past the halt in the mixer, or after its reset.
void AudioThread::FreeHalted()
{
    const std::uint64_t taken = voices_.Taken();
    auto done = [&](const Halted& h) {
        if (!(h.halt && taken >= h.halt) && h.resets == resets_) return false;
        h.slot->sound.frames.store(0, std::memory_order_relaxed);
        h.slot->sound.samples.store(nullptr, std::memory_order_relaxed);
        std::vector<std::int16_t>().swap(h.slot->decoded);
        return true;
    };
    halted_.erase(std::remove_if(halted_.begin(), halted_.end(), done), halted_.end());
}

// The mixer adds its channels with saturation, so effects are summed here instead, after the music,
// where the limiter can see the whole sum before it is cut to 16 bits.
void AudioThread::PostMix(void* self, std::uint8_t* stream, int len)
{
    static_cast<AudioThread*>(self)->voices_.Mix(reinterpret_cast<std::int16_t*>(stream), len / 4);
}

// On the thread that finds the output gone, SDL's mixing thread as a rule: it only raises a flag.
int AudioThread::OnEvent(void* self, SDL_Event* event)
{
    // Outputs that were never opened go with `which` 0: another sink unplugged is not ours to reopen.
    if (event->type != SDL_AUDIODEVICEREMOVED || event->adevice.iscapture || event->adevice.which == 0) return 1;
    auto* thread = static_cast<AudioThread*>(self);
    thread->live_ = false;  // effects stop starting at once
    thread->removed_ = true;
    thread->wake_.release();
    return 1;
}

}  // namespace sdl
