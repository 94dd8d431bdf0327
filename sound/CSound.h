// One loaded sound effect.
#pragma once
#include <string>

class CSound {
public:
    explicit CSound(const std::string& path);
    ~CSound();
    CSound(const CSound&) = delete;
    CSound& operator=(const CSound&) = delete;

    void SetPlayCount(int count);

    int segment = 0;  // audio back end handle, 0 when loading failed
};
