#include "sim/WirePacing.h"

#include "device/Commands.h"

#include <algorithm>

namespace korvel {

qint64 WirePacing::lineTimeUs(qsizetype bytes)
{
    return (static_cast<qint64>(bytes) * cmd::BitsPerByteOnLine * 1000000 + cmd::LineBaudRate - 1) /
           cmd::LineBaudRate;
}

void WirePacing::schedule(const QList<SimOutput>& outputs)
{
    for (const SimOutput& o : outputs) {
        qint64 at = o.readyAtUs;
        if (throttle_) {
            // The line sends one reply at a time; the last byte lands after the whole reply.
            at = std::max(at, lineFreeUs_) + lineTimeUs(o.bytes.size());
            lineFreeUs_ = at;
        }
        // Keep arrival order; a reply that waits on a measurement may come after later ones.
        auto pos = std::upper_bound(queue_.begin(), queue_.end(), at,
                                    [](qint64 t, const Arrival& a) { return t < a.atUs; });
        queue_.insert(pos, Arrival{at, o.bytes});
    }
}

bool WirePacing::takeDue(qint64 nowUs, QByteArray* bytes, qint64* atUs)
{
    if (queue_.empty() || queue_.front().atUs > nowUs)
        return false;
    if (atUs)
        *atUs = queue_.front().atUs;
    *bytes = std::move(queue_.front().bytes);
    queue_.pop_front();
    return true;
}

void WirePacing::clearArrived(qint64 nowUs)
{
    while (!queue_.empty() && queue_.front().atUs <= nowUs)
        queue_.pop_front();
}

}  // namespace korvel
