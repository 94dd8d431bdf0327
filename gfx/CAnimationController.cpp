#include "gfx/CAnimationController.h"

#include "gfx/AnimFrame.h"

CAnimationController::CAnimationController(std::vector<std::unique_ptr<CAnimationSet>> sets, AnimFrame* root,
                                           int maxTracks)
    : sets_(std::move(sets)), tracks_(static_cast<std::size_t>(maxTracks > 0 ? maxTracks : 1))
{
    if (!sets_.empty()) tracks_[0].set = sets_[0].get();
    for (const auto& set : sets_) {
        for (std::size_t a = 0; a < set->GetNumAnimations(); ++a) {
            const std::string& name = set->GetAnimationName(a);
            bool known = false;
            for (const Output& o : outputs_) known = known || o.name == name;
            if (known) continue;
            if (AnimFrame* frame = FrameFind(root, name)) outputs_.push_back({name, &frame->TransformationMatrix});
        }
    }
}

CAnimationSet* CAnimationController::GetAnimationSet(std::size_t index) const
{
    return index < sets_.size() ? sets_[index].get() : nullptr;
}

bool CAnimationController::SetTrackAnimationSet(int track, CAnimationSet* set)
{
    if (track < 0 || track >= GetMaxNumTracks()) return false;
    tracks_[track].set = set;
    return true;
}

bool CAnimationController::SetTrackEnable(int track, bool enable)
{
    if (track < 0 || track >= GetMaxNumTracks()) return false;
    tracks_[track].enabled = enable;
    return true;
}

bool CAnimationController::SetTrackWeight(int track, float weight)
{
    if (track < 0 || track >= GetMaxNumTracks()) return false;
    tracks_[track].weight = weight;
    return true;
}

bool CAnimationController::SetTrackSpeed(int track, float speed)
{
    if (track < 0 || track >= GetMaxNumTracks()) return false;
    tracks_[track].speed = speed;
    return true;
}

bool CAnimationController::SetTrackPosition(int track, double position)
{
    if (track < 0 || track >= GetMaxNumTracks()) return false;
    tracks_[track].position = position;
    return true;
}

void CAnimationController::AdvanceTime(double seconds)
{
    time_ += seconds;
    for (Track& t : tracks_)
        if (t.enabled) t.position += seconds * t.speed;
    Apply();
}

void CAnimationController::Apply()
{
    for (const Output& out : outputs_) {
        // Weighted mean of every enabled track that animates this frame; rotations kept on one hemisphere.
        float total = 0;
        Vec3 s, p;
        Quat r{0, 0, 0, 0};
        Quat first;
        bool haveFirst = false;
        for (const Track& t : tracks_) {
            if (!t.enabled || !t.set || t.weight <= 0) continue;
            for (std::size_t a = 0; a < t.set->GetNumAnimations(); ++a) {
                if (t.set->GetAnimationName(a) != out.name) continue;
                Vec3 ks, kp;
                Quat kr;
                t.set->GetSRT(t.set->GetPeriodicPosition(t.position), a, ks, kr, kp);
                if (!haveFirst) {
                    first = kr;
                    haveFirst = true;
                }
                const float sign = first.x * kr.x + first.y * kr.y + first.z * kr.z + first.w * kr.w < 0 ? -1.0f : 1.0f;
                const float w = t.weight;
                s = {s.x + w * ks.x, s.y + w * ks.y, s.z + w * ks.z};
                p = {p.x + w * kp.x, p.y + w * kp.y, p.z + w * kp.z};
                r = {r.x + sign * w * kr.x, r.y + sign * w * kr.y, r.z + sign * w * kr.z, r.w + sign * w * kr.w};
                total += w;
                break;
            }
        }
        if (total <= 0) continue;
        s = {s.x / total, s.y / total, s.z / total};
        p = {p.x / total, p.y / total, p.z / total};
        *out.matrix = MatrixScaling(s.x, s.y, s.z) * MatrixRotationQuaternion(QuatNormalize(r)) *
                      MatrixTranslation(p.x, p.y, p.z);
    }
}
