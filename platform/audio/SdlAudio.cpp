#include "platform/audio/SdlAudio.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "platform/audio/AudioThread.h"
#include "platform/audio/SdlMusic.h"
#include "platform/files/IFileSystem.h"

namespace sdl {

namespace {

// At exit the audio thread gets this long to close the output; a hung server may hold it for good.
constexpr int kCloseMs = 1000;

std::int64_t SteadyNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

Audio::Audio(std::int64_t (*clock)()) : clock_(clock ? clock : &SteadyNs)
{
    const char* stats = std::getenv("ZENTHAR_AUDIO_STATS");
    stats_ = stats && std::atoi(stats) != 0;
}

Audio::Timed::Timed(Audio* audio, const char* what, bool loading)
    : audio_(audio), what_(what), loading_(loading), start_(audio->stats_ ? SteadyNs() : 0)
{
}

Audio::Timed::~Timed()
{
    if (!audio_->stats_) return;
    const std::int64_t ns = SteadyNs() - start_;
    if (loading_) {
        audio_->loadingNs_ = std::max(audio_->loadingNs_, ns);
        return;
    }
    if (ns > audio_->longestNs_) {
        audio_->longestNs_ = ns;
        audio_->longest_ = what_;
    }
    ++audio_->calls_;
}

Audio::~Audio() { Close(); }

// Starting the thread, once at start-up, is timed apart from the calls of the game's steps.
bool Audio::Acquire()
{
    if (refs_++ > 0) {
        Timed timed(this, "Acquire");
        return true;
    }
    const std::int64_t start = stats_ ? SteadyNs() : 0;
    thread_ = new AudioThread(clock_);
    thread_->Voices().SetGain(gain_);
    thread_->Voices().SetPosition3D(position_[0], position_[1], position_[2]);
    thread_->Start();
    if (stats_) startNs_ = SteadyNs() - start;
    return true;
}

void Audio::Release()
{
    Timed timed(this, "Release");
    if (refs_ <= 0) return;
    if (--refs_ == 0) Close();
}

void Audio::Close()
{
    if (!thread_) return;
    if (stats_)
        std::fprintf(stderr,
                     "audio: starting its thread %.3f ms, loading the longest %.3f ms; %lu other calls on the game's "
                     "thread, the longest %.3f ms (%s)\n",
                     startNs_ / 1e6, loadingNs_ / 1e6, calls_, longestNs_ / 1e6, longest_);
    // A thread still held by a hung server keeps its object: it goes with the process.
    if (thread_->Stop(kCloseMs)) delete thread_;
    thread_ = nullptr;
    effects_.clear();
    refs_ = 0;
}

bool Audio::Live() const { return thread_ && thread_->Live(); }
int Audio::Opens() const { return thread_ ? thread_->Opens() : 0; }
int Audio::Attempts() const { return thread_ ? thread_->Attempts() : 0; }
bool Audio::CaughtUp() const { return !thread_ || thread_->CaughtUp(); }

bool Audio::Readable(const std::string& path) { return static_cast<bool>(std::ifstream(NativePath(path))); }

Audio::Effect* Audio::Find(int effect)
{
    if (effect <= 0 || effect > static_cast<int>(effects_.size())) return nullptr;
    Effect& e = effects_[std::size_t(effect) - 1];
    return e.slot ? &e : nullptr;
}

// SDL's WAV loader decodes on the audio thread; what is not a RIFF WAVE at all is refused here, at once.
bool Audio::IsWave(const std::string& path)
{
    char head[12] = {};
    std::ifstream file(NativePath(path), std::ios::binary);
    return file.read(head, sizeof head) && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0;
}

int Audio::LoadEffect(const std::string& path)
{
    Timed timed(this, "LoadEffect", true);
    if (!thread_ || !IsWave(path)) return 0;
    Effect e;
    e.slot = thread_->NewEffect(path);
    AudioCommand load;
    load.op = AudioCommand::Op::LoadEffect;
    load.effect = e.slot;
    if (!thread_->Post(load)) return 0;
    effects_.push_back(e);
    return static_cast<int>(effects_.size());
}

void Audio::FreeEffect(int effect)
{
    Timed timed(this, "FreeEffect");
    Effect* e = Find(effect);
    if (!e) return;
    AudioCommand free;
    free.op = AudioCommand::Op::FreeEffect;
    free.effect = e->slot;
    free.halt = thread_->Voices().Halt(effect) ? thread_->Voices().Posted() : 0;
    thread_->Post(free);
    *e = Effect{};
}

void Audio::PrepareEffect(int effect)
{
    Timed timed(this, "PrepareEffect");
    if (Effect* e = Find(effect)) e->prepared = true;
}

void Audio::SetEffectRepeats(int effect, int repeats)
{
    Timed timed(this, "SetEffectRepeats");
    if (Effect* e = Find(effect)) e->repeats = repeats < 0 ? -1 : repeats;
}

void Audio::PlayEffect(int effect)
{
    Timed timed(this, "PlayEffect");
    Effect* e = Find(effect);
    // While the output is away nothing sounds; one that does not decode stays silent.
    if (e && e->prepared && thread_->Live()) thread_->Voices().Start(effect, &e->slot->sound, e->repeats);
}

void Audio::StopEffect(int effect)
{
    Timed timed(this, "StopEffect");
    if (Find(effect)) thread_->Voices().Halt(effect);
}

void Audio::StopAllEffects()
{
    Timed timed(this, "StopAllEffects");
    if (thread_) thread_->Voices().Halt(0);
}

bool Audio::IsEffectPlaying(int effect)
{
    Timed timed(this, "IsEffectPlaying");
    return Find(effect) && thread_->Live() && thread_->Voices().Sounding(effect);
}

void Audio::SetEffectGain(float gain)
{
    Timed timed(this, "SetEffectGain");
    gain_ = gain;
    if (thread_) thread_->Voices().SetGain(gain);
}

void Audio::SetEffectPosition3D(float x, float y, float z)
{
    Timed timed(this, "SetEffectPosition3D");
    position_[0] = x;
    position_[1] = y;
    position_[2] = z;
    if (thread_) thread_->Voices().SetPosition3D(x, y, z);
}

std::unique_ptr<IMusic> Audio::CreateMusic()
{
    if (!Acquire()) return nullptr;
    return std::make_unique<Music>(this, thread_);
}

}  // namespace sdl
