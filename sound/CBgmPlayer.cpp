#include "sound/CBgmPlayer.h"

#include <cmath>
#include <cstdint>

#include "platform/Platform.h"
#include "platform/audio/IAudio.h"

namespace {

// Positions travel in 100-nanosecond units, as the stream's seeking face counts them.
constexpr double kUnitsPerSecond = 10'000'000.0;

std::int64_t ToUnits(double seconds) { return static_cast<std::int64_t>(seconds * kUnitsPerSecond); }

}  // namespace

CBgmPlayer::CBgmPlayer() = default;

CBgmPlayer::~CBgmPlayer() { ReleaseAll(); }

void CBgmPlayer::ReleaseAll()
{
    seeking = nullptr;
    events = nullptr;
    control = nullptr;
    graph.reset();
    audio = nullptr;
}

bool CBgmPlayer::Load(const std::string& path)
{
    ReleaseAll();
    IAudio* output = Sys().audio;
    if (!output) return false;
    graph = output->CreateMusic();
    if (!graph) return false;
    control = graph.get();
    events = graph.get();
    seeking = graph.get();
    audio = graph.get();
    if (!graph->Render(path)) return false;
    SetVolume(1.0f);
    SetBalance(0.0f);
    return true;
}

void CBgmPlayer::Play()
{
    if (control) control->Run();
}

void CBgmPlayer::Pause()
{
    if (control) control->Pause();
}

void CBgmPlayer::Stop()
{
    if (control) control->Stop();
    SetPosition(0.0);
}

int CBgmPlayer::MusicAttenuation(float level)
{
    // NaN counts as silence; clamping in floating point keeps log10(0) = -inf out of the integer conversion.
    if (!(level > 0.0f)) return -10000;
    if (level > 1.0f) level = 1.0f;
    const float att = std::trunc(std::log10(level) * 1000.0f);
    if (att < -10000.0f) return -10000;
    if (att > 0.0f) return 0;
    return static_cast<int>(att);
}

void CBgmPlayer::SetVolume(float level)
{
    if (!audio) return;
    if (!(level >= 0.0f)) level = 0.0f;
    if (level > 1.0f) level = 1.0f;
    volume = level;
    audio->SetGain(GainFromAttenuation(MusicAttenuation(level)));
}

void CBgmPlayer::SetBalance(float balance)
{
    if (!audio) return;
    float b = std::trunc(balance * 10000.0f);
    if (!(b >= -10000.0f)) b = -10000.0f;  // NaN included
    if (b > 10000.0f) b = 10000.0f;
    audio->SetBalance(static_cast<int>(b));
}

float CBgmPlayer::GetBalance()
{
    if (!audio) return 0.0f;
    int b = 0;
    audio->GetBalance(b);
    return static_cast<float>(b) / 10000.0f;
}

double CBgmPlayer::GetPosition()
{
    if (!seeking) return 0.0;
    double seconds = 0.0;
    seeking->GetPosition(seconds);
    return static_cast<double>(ToUnits(seconds)) / kUnitsPerSecond;
}

double CBgmPlayer::GetStopPosition()
{
    if (!seeking) return 0.0;
    double seconds = 0.0;
    seeking->GetDuration(seconds);
    return static_cast<double>(ToUnits(seconds)) / kUnitsPerSecond;
}

void CBgmPlayer::SetPosition(double seconds)
{
    if (!seeking) return;
    seeking->SetPosition(static_cast<double>(ToUnits(seconds)) / kUnitsPerSecond);
}

void CBgmPlayer::Seek(double delta) { SetPosition(GetPosition() + delta); }

bool CBgmPlayer::IsFinished() { return !events || events->IsComplete(); }
