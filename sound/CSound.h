// One loaded sound effect.
#pragma once
#include <string>

class CSoundLoader;

class CSound {
public:
    explicit CSound(const std::string& path);
    ~CSound();
    CSound(const CSound&) = delete;
    CSound& operator=(const CSound&) = delete;

    // Plays in all: n times, 0 counting as once.
    void SetPlayCount(int n);

    int segment = 0;  // audio back end effect id, 0 when loading failed

private:
    CSoundLoader* shared_;  // the loader this sound counted itself into
};
