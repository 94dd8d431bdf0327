#include "platform/audio/MusicPlayer.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>

#include "platform/files/IFileSystem.h"

namespace sdl {

namespace {

int MusicVolume(float gain)
{
    const long v = std::lrint(gain * MIX_MAX_VOLUME);
    return static_cast<int>(std::clamp(v, 0L, static_cast<long>(MIX_MAX_VOLUME)));
}

}  // namespace

std::atomic<MusicPlayer*> MusicPlayer::current_{nullptr};

void MusicPlayer::Start()
{
    current_ = this;
    Mix_HookMusicFinished(&MusicPlayer::Ended);
}

void MusicPlayer::Close()
{
    if (holder_) Halt(holder_);
    for (MusicSlot* m : streams_) {
        if (m->music) Mix_FreeMusic(m->music);
        delete m;
    }
    streams_.clear();
    holder_ = nullptr;
    Mix_HookMusicFinished(nullptr);
    current_ = nullptr;
}

void MusicPlayer::Apply(Op op, MusicSlot* m, double value, std::string* path, bool open)
{
    if (std::find(streams_.begin(), streams_.end(), m) == streams_.end()) streams_.push_back(m);
    using State = MusicSlot::State;
    switch (op) {
    case Op::Render:
        Drop(m);
        if (path && !path->empty()) {
            if (open) Open(m, *path);
            else m->pending = *path;
        }
        delete path;
        break;
    case Op::Run:
        if (m->state == State::Running) break;
        if (m->state == State::Paused && Owns(m)) {
            m->state = State::Running;
            Mix_ResumeMusic();
            break;
        }
        m->state = State::Running;
        if (m->music || !m->pending.empty()) Play(m, open);
        break;
    case Op::Pause:
        if (m->state == State::Running && Owns(m)) Mix_PauseMusic();
        m->state = State::Paused;
        break;
    case Op::Stop:
        if (Owns(m)) {
            const double p = Mix_GetMusicPosition(m->music);
            if (p >= 0.0) m->start = p;
            Halt(m);
        }
        m->state = State::Stopped;
        break;
    case Op::Gain:
        m->gain = float(value);
        if (Owns(m)) Mix_VolumeMusic(MusicVolume(m->gain));
        break;
    case Op::Seek:
        if (!m->music || !m->positions.load(std::memory_order_relaxed)) break;
        m->start = std::max(value, 0.0);
        if (Owns(m)) Mix_SetMusicPosition(m->start);
        break;
    case Op::Drop:
        Drop(m);
        streams_.erase(std::find(streams_.begin(), streams_.end(), m));
        delete m;
        return;
    }
    Publish(m, open);
    m->applied.fetch_add(1, std::memory_order_release);
}

void MusicPlayer::OutputOpened()
{
    if (!holder_) return;
    if (holder_->state == MusicSlot::State::Running && !holder_->ended) Play(holder_, true);
    Publish(holder_, true);
}

void MusicPlayer::OutputLost()
{
    if (!holder_ || !Owns(holder_)) return;
    const double p = Mix_GetMusicPosition(holder_->music);
    if (p >= 0.0) holder_->start = p;
    holder_->ended = !Mix_PlayingMusic();  // played to its end: nothing starts it again
    Halt(holder_);
}

void MusicPlayer::Tick(bool open)
{
    if (holder_) Publish(holder_, open);
}

void MusicPlayer::Publish(MusicSlot* m, bool open)
{
    bool complete = false;
    if (m->state == MusicSlot::State::Running) {
        if (!m->music && m->pending.empty()) complete = true;  // no source
        else if (!m->started) complete = m->ended || open;     // else waiting for an output
        else complete = holder_ == m && !Mix_PlayingMusic();
    }
    m->complete.store(complete, std::memory_order_relaxed);
    if (Owns(m) && m->positions.load(std::memory_order_relaxed)) {
        const double p = Mix_GetMusicPosition(m->music);
        if (p >= 0.0) m->position.store(p, std::memory_order_relaxed);
    } else {
        m->position.store(m->start, std::memory_order_relaxed);
    }
}

bool MusicPlayer::Open(MusicSlot* m, const std::string& path)
{
    m->music = Mix_LoadMUS(NativePath(path).c_str());
    if (!m->music) return false;
    // Formats without a position answer -1 to every position query.
    m->positions.store(Mix_GetMusicPosition(m->music) >= 0.0, std::memory_order_relaxed);
    m->duration.store(Mix_MusicDuration(m->music), std::memory_order_relaxed);
    m->start = 0.0;
    return true;
}

void MusicPlayer::Play(MusicSlot* m, bool open)
{
    if (holder_ && holder_ != m) {
        Halt(holder_);
        holder_->state = MusicSlot::State::Stopped;
        Publish(holder_, open);
    }
    holder_ = m;
    m->started = m->ended = false;
    if (!open) return;  // started when an output comes
    if (!m->pending.empty()) {
        const std::string path = std::move(m->pending);
        m->pending.clear();
        if (!Open(m, path)) return;
    }
    if (!m->music) return;
    Mix_VolumeMusic(MusicVolume(m->gain));
    int r = -1;
    sounding_ = m;
    if (m->start > 0.0) r = Mix_FadeInMusicPos(m->music, 1, 0, m->start);
    if (r != 0) r = Mix_PlayMusic(m->music, 1);  // once, never looped; FluidSynth goes on where it was
    m->started = r == 0;
    if (!m->started) sounding_ = nullptr;
}

void MusicPlayer::Halt(MusicSlot* m)
{
    sounding_ = nullptr;  // halted, not ended
    if (Owns(m)) Mix_HaltMusic();
    m->started = false;
}

void MusicPlayer::Drop(MusicSlot* m)
{
    Halt(m);
    if (holder_ == m) holder_ = nullptr;
    if (m->music) Mix_FreeMusic(m->music);
    m->music = nullptr;
    m->pending.clear();
    m->state = MusicSlot::State::Stopped;
    m->ended = false;
    m->start = 0.0;
    m->positions.store(false, std::memory_order_relaxed);
    m->duration.store(-1.0, std::memory_order_relaxed);
}

// In the mix where the music reaches its end: the game may know at once, as it would from the mixer.
void MusicPlayer::Ended()
{
    MusicPlayer* player = current_.load();
    if (!player) return;
    if (MusicSlot* m = player->sounding_.exchange(nullptr)) m->complete.store(true, std::memory_order_relaxed);
    player->wake_->release();
}

}  // namespace sdl
