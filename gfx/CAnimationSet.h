// One key-framed animation: per frame name, scale, rotation and translation keys in ticks.
#pragma once
#include <string>
#include <vector>

#include "platform/mesh/IMeshLoader.h"

class CAnimationSet {
public:
    CAnimationSet(std::string name, double ticksPerSecond, std::vector<LoadedChannel> channels);

    const std::string& GetName() const { return name_; }
    // Seconds from the first tick to the last key.
    double GetPeriod() const { return period_; }
    // Where a track position falls in the looping animation, in seconds.
    double GetPeriodicPosition(double position) const;
    std::size_t GetNumAnimations() const { return channels_.size(); }
    const std::string& GetAnimationName(std::size_t index) const { return channels_[index].frame; }
    // Scale, rotation and translation of animation index at the periodic position (seconds); keys
    // interpolate linearly, rotations spherically; a kind without keys gives identity.
    void GetSRT(double periodicPosition, std::size_t index, Vec3& scale, Quat& rotation, Vec3& translation) const;

private:
    std::string name_;
    double ticksPerSecond_;
    double period_ = 0;
    std::vector<LoadedChannel> channels_;
};
