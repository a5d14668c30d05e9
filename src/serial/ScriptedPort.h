#pragma once
// A port for tests: it records every write with the speed it went out at, and the test puts
// bytes into the receive queue and decides when received() fires.

#include "serial/SerialPort.h"

#include <QList>
#include <functional>

namespace korvel {

class ScriptedPort : public SerialPort {
    Q_OBJECT
public:
    struct Write {
        QByteArray bytes;
        qint32 baud;
    };

    using SerialPort::SerialPort;

    bool open(const QString& device) override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool setLineParameters() override;
    bool setBaudRate(qint32 baud) override;
    qint32 baudRate() const override { return baud_; }
    void write(const QByteArray& bytes) override;
    qint64 bytesWaiting() const override { return incoming.size(); }
    qint64 read(char* data, qint64 max) override;
    using SerialPort::read;
    void purge() override;

    // Appends to the receive queue and fires received() at once.
    void feed(const QByteArray& bytes);
    // Appends and fires received() from the event loop, as a real port would.
    void feedLater(const QByteArray& bytes);
    // The device goes away: the port closes and failed() is emitted, as a real one does.
    void vanish(const QString& reason = QStringLiteral("Input/output error"));
    // Only the writes' bytes, in order.
    QList<QByteArray> writtenCommands() const;

    // What the port has been asked, in order: "open DEVICE", "close", "line", "baud N".
    QStringList calls;
    QList<Write> writes;
    QByteArray incoming;
    int purges = 0;
    bool lineSet = false;
    // Devices that refuse to open.
    QStringList unavailable;
    // Called after each write is recorded; a test may answer from here with feedLater().
    std::function<void(const QByteArray&)> onWrite;

private:
    bool open_ = false;
    qint32 baud_ = 0;
};

}  // namespace korvel
