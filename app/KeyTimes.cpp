#include "app/KeyTimes.h"

#include <algorithm>
#include <cstdio>

namespace {

double Median(std::vector<float> v)
{
    if (v.empty()) return 0.0;
    std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

}  // namespace

void KeyTimes::Start(size_t keys)
{
    on_ = true;
    for (std::vector<float>* v : {&toStep_, &steps_, &drawing_, &swap_}) v->reserve(keys);
}

void KeyTimes::KeyDown(double at)
{
    if (!on_ || phase_ != Phase::Idle || toStep_.size() == toStep_.capacity()) return;
    key_ = at;
    phase_ = Phase::Waiting;
}

void KeyTimes::StepsBegin(double at)
{
    if (phase_ != Phase::Waiting) return;
    begin_ = at;
    phase_ = Phase::Stepping;
}

void KeyTimes::StepsEnd(double at)
{
    if (phase_ != Phase::Stepping) return;
    end_ = at;
    phase_ = Phase::Drawing;
}

void KeyTimes::FrameShown(double drawn, double returned)
{
    if (phase_ != Phase::Drawing) return;
    toStep_.push_back(static_cast<float>((begin_ - key_) * 1000.0));
    steps_.push_back(static_cast<float>((end_ - begin_) * 1000.0));
    drawing_.push_back(static_cast<float>((drawn - end_) * 1000.0));
    swap_.push_back(static_cast<float>((returned - drawn) * 1000.0));
    phase_ = Phase::Idle;
}

void KeyTimes::FrameNotShown()
{
    if (phase_ == Phase::Drawing) phase_ = Phase::Idle;
}

std::string KeyTimes::Report() const
{
    if (toStep_.empty()) return std::string();
    char line[160];
    std::snprintf(line, sizeof line, "keys: %zu, median to step %.1f ms, steps %.1f ms, drawing %.1f ms, swap %.1f ms",
                  toStep_.size(), Median(toStep_), Median(steps_), Median(drawing_), Median(swap_));
    return line;
}
