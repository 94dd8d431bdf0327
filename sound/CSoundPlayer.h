// Plays sound effects as freely overlapping one-shots at one shared volume.
#pragma once

class CSound;

class CSoundPlayer {
public:
    CSoundPlayer(bool use3D, int pchannels);
    ~CSoundPlayer();
    CSoundPlayer(const CSoundPlayer&) = delete;
    CSoundPlayer& operator=(const CSoundPlayer&) = delete;

    void Register(CSound* sound);
    void Play(CSound* sound);
    void SetVolume(float level);
    void Stop(CSound* sound);
    bool IsPlaying(CSound* sound);
    void SetPosition3D(float x, float y, float z);
};
