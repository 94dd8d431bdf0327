#include "platform/audio/SdlMusic.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>

#include "platform/audio/SdlAudio.h"
#include "platform/files/IFileSystem.h"

namespace sdl {

namespace {

int MusicVolume(float gain)
{
    const long v = std::lrint(gain * MIX_MAX_VOLUME);
    return static_cast<int>(std::clamp(v, 0L, static_cast<long>(MIX_MAX_VOLUME)));
}

}  // namespace

Music::~Music()
{
    Drop();
    owner_->Release();
}

bool Music::Render(const std::string& path)
{
    Drop();
    music_ = Mix_LoadMUS(NativePath(path).c_str());
    if (!music_) return false;
    // Formats without a position answer -1 to every position query.
    positions_ = Mix_GetMusicPosition(music_) >= 0.0;
    start_ = 0.0;
    return true;
}

void Music::Run()
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

void Music::Pause()
{
    if (state_ == State::Running && Owns()) Mix_PauseMusic();
    state_ = State::Paused;
}

void Music::Stop()
{
    if (Owns()) {
        const double p = Mix_GetMusicPosition(music_);
        if (p >= 0.0) start_ = p;
        Halt();
    }
    state_ = State::Stopped;
}

void Music::SetGain(float gain)
{
    gain_ = gain;
    if (Owns()) Mix_VolumeMusic(MusicVolume(gain_));
}

bool Music::GetPosition(double& seconds)
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

bool Music::GetDuration(double& seconds)
{
    if (!music_) return false;
    const double d = Mix_MusicDuration(music_);
    if (d < 0.0) return false;
    seconds = d;
    return true;
}

bool Music::SetPosition(double seconds)
{
    if (!music_ || !positions_) return false;
    if (seconds < 0.0) seconds = 0.0;
    if (Owns()) return Mix_SetMusicPosition(seconds) == 0;
    start_ = seconds;
    return true;
}

bool Music::IsComplete()
{
    if (state_ != State::Running) return false;
    if (!music_ || !started_) return true;
    return Owns() && !Mix_PlayingMusic();
}

void Music::Displaced()
{
    started_ = false;
    state_ = State::Stopped;
}

bool Music::Owns() const { return music_ && started_ && owner_->MusicHolder() == this; }

void Music::Start()
{
    owner_->TakeMusicSlot(this);
    Mix_VolumeMusic(MusicVolume(gain_));
    int r = -1;
    if (start_ > 0.0) r = Mix_FadeInMusicPos(music_, 1, 0, start_);
    if (r != 0) r = Mix_PlayMusic(music_, 1);  // once, never looped
    started_ = r == 0;
}

void Music::Halt()
{
    if (Owns()) Mix_HaltMusic();
    started_ = false;
}

void Music::Drop()
{
    Halt();
    owner_->LeaveMusicSlot(this);
    if (music_) Mix_FreeMusic(music_);
    music_ = nullptr;
    state_ = State::Stopped;
}

}  // namespace sdl
