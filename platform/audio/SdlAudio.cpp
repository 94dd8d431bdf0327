#include "platform/audio/SdlAudio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "platform/files/IFileSystem.h"

namespace sdl {

namespace {

constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
constexpr int kRate = 44100;
// Under one update step (11.6 ms of 16.7 ms) so the sounds of successive steps start in different
// mixer buffers: sounds started within one buffer begin in phase and add up coherently.
constexpr int kChunkFrames = 512;

int MusicVolume(float gain)
{
    const long v = std::lrint(gain * MIX_MAX_VOLUME);
    return static_cast<int>(std::clamp(v, 0L, static_cast<long>(MIX_MAX_VOLUME)));
}

}  // namespace

// The mixer has one music slot: running a stream takes it from whichever stream had it.
class Music : public IMusic {
public:
    explicit Music(Audio* owner) : owner_(owner) {}
    ~Music() override
    {
        Drop();
        owner_->Release();
    }

    bool Render(const std::string& path) override
    {
        Drop();
        music_ = Mix_LoadMUS(NativePath(path).c_str());
        if (!music_) return false;
        // Formats without a position answer -1 to every position query.
        positions_ = Mix_GetMusicPosition(music_) >= 0.0;
        start_ = 0.0;
        return true;
    }

    void Run() override
    {
        if (state_ == State::Running) return;
        const bool resume = state_ == State::Paused && Owns();
        state_ = State::Running;
        if (!music_) return;
        if (resume) {
            Mix_ResumeMusic();
            return;
        }
        Start();
    }

    void Pause() override
    {
        if (state_ == State::Running && Owns()) Mix_PauseMusic();
        state_ = State::Paused;
    }

    void Stop() override
    {
        if (Owns()) {
            const double p = Mix_GetMusicPosition(music_);
            if (p >= 0.0) start_ = p;
            Halt();
        }
        state_ = State::Stopped;
    }

    void SetGain(float gain) override
    {
        gain_ = gain;
        if (Owns()) Mix_VolumeMusic(MusicVolume(gain_));
    }

    // The mixer pans channels and the final mix, never the music alone.
    bool SetBalance(int) override { return false; }
    bool GetBalance(int&) override { return false; }

    bool GetPosition(double& seconds) override
    {
        if (!music_ || !positions_) return false;
        if (Owns()) {
            const double p = Mix_GetMusicPosition(music_);
            if (p < 0.0) return false;
            seconds = p;
        } else {
            seconds = start_;
        }
        return true;
    }

    bool GetDuration(double& seconds) override
    {
        if (!music_) return false;
        const double d = Mix_MusicDuration(music_);
        if (d < 0.0) return false;
        seconds = d;
        return true;
    }

    bool SetPosition(double seconds) override
    {
        if (!music_ || !positions_) return false;
        if (seconds < 0.0) seconds = 0.0;
        if (Owns()) return Mix_SetMusicPosition(seconds) == 0;
        start_ = seconds;
        return true;
    }

    bool IsComplete() override
    {
        if (state_ != State::Running) return false;
        if (!music_ || !started_) return true;
        return Owns() && !Mix_PlayingMusic();
    }

    // Another stream took the music slot.
    void Displaced()
    {
        started_ = false;
        state_ = State::Stopped;
    }

private:
    enum class State { Stopped, Paused, Running };

    bool Owns() const { return music_ && started_ && owner_->currentMusic == this; }

    void Start()
    {
        if (owner_->currentMusic && owner_->currentMusic != this) owner_->currentMusic->Displaced();
        owner_->currentMusic = this;
        Mix_VolumeMusic(MusicVolume(gain_));
        int r = -1;
        if (start_ > 0.0) r = Mix_FadeInMusicPos(music_, 1, 0, start_);
        if (r != 0) r = Mix_PlayMusic(music_, 1);  // once, never looped
        started_ = r == 0;
    }

    void Halt()
    {
        if (Owns()) Mix_HaltMusic();
        started_ = false;
    }

    void Drop()
    {
        Halt();
        if (owner_->currentMusic == this) owner_->currentMusic = nullptr;
        if (music_) Mix_FreeMusic(music_);
        music_ = nullptr;
        state_ = State::Stopped;
    }

    Audio* owner_;
    Mix_Music* music_ = nullptr;
    State state_ = State::Stopped;
    bool started_ = false;
    bool positions_ = false;
    double start_ = 0.0;
    float gain_ = 1.0f;
};

Audio::Audio() : limiter_(kRate) {}

Audio::~Audio()
{
    if (open_) Close();
}

bool Audio::Acquire()
{
    if (refs_ == 0 && !Open()) return false;
    ++refs_;
    return true;
}

void Audio::Release()
{
    if (refs_ <= 0) return;
    if (--refs_ == 0) Close();
}

bool Audio::Open()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    // A soundfont set here would hide the standard variable, so it is only set when that is absent
    // (and cleared when present, as an earlier opening may have set it).
    const char* env = SDL_getenv("SDL_SOUNDFONTS");
    Mix_SetSoundFonts(env && *env ? nullptr : kSoundFont);
    Mix_Init(MIX_INIT_MID);
    if (Mix_OpenAudioDevice(kRate, AUDIO_S16SYS, 2, kChunkFrames, nullptr, 0) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    {
        std::lock_guard<std::mutex> hold(lock_);
        sum_.assign(2 * kChunkFrames, 0.0f);
        limiter_ = Limiter(kRate);
        if (voices_.empty()) voices_.resize(8);
    }
    // The mixer adds its channels with saturation, so effects are summed here instead, after the
    // music, where the limiter can see the whole sum before it is cut to 16 bits.
    Mix_SetPostMix(&Audio::MixEffects, this);
    open_ = true;
    return true;
}

void Audio::Close()
{
    Mix_SetPostMix(nullptr, nullptr);  // waits for a mix in progress
    Mix_HaltMusic();
    {
        std::lock_guard<std::mutex> hold(lock_);
        for (Voice& v : voices_) v = Voice{};
    }
    for (Effect& e : effects_) {
        if (e.chunk) Mix_FreeChunk(e.chunk);
        e = Effect{};
    }
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open_ = false;
}

Audio::Effect* Audio::Find(int effect)
{
    if (effect <= 0 || effect > static_cast<int>(effects_.size())) return nullptr;
    Effect& e = effects_[effect - 1];
    return e.chunk ? &e : nullptr;
}

int Audio::LoadEffect(const std::string& path)
{
    if (!open_) return 0;
    // Converted on loading to the output's format: 16-bit stereo at the output rate.
    Mix_Chunk* chunk = Mix_LoadWAV(NativePath(path).c_str());
    if (!chunk) return 0;
    if (chunk->alen < 4) {
        Mix_FreeChunk(chunk);
        return 0;
    }
    Effect e;
    e.chunk = chunk;
    effects_.push_back(e);
    return static_cast<int>(effects_.size());
}

void Audio::Halt(int effect)
{
    std::lock_guard<std::mutex> hold(lock_);
    for (Voice& v : voices_) {
        if (effect == 0 || v.effect == effect) v = Voice{};
    }
}

bool Audio::Sounding(int effect)
{
    std::lock_guard<std::mutex> hold(lock_);
    for (const Voice& v : voices_) {
        if (v.effect == effect) return true;
    }
    return false;
}

void Audio::FreeEffect(int effect)
{
    Effect* e = Find(effect);
    if (!e) return;
    Halt(effect);  // freeing halts the instances first
    Mix_FreeChunk(e->chunk);
    *e = Effect{};
}

void Audio::PrepareEffect(int effect)
{
    if (Effect* e = Find(effect)) e->prepared = true;
}

void Audio::SetEffectRepeats(int effect, int repeats)
{
    if (Effect* e = Find(effect)) e->repeats = repeats < 0 ? -1 : repeats;
}

// Called with `lock_` held.
int Audio::FreeVoice()
{
    const int count = static_cast<int>(voices_.size());
    for (int i = 0; i < count; ++i) {
        if (voices_[i].effect == 0) return i;
    }
    // All busy: grow rather than cut or drop an instance.
    voices_.resize(std::max<std::size_t>(8, voices_.size() * 2));
    return count;
}

void Audio::PlayEffect(int effect)
{
    Effect* e = Find(effect);
    if (!e || !e->prepared) return;
    std::lock_guard<std::mutex> hold(lock_);
    Voice& v = voices_[FreeVoice()];
    v.effect = effect;
    v.samples = reinterpret_cast<const std::int16_t*>(e->chunk->abuf);
    v.frames = static_cast<int>(e->chunk->alen / 4);
    v.at = 0;
    v.repeats = e->repeats;
}

void Audio::StopEffect(int effect)
{
    if (Find(effect)) Halt(effect);
}

void Audio::StopAllEffects()
{
    Halt(0);
}

bool Audio::IsEffectPlaying(int effect)
{
    return Find(effect) && Sounding(effect);
}

void Audio::SetEffectGain(float gain)
{
    std::lock_guard<std::mutex> hold(lock_);
    effectGain_ = std::max(gain, 0.0f);
}

void Audio::SetEffectPosition3D(float x, float y, float z)
{
    // Loudness falls as 1 / distance beyond 1; the side the sound comes from keeps it, the other
    // side loses it as the sound moves round from straight ahead to the side.
    const double d = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
    const double loudness = d > 1.0 ? 1.0 / d : 1.0;
    const double side = (x == 0.0f && z == 0.0f) ? 0.0 : std::sin(std::atan2(double(x), double(z)));
    std::lock_guard<std::mutex> hold(lock_);
    pan_[0] = static_cast<float>(loudness * (1.0 - std::max(side, 0.0)));
    pan_[1] = static_cast<float>(loudness * (1.0 + std::min(side, 0.0)));
}

void Audio::MixEffects(void* self, std::uint8_t* stream, int len)
{
    auto* audio = static_cast<Audio*>(self);
    auto* out = reinterpret_cast<std::int16_t*>(stream);
    std::lock_guard<std::mutex> hold(audio->lock_);
    for (int frames = len / 4; frames > 0;) {
        const int n = std::min(frames, kChunkFrames);
        audio->Mix(out, n);
        out += 2 * n;
        frames -= n;
    }
}

// On the mixer's thread, with `lock_` held; `stream` holds the music.
void Audio::Mix(std::int16_t* stream, int frames)
{
    float* sum = sum_.data();
    for (int i = 0; i < 2 * frames; ++i) sum[i] = stream[i];
    const float gain[2] = {effectGain_ * pan_[0], effectGain_ * pan_[1]};
    for (Voice& v : voices_) {
        for (int f = 0; f < frames && v.effect != 0; ++f) {
            sum[2 * f] += v.samples[2 * v.at] * gain[0];
            sum[2 * f + 1] += v.samples[2 * v.at + 1] * gain[1];
            if (++v.at < v.frames) continue;
            v.at = 0;
            if (v.repeats == 0) v = Voice{};
            else if (v.repeats > 0) --v.repeats;
        }
    }
    limiter_.Process(sum, stream, frames);
}

std::unique_ptr<IMusic> Audio::CreateMusic()
{
    if (!Acquire()) return nullptr;
    return std::make_unique<Music>(this);
}

}  // namespace sdl
