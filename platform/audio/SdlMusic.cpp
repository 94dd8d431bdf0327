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
    {
        auto hold = owner_->Hold();
        Drop();
    }
    owner_->Release();
}

// Every call holds the device, so that it cannot go or come back halfway through.
bool Music::Render(const std::string& path)
{
    auto hold = owner_->Hold();
    Drop();
    if (owner_->Live()) return Open(path);
    if (!Audio::Readable(path)) return false;  // opened once the output comes
    pending_ = path;
    return true;
}

bool Music::Open(const std::string& path)
{
    music_ = Mix_LoadMUS(NativePath(path).c_str());
    if (!music_) return false;
    // Formats without a position answer -1 to every position query.
    positions_ = Mix_GetMusicPosition(music_) >= 0.0;
    duration_ = Mix_MusicDuration(music_);
    start_ = 0.0;
    return true;
}

void Music::Run()
{
    auto hold = owner_->Hold();
    if (state_ == State::Running) return;
    const bool resume = state_ == State::Paused && Owns();
    state_ = State::Running;
    if (!music_ && pending_.empty()) return;
    if (resume) {
        Mix_ResumeMusic();
        return;
    }
    Start();
}

void Music::Pause()
{
    auto hold = owner_->Hold();
    if (state_ == State::Running && Owns()) Mix_PauseMusic();
    state_ = State::Paused;
}

void Music::Stop()
{
    auto hold = owner_->Hold();
    if (Owns()) {
        const double p = Mix_GetMusicPosition(music_);
        if (p >= 0.0) start_ = p;
        Halt();
    }
    state_ = State::Stopped;
}

void Music::SetGain(float gain)
{
    auto hold = owner_->Hold();
    gain_ = gain;
    if (Owns()) Mix_VolumeMusic(MusicVolume(gain_));
}

bool Music::GetPosition(double& seconds)
{
    auto hold = owner_->Hold();
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
    auto hold = owner_->Hold();
    if (!music_ || duration_ < 0.0) return false;
    seconds = duration_;
    return true;
}

bool Music::SetPosition(double seconds)
{
    auto hold = owner_->Hold();
    if (!music_ || !positions_) return false;
    if (seconds < 0.0) seconds = 0.0;
    if (Owns()) return Mix_SetMusicPosition(seconds) == 0;
    start_ = seconds;
    return true;
}

bool Music::IsComplete()
{
    auto hold = owner_->Hold();
    if (state_ != State::Running) return false;
    if (!music_ && pending_.empty()) return true;
    if (!started_) return ended_ || owner_->Live() || owner_->MusicHolder() != this;  // else awaiting the output
    return Owns() && !Mix_PlayingMusic();
}

void Music::Displaced()
{
    started_ = false;
    state_ = State::Stopped;
}

void Music::OutputLost()
{
    if (!Owns()) return;
    const double p = Mix_GetMusicPosition(music_);
    if (p >= 0.0) start_ = p;
    ended_ = !Mix_PlayingMusic();  // played to its end: nothing starts it again
    Halt();
}

void Music::OutputBack()
{
    if (state_ == State::Running && (music_ || !pending_.empty()) && !started_ && !ended_) Start();
}

bool Music::Owns() const { return music_ && started_ && owner_->MusicHolder() == this; }

void Music::Start()
{
    owner_->TakeMusicSlot(this);
    started_ = ended_ = false;
    if (!owner_->Live()) return;  // started when the output is back
    if (!pending_.empty()) {
        const std::string path = std::move(pending_);
        pending_.clear();
        if (!Open(path)) return;
    }
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
    if (music_ && owner_->Live()) Mix_FreeMusic(music_);
    else if (music_) owner_->Orphan(music_);
    music_ = nullptr;
    pending_.clear();
    state_ = State::Stopped;
}

}  // namespace sdl
