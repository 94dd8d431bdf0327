// Background music: one file at a time, played once.
#pragma once
#include <cstdint>
#include <string>

class CBgmPlayer {
public:
    CBgmPlayer();
    ~CBgmPlayer();
    CBgmPlayer(const CBgmPlayer&) = delete;
    CBgmPlayer& operator=(const CBgmPlayer&) = delete;

    bool Load(const std::string& path);
    void Play();
    void Pause();
    void Stop();
    void SetVolume(float level);
    bool IsFinished();

    float volume = 0.0f;
};
