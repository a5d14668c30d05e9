#pragma once
// The board's port on QSerialPort: 8 data bits, odd parity, 1 stop bit, no flow control,
// DTR and RTS off.

#include "serial/SerialPort.h"

#include <QSerialPort>

namespace korvel {

class QtSerialPort : public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(QObject* parent = nullptr);

    bool open(const QString& device) override;
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    bool setLineParameters() override;
    bool setBaudRate(qint32 baud) override;
    qint32 baudRate() const override { return port_.baudRate(); }
    void write(const QByteArray& bytes) override;
    qint64 bytesWaiting() const override { return port_.bytesAvailable(); }
    qint64 read(char* data, qint64 max) override;
    using SerialPort::read;
    void purge() override;

    QString errorText() const { return port_.errorString(); }
    // Why the last open failed, in the user's words with the system's own after it; empty
    // when it did not fail.
    QString openFailure() const;
    // The device QSerialPort opens for the port's name: a bare name such as "ttyUSB0" is looked
    // for under /dev.
    QString systemLocation() const;

private:
    bool hungUp() const;
    void deviceLost();

    QSerialPort port_;
    // failed() is told once per opening; the device keeps reporting errors until it is closed.
    bool lost_ = false;
};

}  // namespace korvel
