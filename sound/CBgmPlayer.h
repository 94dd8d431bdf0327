// Background music: one file at a time, played once.
#pragma once
#include <memory>
#include <string>

class IMusic;

class CBgmPlayer {
public:
    CBgmPlayer();
    ~CBgmPlayer();
    CBgmPlayer(const CBgmPlayer&) = delete;
    CBgmPlayer& operator=(const CBgmPlayer&) = delete;

    // Leaves the music stopped at its start, full volume, centred; false when it cannot be played.
    bool Load(const std::string& path);
    void Play();
    void Pause();
    // Stops and rewinds.
    void Stop();
    // level 0.0 … 1.0.
    void SetVolume(float level);
    // -1.0 left … 1.0 right.
    void SetBalance(float balance);
    float GetBalance();
    // Seconds.
    double GetPosition();
    double GetStopPosition();
    void SetPosition(double seconds);
    void Seek(double delta);
    bool IsFinished();
    void ReleaseAll();

    // Hundredths of a decibel for a level: clamped to 0 … 1, log10 × 1000 truncated, floor -10000.
    static int MusicAttenuation(float level);

    // The stream; the other four are its faces for transport, completion, positions and loudness.
    std::unique_ptr<IMusic> graph;
    IMusic* control = nullptr;
    IMusic* events = nullptr;
    IMusic* seeking = nullptr;
    IMusic* audio = nullptr;
    float volume = 0.0f;  // last volume set
};
