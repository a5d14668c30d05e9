#pragma once
// The views the user has been through, newest last, for "one step back". A view is either
// the ranges the user chose or the automatic axes fitted to the data.

#include "chart/ViewRanges.h"

#include <QtGlobal>
#include <optional>
#include <vector>

namespace korvel {

// nullopt: the automatic axes, whatever the data makes of them at the time.
using HistoryView = std::optional<ViewRanges>;

class ZoomHistory {
public:
    // How a change of the view relates to the one before it.
    enum class Step {
        New,          // a step of its own
        WheelNotch,   // one with the notches before it when they came less than WheelRunMs apart
        Continued,    // the same gesture goes on (a drag): no new step
    };

    static constexpr qint64 WheelRunMs = 500;
    // Older steps are forgotten beyond this.
    static constexpr size_t Depth = 100;

    // Call before the view changes, with the view in force until then.
    void record(const HistoryView& before, Step step, qint64 nowMs);
    // The view before the last step, taken off the history; nothing when there is none.
    std::optional<HistoryView> back();
    bool isEmpty() const { return views_.empty(); }
    size_t size() const { return views_.size(); }
    void clear();

private:
    std::vector<HistoryView> views_;
    std::optional<qint64> lastNotchMs_;
};

}  // namespace korvel
