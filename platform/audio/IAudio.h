// Sound output: effects as overlapping one-shots at one shared gain, and music streams played once.
#pragma once
#include <cmath>
#include <memory>
#include <string>

// Linear gain of an attenuation in hundredths of a decibel (0 = unity, -2000 = a tenth).
inline float GainFromAttenuation(int hundredthsDb)
{
    return static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
}

// One music stream: a source file and its transport. Paths are in the game's backslash form.
class IMusic {
public:
    virtual ~IMusic() = default;
    // Opens the file as the stream's source; false leaves the stream without one (it then plays nothing).
    // A back end may decode later: a file that is read but does not decode then plays nothing either.
    virtual bool Render(const std::string& path) = 0;
    // Plays once from the current position (resumes after Pause). Only one stream sounds at a time.
    virtual void Run() = 0;
    virtual void Pause() = 0;
    // Silences the stream and keeps its position.
    virtual void Stop() = 0;
    virtual void SetGain(float gain) = 0;
    // Balance in hundredths of a decibel, -10000 (left only) … 10000 (right only); false where unsupported.
    virtual bool SetBalance(int hundredthsDb) = 0;
    virtual bool GetBalance(int& hundredthsDb) = 0;
    // Seconds; false where the source's format keeps no positions (the value is then left alone).
    virtual bool GetPosition(double& seconds) = 0;
    virtual bool GetDuration(double& seconds) = 0;
    virtual bool SetPosition(double seconds) = 0;
    // True once the running stream has reached its end (at once when it has no source).
    virtual bool IsComplete() = 0;
};

class IAudio {
public:
    virtual ~IAudio() = default;

    // Holds the output device open; the first reference opens it. False when the platform has no
    // output at all: everything that needs it then stays silent. An output that is missing for now
    // (a sound server not yet started) is waited for: what is loaded meanwhile sounds once it comes.
    virtual bool Acquire() = 0;
    virtual void Release() = 0;

    // Effects, by id; 0 is never an effect. Loading needs a held device.
    virtual int LoadEffect(const std::string& path) = 0;  // 0 when the file cannot be read or decoded
    virtual void FreeEffect(int effect) = 0;
    // An effect sounds only once prepared for playing.
    virtual void PrepareEffect(int effect) = 0;
    // Extra plays after the first for later instances; negative repeats forever.
    virtual void SetEffectRepeats(int effect, int repeats) = 0;
    // Starts one more instance; instances already sounding go on, however many there are.
    virtual void PlayEffect(int effect) = 0;
    // Ends every instance of the effect.
    virtual void StopEffect(int effect) = 0;
    virtual void StopAllEffects() = 0;
    virtual bool IsEffectPlaying(int effect) = 0;
    // One linear gain for every effect, playing or to come.
    virtual void SetEffectGain(float gain) = 0;
    // Places every effect relative to a listener at the origin facing +z, y up (left-handed);
    // loudness falls as 1 / distance beyond 1.
    virtual void SetEffectPosition3D(float x, float y, float z) = 0;

    // A stream that holds the device while it lives; null when the platform has no output.
    virtual std::unique_ptr<IMusic> CreateMusic() = 0;
};
