#include "platform/audio/SdlAudio.h"

#include <SDL_mixer.h>

#include <chrono>
#include <cstdint>
#include <fstream>

#include "platform/audio/SdlMusic.h"
#include "platform/files/IFileSystem.h"

namespace sdl {

namespace {

constexpr int kRate = 44100;
constexpr std::int64_t kSettleNs = 100'000'000;

std::int64_t Now()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

// Buffers of the voice mixer's size: under one update step (11.6 ms of 16.7 ms), so the sounds of
// successive steps start in different buffers; sounds started within one buffer begin in phase and
// add up coherently.
Audio::Audio() : mixer_(kRate), device_(this, kRate, VoiceMixer::kMaxFrames, &Audio::PostMix, this) {}

Audio::~Audio() { Close(); }

bool Audio::Acquire()
{
    if (refs_ == 0) {
        flowsFrom_ = 0;
        flowing_ = true;
        device_.Open();
    }
    ++refs_;
    return true;
}

void Audio::Release()
{
    if (refs_ <= 0) return;
    if (--refs_ == 0) Close();
}

void Audio::Close()
{
    mixer_.Halt(0);
    device_.Stop();
    for (Effect& e : effects_) {
        if (e.chunk) Mix_FreeChunk(e.chunk);
        e = Effect{};
    }
    FreeOrphans();
    device_.Close();
}

void Audio::FreeOrphans()
{
    for (Mix_Chunk* chunk : orphanChunks_) Mix_FreeChunk(chunk);
    for (Mix_Music* music : orphanMusic_) Mix_FreeMusic(music);
    orphanChunks_.clear();
    orphanMusic_.clear();
}

// The mixer adds its channels with saturation, so effects are summed here instead, after the music,
// where the limiter can see the whole sum before it is cut to 16 bits.
void Audio::PostMix(void* self, std::uint8_t* stream, int len)
{
    auto* audio = static_cast<Audio*>(self);
    if (!audio->flowing_.load(std::memory_order_relaxed) && Now() >= audio->flowsFrom_.load(std::memory_order_relaxed))
        audio->flowing_.store(true, std::memory_order_relaxed);
    audio->mixer_.Mix(reinterpret_cast<std::int16_t*>(stream), len / 4);
}

void Audio::OutputLost()
{
    flowsFrom_ = INT64_MAX;  // not the dying device, nor the first buffers of the next one
    flowing_ = false;
    mixer_.Reset();
    if (musicHolder_) musicHolder_->OutputLost();
}

void Audio::OutputBack()
{
    flowsFrom_ = Now() + kSettleNs;
    flowing_ = false;
    FreeOrphans();
    for (Effect& e : effects_) {
        if (e.path.empty()) continue;
        e.chunk = LoadChunk(e.path);
        e.path.clear();
    }
    if (musicHolder_) musicHolder_->OutputBack();
}

Audio::Effect* Audio::Find(int effect)
{
    if (effect <= 0 || effect > static_cast<int>(effects_.size())) return nullptr;
    Effect& e = effects_[effect - 1];
    return e.used ? &e : nullptr;
}

// A file that is not there now never will be.
bool Audio::Readable(const std::string& path) { return static_cast<bool>(std::ifstream(NativePath(path))); }

// Converted on loading to the output's format: 16-bit stereo at the output rate.
Mix_Chunk* Audio::LoadChunk(const std::string& path)
{
    Mix_Chunk* chunk = Mix_LoadWAV(NativePath(path).c_str());
    if (chunk && chunk->alen < 4) {
        Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
    return chunk;
}

int Audio::LoadEffect(const std::string& path)
{
    auto hold = device_.Lock();
    Effect e;
    e.used = true;
    if (device_.Live()) {
        e.chunk = LoadChunk(path);
        if (!e.chunk) return 0;
    } else {
        if (!Readable(path)) return 0;
        e.path = path;
    }
    effects_.push_back(std::move(e));
    return static_cast<int>(effects_.size());
}

void Audio::FreeEffect(int effect)
{
    Effect* e = Find(effect);
    if (!e) return;
    mixer_.Halt(effect);  // freeing halts the instances first
    auto hold = device_.Lock();
    if (e->chunk && device_.Live()) Mix_FreeChunk(e->chunk);
    else if (e->chunk) orphanChunks_.push_back(e->chunk);
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

void Audio::PlayEffect(int effect)
{
    Effect* e = Find(effect);
    // While the output is away, not yet running or being opened, nothing sounds.
    if (!e || !e->prepared || !flowing_.load(std::memory_order_relaxed)) return;
    auto hold = device_.TryLock();
    if (!hold.owns_lock() || !device_.Live() || !e->chunk) return;
    mixer_.Start(effect, reinterpret_cast<const std::int16_t*>(e->chunk->abuf), static_cast<int>(e->chunk->alen / 4),
                 e->repeats);
}

void Audio::StopEffect(int effect)
{
    if (Find(effect)) mixer_.Halt(effect);
}

void Audio::StopAllEffects() { mixer_.Halt(0); }

bool Audio::IsEffectPlaying(int effect) { return Find(effect) && mixer_.Sounding(effect); }

void Audio::SetEffectGain(float gain) { mixer_.SetGain(gain); }

void Audio::SetEffectPosition3D(float x, float y, float z) { mixer_.SetPosition3D(x, y, z); }

std::unique_ptr<IMusic> Audio::CreateMusic()
{
    if (!Acquire()) return nullptr;
    return std::make_unique<Music>(this);
}

void Audio::TakeMusicSlot(Music* music)
{
    if (musicHolder_ && musicHolder_ != music) musicHolder_->Displaced();
    musicHolder_ = music;
}

void Audio::LeaveMusicSlot(Music* music)
{
    if (musicHolder_ == music) musicHolder_ = nullptr;
}

}  // namespace sdl
