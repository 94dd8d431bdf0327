#include "platform/sdl/SdlAudio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "platform/IFileSystem.h"

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
    channels_ = Mix_AllocateChannels(-1);
    open_ = true;
    return true;
}

void Audio::Close()
{
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    for (Effect& e : effects_) {
        if (e.playing) Mix_FreeChunk(e.playing);
        if (e.chunk) Mix_FreeChunk(e.chunk);
        e = Effect{};
    }
    SweepRetired(true);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open_ = false;
    channels_ = 0;
    placed_ = false;
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
    Mix_Chunk* chunk = Mix_LoadWAV(NativePath(path).c_str());
    if (!chunk) return 0;
    Effect e;
    e.chunk = chunk;
    Scale(e);
    effects_.push_back(std::move(e));
    return static_cast<int>(effects_.size());
}

void Audio::FreeEffect(int effect)
{
    Effect* e = Find(effect);
    if (!e) return;
    // Freeing halts the instances first.
    for (int ch = 0; ch < channels_; ++ch) {
        if (PlaysEffect(ch, effect)) Mix_HaltChannel(ch);
    }
    SweepRetired(false);
    if (e->playing) Mix_FreeChunk(e->playing);
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

int Audio::FreeChannel()
{
    for (int ch = 0; ch < channels_; ++ch) {
        if (!Mix_Playing(ch)) return ch;
    }
    // All busy: grow rather than cut or drop an instance.
    const int first = channels_;
    channels_ = Mix_AllocateChannels(std::max(8, channels_ * 2));
    return first < channels_ ? first : -1;
}

void Audio::Place(int channel)
{
    if (placed_) Mix_SetPosition(channel, angle_, distance_);
}

void Audio::PlayEffect(int effect)
{
    Effect* e = Find(effect);
    if (!e || !e->prepared) return;
    const int ch = FreeChannel();
    if (ch < 0) return;
    // The gain is already in the chunk's samples: starting a sound registers nothing and allocates
    // nothing, however often it is played.
    Place(ch);
    Mix_Volume(ch, MIX_MAX_VOLUME);
    if (Mix_PlayChannel(ch, e->playing, e->repeats) < 0 && placed_) Mix_UnregisterAllEffects(ch);
}

void Audio::StopEffect(int effect)
{
    Effect* e = Find(effect);
    if (!e) return;
    for (int ch = 0; ch < channels_; ++ch) {
        if (PlaysEffect(ch, effect)) Mix_HaltChannel(ch);
    }
}

void Audio::StopAllEffects()
{
    if (open_) Mix_HaltChannel(-1);
}

bool Audio::IsEffectPlaying(int effect)
{
    Effect* e = Find(effect);
    if (!e) return false;
    for (int ch = 0; ch < channels_; ++ch) {
        if (PlaysEffect(ch, effect)) return true;
    }
    return false;
}

// A new scaled copy rather than scaling in place: instances already playing read the old samples
// on the mixer's thread. Only a change of gain allocates, never starting a sound.
void Audio::Scale(Effect& e)
{
    // The device is opened as signed 16-bit without format changes, so that is what the chunk holds.
    const auto* in = reinterpret_cast<const std::int16_t*>(e.chunk->abuf);
    std::vector<std::int16_t> samples(e.chunk->alen / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const long v = std::lrint(in[i] * effectGain_);
        samples[i] = static_cast<std::int16_t>(std::clamp(v, -32768L, 32767L));
    }
    Mix_Chunk* chunk = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(samples.data()),
                                         static_cast<Uint32>(samples.size() * sizeof(std::int16_t)));
    if (!chunk) return;
    if (e.playing) {
        const int id = static_cast<int>(&e - effects_.data()) + 1;
        retired_.push_back({id, e.playing, std::move(e.samples)});
    }
    e.playing = chunk;
    e.samples = std::move(samples);
}

bool Audio::PlaysEffect(int channel, int effect) const
{
    if (!Mix_Playing(channel)) return false;
    const Mix_Chunk* c = Mix_GetChunk(channel);
    const Effect& e = effects_[effect - 1];
    if (c && c == e.playing) return true;
    for (const Retired& r : retired_) {
        if (r.effect == effect && r.chunk == c) return true;
    }
    return false;
}

void Audio::SweepRetired(bool all)
{
    for (std::size_t i = 0; i < retired_.size();) {
        bool busy = false;
        for (int ch = 0; ch < channels_ && !busy && !all; ++ch) {
            busy = Mix_Playing(ch) && Mix_GetChunk(ch) == retired_[i].chunk;
        }
        if (busy) {
            ++i;
            continue;
        }
        Mix_FreeChunk(retired_[i].chunk);  // halts any instance left
        retired_.erase(retired_.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void Audio::SetEffectGain(float gain)
{
    effectGain_ = std::max(gain, 0.0f);
    if (!open_) return;
    SweepRetired(false);
    for (Effect& e : effects_) {
        if (e.chunk) Scale(e);
    }
}

void Audio::SetEffectPosition3D(float x, float y, float z)
{
    // The mixer's angle runs clockwise from straight ahead, and its distance byte scales loudness
    // linearly from 255/255 at 0 down to nothing at 255.
    const double d = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
    const double loudness = d > 1.0 ? 1.0 / d : 1.0;
    const double deg = (x == 0.0f && z == 0.0f) ? 0.0 : std::atan2(double(x), double(z)) * 180.0 / M_PI;
    angle_ = static_cast<short>(std::lround(deg < 0.0 ? deg + 360.0 : deg) % 360);
    distance_ = static_cast<unsigned char>(std::clamp(std::lround(255.0 * (1.0 - loudness)), 0L, 255L));
    placed_ = true;
    for (int ch = 0; ch < channels_; ++ch) {
        if (Mix_Playing(ch)) Place(ch);
    }
}

std::unique_ptr<IMusic> Audio::CreateMusic()
{
    if (!Acquire()) return nullptr;
    return std::make_unique<Music>(this);
}

}  // namespace sdl
