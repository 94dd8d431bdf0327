#include "gfx/CAnimationSet.h"

#include <algorithm>
#include <cmath>

namespace {

template <typename Key>
std::size_t Segment(const std::vector<Key>& keys, double t)
{
    // Index of the last key at or before t (keys are in time order).
    const auto it = std::upper_bound(keys.begin(), keys.end(), t, [](double v, const Key& k) { return v < k.time; });
    return it == keys.begin() ? 0 : static_cast<std::size_t>(it - keys.begin()) - 1;
}

Vec3 SampleVector(const std::vector<VectorKey>& keys, double t, const Vec3& none)
{
    if (keys.empty()) return none;
    if (t <= keys.front().time) return keys.front().value;
    if (t >= keys.back().time) return keys.back().value;
    const std::size_t i = Segment(keys, t);
    const VectorKey &a = keys[i], &b = keys[i + 1];
    const float f = b.time > a.time ? static_cast<float>((t - a.time) / (b.time - a.time)) : 0.0f;
    return {a.value.x + (b.value.x - a.value.x) * f, a.value.y + (b.value.y - a.value.y) * f,
            a.value.z + (b.value.z - a.value.z) * f};
}

Quat SampleRotation(const std::vector<RotationKey>& keys, double t)
{
    if (keys.empty()) return Quat();
    if (t <= keys.front().time) return keys.front().value;
    if (t >= keys.back().time) return keys.back().value;
    const std::size_t i = Segment(keys, t);
    const RotationKey &a = keys[i], &b = keys[i + 1];
    const float f = b.time > a.time ? static_cast<float>((t - a.time) / (b.time - a.time)) : 0.0f;
    return QuatSlerp(a.value, b.value, f);
}

}  // namespace

CAnimationSet::CAnimationSet(std::string name, double ticksPerSecond, std::vector<LoadedChannel> channels)
    : name_(std::move(name)), ticksPerSecond_(ticksPerSecond > 0 ? ticksPerSecond : 4800),
      channels_(std::move(channels))
{
    double lastTick = 0;
    for (const LoadedChannel& c : channels_) {
        if (!c.scales.empty()) lastTick = std::max(lastTick, c.scales.back().time);
        if (!c.rotations.empty()) lastTick = std::max(lastTick, c.rotations.back().time);
        if (!c.positions.empty()) lastTick = std::max(lastTick, c.positions.back().time);
    }
    period_ = lastTick / ticksPerSecond_;
}

double CAnimationSet::GetPeriodicPosition(double position) const
{
    if (period_ <= 0) return 0;
    double p = std::fmod(position, period_);
    if (p < 0) p += period_;
    return p;
}

void CAnimationSet::GetSRT(double periodicPosition, std::size_t index, Vec3& scale, Quat& rotation,
                           Vec3& translation) const
{
    const LoadedChannel& c = channels_[index];
    const double t = periodicPosition * ticksPerSecond_;
    scale = SampleVector(c.scales, t, {1, 1, 1});
    rotation = SampleRotation(c.rotations, t);
    translation = SampleVector(c.positions, t, {0, 0, 0});
}
