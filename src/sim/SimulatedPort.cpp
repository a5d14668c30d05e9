#include "sim/SimulatedPort.h"

#include <algorithm>
#include <cstring>

namespace korvel {

SimulatedPort::SimulatedPort(SimOptions options, QObject* parent)
    : SerialPort(parent), sim_(options)
{
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &SimulatedPort::deliver);
}

void SimulatedPort::fireEdge()
{
    schedule(sim_.fireEdge(nowUs()));
}

bool SimulatedPort::open(const QString&)
{
    open_ = true;
    return true;
}

void SimulatedPort::close()
{
    open_ = false;
    rx_.clear();
}

bool SimulatedPort::setLineParameters()
{
    baud_ = 9600;
    return open_;
}

bool SimulatedPort::setBaudRate(qint32 baud)
{
    baud_ = baud;
    return open_;
}

void SimulatedPort::write(const QByteArray& bytes)
{
    if (!open_)
        return;
    schedule(sim_.receive(bytes, nowUs() - deliveryLagUs_));
}

qint64 SimulatedPort::read(char* data, qint64 max)
{
    const qsizetype n = static_cast<qsizetype>(qMin<qint64>(max, rx_.size()));
    std::memcpy(data, rx_.constData(), static_cast<size_t>(n));
    rx_.remove(0, n);
    return n;
}

void SimulatedPort::purge()
{
    rx_.clear();
    pacing_.clearArrived(nowUs());
}

void SimulatedPort::schedule(const QList<SimOutput>& outputs)
{
    if (outputs.isEmpty())
        return;
    pacing_.schedule(outputs);
    arm();
}

void SimulatedPort::arm()
{
    if (pacing_.empty())
        return;
    const qint64 wait = pacing_.nextAtUs() - nowUs();
    // Timers count whole milliseconds: rounding up costs a fraction of one per reply, where
    // spinning on the remainder would burn a core.
    timer_.start(wait > 0 ? static_cast<int>((wait + 999) / 1000) : 0);
}

void SimulatedPort::deliver()
{
    QByteArray bytes;
    qint64 dueUs = 0;
    while (pacing_.takeDue(nowUs(), &bytes, &dueUs)) {
        if (!open_)
            continue;
        rx_.append(bytes);
        // The handler may write, and so schedule more replies, from inside this signal; its
        // command left when the reply was due plus the host's own time, not the timer's delay.
        deliveryLagUs_ = std::max<qint64>(0, nowUs() - dueUs);
        emit received();
        deliveryLagUs_ = 0;
    }
    arm();
}

}  // namespace korvel
