#include "chart/ZoomHistory.h"

namespace korvel {

void ZoomHistory::record(const HistoryView& before, Step step, qint64 nowMs)
{
    const bool inWheelRun = step == Step::WheelNotch && lastNotchMs_
                            && nowMs - *lastNotchMs_ < WheelRunMs && !views_.empty();
    lastNotchMs_ = step == Step::WheelNotch ? std::optional<qint64>(nowMs) : std::nullopt;
    if (inWheelRun || (step == Step::Continued && !views_.empty()))
        return;
    views_.push_back(before);
    if (views_.size() > Depth)
        views_.erase(views_.begin());
}

std::optional<HistoryView> ZoomHistory::back()
{
    lastNotchMs_.reset();
    if (views_.empty())
        return std::nullopt;
    HistoryView v = views_.back();
    views_.pop_back();
    return v;
}

void ZoomHistory::clear()
{
    views_.clear();
    lastNotchMs_.reset();
}

}  // namespace korvel
