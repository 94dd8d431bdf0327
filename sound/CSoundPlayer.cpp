#include "sound/CSoundPlayer.h"

#include <cmath>

#include "platform/Platform.h"
#include "platform/audio/IAudio.h"
#include "sound/CSound.h"
#include "sound/CSoundLoader.h"

// pchannels counts synthesizer channels for MIDI segments; effects here are decoded waves and need none.
CSoundPlayer::CSoundPlayer(bool use3D, int /*pchannels*/)
{
    CSoundLoader::Shared();  // without a reference: the sounds own the loader's lifetime
    IAudio* audio = Sys().audio;
    if (audio && audio->Acquire()) performance = audio;
    if (!performance) return;
    audioPath = performance;
    if (audioPath && use3D) buffer3D = audioPath;
}

CSoundPlayer::~CSoundPlayer()
{
    buffer3D = nullptr;
    if (performance) {
        performance->StopAllEffects();
        performance->Release();
    }
    performance = nullptr;
    audioPath = nullptr;
}

void CSoundPlayer::Register(CSound* sound)
{
    if (sound && sound->segment && performance) performance->PrepareEffect(sound->segment);
}

void CSoundPlayer::Play(CSound* sound)
{
    if (sound && sound->segment && performance && audioPath) audioPath->PlayEffect(sound->segment);
}

int CSoundPlayer::EffectAttenuation(float level)
{
    // The logarithm of a negative level is NaN, which no comparison catches: treat it as silence.
    if (!(level > 0.0f)) return -9600;
    const float att = std::log10(level) * 2000.0f;
    if (att < -9600.0f) return -9600;
    if (att > 0.0f) return 0;
    return static_cast<int>(att);
}

void CSoundPlayer::SetVolume(float level)
{
    if (!audioPath) return;
    audioPath->SetEffectGain(GainFromAttenuation(EffectAttenuation(level)));
}

void CSoundPlayer::Stop(CSound* sound)
{
    if (sound && sound->segment && performance) performance->StopEffect(sound->segment);
}

bool CSoundPlayer::IsPlaying(CSound* sound)
{
    return sound && sound->segment && performance && performance->IsEffectPlaying(sound->segment);
}

void CSoundPlayer::SetPosition3D(float x, float y, float z)
{
    if (buffer3D) buffer3D->SetEffectPosition3D(x, y, z);
}
