// Plays animation sets on tracks and writes the blended result into the frames' matrices.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "gfx/CAnimationSet.h"

struct AnimFrame;

class CAnimationController {
public:
    // Track 0 starts with set 0; the frames the sets name are looked up under root.
    CAnimationController(std::vector<std::unique_ptr<CAnimationSet>> sets, AnimFrame* root, int maxTracks = 2);

    double GetTime() const { return time_; }
    // Moves global time and every enabled track by the seconds (times its speed), then updates the frames.
    void AdvanceTime(double seconds);
    void ResetTime() { time_ = 0; }
    std::size_t GetNumAnimationSets() const { return sets_.size(); }
    CAnimationSet* GetAnimationSet(std::size_t index) const;
    bool SetTrackAnimationSet(int track, CAnimationSet* set);
    bool SetTrackEnable(int track, bool enable);
    bool SetTrackWeight(int track, float weight);
    bool SetTrackSpeed(int track, float speed);
    bool SetTrackPosition(int track, double position);
    int GetMaxNumTracks() const { return static_cast<int>(tracks_.size()); }

    struct Track {
        CAnimationSet* set = nullptr;
        bool enabled = true;
        float weight = 1;
        float speed = 1;
        double position = 0;
    };
    const Track& GetTrack(int track) const { return tracks_[track]; }

private:
    struct Output {
        std::string name;
        Matrix* matrix;
    };
    void Apply();

    std::vector<std::unique_ptr<CAnimationSet>> sets_;
    std::vector<Track> tracks_;
    std::vector<Output> outputs_;  // frames some set animates
    double time_ = 0;
};
