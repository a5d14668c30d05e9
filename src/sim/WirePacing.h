#pragma once
// When the board's replies reach the host: at once, or paced at the line's speed
// (921600 baud, 11 bits a byte), one reply after the other.

#include "sim/BoardSimulator.h"

#include <deque>

namespace korvel {

class WirePacing {
public:
    struct Arrival {
        qint64 atUs;
        QByteArray bytes;
    };

    explicit WirePacing(bool throttle = false) : throttle_(throttle) {}
    void setThrottle(bool on) { throttle_ = on; }
    bool throttle() const { return throttle_; }

    static qint64 lineTimeUs(qsizetype bytes);

    void schedule(const QList<SimOutput>& outputs);
    bool empty() const { return queue_.empty(); }
    qint64 nextAtUs() const { return queue_.front().atUs; }
    // The first reply if it has arrived by nowUs; *atUs tells when it was due.
    bool takeDue(qint64 nowUs, QByteArray* bytes, qint64* atUs = nullptr);
    void clearArrived(qint64 nowUs);

private:
    bool throttle_;
    qint64 lineFreeUs_ = 0;
    std::deque<Arrival> queue_;
};

}  // namespace korvel
