// Plays sound effects as freely overlapping one-shots at one shared volume.
#pragma once

class CSound;
class IAudio;

class CSoundPlayer {
public:
    CSoundPlayer(bool use3D, int pchannels);
    ~CSoundPlayer();
    CSoundPlayer(const CSoundPlayer&) = delete;
    CSoundPlayer& operator=(const CSoundPlayer&) = delete;

    // Prepares a loaded sound for this player; a sound not registered stays silent.
    void Register(CSound* sound);
    // Starts one more overlapping instance.
    void Play(CSound* sound);
    // level 1.0 is full volume.
    void SetVolume(float level);
    void Stop(CSound* sound);
    bool IsPlaying(CSound* sound);
    void SetPosition3D(float x, float y, float z);

    // Hundredths of a decibel for a level: log10 × 2000, floor -9600, ceiling 0, truncated.
    static int EffectAttenuation(float level);

    IAudio* performance = nullptr;  // null when the platform has no output
    IAudio* audioPath = nullptr;    // the mix every effect plays through
    IAudio* buffer3D = nullptr;     // only in 3-D mode
};
