// The effect loader shared by every sound: exists while any CSound lives.
#pragma once

class IAudio;

class CSoundLoader {
public:
    CSoundLoader();
    ~CSoundLoader();
    CSoundLoader(const CSoundLoader&) = delete;
    CSoundLoader& operator=(const CSoundLoader&) = delete;

    // Creates the shared loader when there is none yet.
    static CSoundLoader* Shared();

    IAudio* loader = nullptr;  // null when the platform has no output
    int refCount = 0;          // live CSound objects

private:
    IAudio* service_ = nullptr;  // the platform's audio when this loader was made
};

// Null until the first sound or the effect player needs it; back to null when the last sound goes.
extern CSoundLoader* g_soundLoader;
