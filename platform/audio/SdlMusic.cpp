#include "platform/audio/SdlMusic.h"

#include "platform/audio/AudioThread.h"
#include "platform/audio/SdlAudio.h"

namespace sdl {

Music::Music(Audio* owner, AudioThread* thread) : owner_(owner), thread_(thread), slot_(new MusicSlot) {}

Music::~Music()
{
    // The audio thread deletes the slot; should the ring be full (a thread stuck in a hung server),
    // it is left to the process.
    Post(MusicPlayer::Op::Drop);
    owner_->Release();
}

void Music::Post(MusicPlayer::Op op, double value, std::string* path)
{
    Audio::Timed timed(owner_, "a music call");
    AudioCommand c;
    c.music = op;
    c.stream = slot_;
    c.value = value;
    c.path = path;
    // Counted first: once posted, a drop may be done and the slot gone.
    ++slot_->posted;
    if (thread_->Post(c)) return;
    --slot_->posted;
    delete path;
}

bool Music::Render(const std::string& path)
{
    Audio::Timed timed(owner_, "Render", true);
    source_ = Audio::Readable(path);
    running_ = false;
    Post(MusicPlayer::Op::Render, 0.0, new std::string(source_ ? path : std::string()));
    return source_;
}

void Music::Run()
{
    running_ = true;
    Post(MusicPlayer::Op::Run);
}

void Music::Pause()
{
    running_ = false;
    Post(MusicPlayer::Op::Pause);
}

void Music::Stop()
{
    running_ = false;
    Post(MusicPlayer::Op::Stop);
}

void Music::SetGain(float gain) { Post(MusicPlayer::Op::Gain, gain); }

bool Music::GetPosition(double& seconds)
{
    if (!slot_->positions.load(std::memory_order_relaxed)) return false;
    seconds = slot_->position.load(std::memory_order_relaxed);
    return true;
}

bool Music::GetDuration(double& seconds)
{
    const double d = slot_->duration.load(std::memory_order_relaxed);
    if (d < 0.0) return false;
    seconds = d;
    return true;
}

bool Music::SetPosition(double seconds)
{
    if (!slot_->positions.load(std::memory_order_relaxed)) return false;
    Post(MusicPlayer::Op::Seek, seconds);
    return true;
}

// Until the audio thread has done what was asked, the answer is what was asked: a running stream
// without a source is complete at once, any other is not yet.
bool Music::IsComplete()
{
    if (slot_->applied.load(std::memory_order_acquire) < slot_->posted) return running_ && !source_;
    return slot_->complete.load(std::memory_order_relaxed);
}

}  // namespace sdl
