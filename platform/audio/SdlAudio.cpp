#include "platform/audio/SdlAudio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "platform/audio/SdlMusic.h"
#include "platform/files/IFileSystem.h"

namespace sdl {

namespace {

constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
constexpr int kRate = 44100;
// Under one update step (11.6 ms of 16.7 ms) so the sounds of successive steps start in different
// mixer buffers: sounds started within one buffer begin in phase and add up coherently.
constexpr int kChunkFrames = VoiceMixer::kMaxFrames;

}  // namespace

Audio::Audio() : mixer_(kRate) {}

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
    mixer_.Reset();
    // The mixer adds its channels with saturation, so effects are summed here instead, after the
    // music, where the limiter can see the whole sum before it is cut to 16 bits.
    Mix_SetPostMix(&Audio::PostMix, this);
    open_ = true;
    return true;
}

void Audio::Close()
{
    Mix_SetPostMix(nullptr, nullptr);  // waits for a mix in progress
    Mix_HaltMusic();
    mixer_.Halt(0);
    for (Effect& e : effects_) {
        if (e.chunk) Mix_FreeChunk(e.chunk);
        e = Effect{};
    }
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open_ = false;
}

void Audio::PostMix(void* self, std::uint8_t* stream, int len)
{
    static_cast<Audio*>(self)->mixer_.Mix(reinterpret_cast<std::int16_t*>(stream), len / 4);
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

void Audio::FreeEffect(int effect)
{
    Effect* e = Find(effect);
    if (!e) return;
    mixer_.Halt(effect);  // freeing halts the instances first
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

void Audio::PlayEffect(int effect)
{
    Effect* e = Find(effect);
    if (!e || !e->prepared) return;
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
