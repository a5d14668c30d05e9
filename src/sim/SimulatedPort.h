#pragma once
// The simulated board as a serial port in the same process. Replies arrive from the event
// loop, never from inside write(), as they would from a real port.

#include "serial/SerialPort.h"
#include "sim/BoardSimulator.h"
#include "sim/WirePacing.h"

#include <QElapsedTimer>
#include <QTimer>

namespace korvel {

class SimulatedPort : public SerialPort {
    Q_OBJECT
public:
    explicit SimulatedPort(SimOptions options = {}, QObject* parent = nullptr);

    BoardSimulator& simulator() { return sim_; }
    // Pace replies at 921600 baud, 11 bits a byte.
    void setThrottle(bool on) { pacing_.setThrottle(on); }
    // The external trigger edge, for starts that wait for it.
    void fireEdge();

    bool open(const QString& device) override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool setLineParameters() override;
    bool setBaudRate(qint32 baud) override;
    qint32 baudRate() const override { return baud_; }
    void write(const QByteArray& bytes) override;
    qint64 bytesWaiting() const override { return rx_.size(); }
    qint64 read(char* data, qint64 max) override;
    using SerialPort::read;
    void purge() override;

private:
    qint64 nowUs() const { return clock_.nsecsElapsed() / 1000; }
    void schedule(const QList<SimOutput>& outputs);
    void arm();
    void deliver();

    BoardSimulator sim_;
    WirePacing pacing_;
    QElapsedTimer clock_;
    QTimer timer_;
    // How late the reply being handed over right now is: the timer's own delay, which a real
    // line does not have. A command the host answers with at once counts from the due time.
    qint64 deliveryLagUs_ = 0;
    QByteArray rx_;
    bool open_ = false;
    qint32 baud_ = 0;
};

}  // namespace korvel
