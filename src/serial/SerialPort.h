#pragma once
// The serial port as the program uses it: open a device, set the board's line, raise the
// speed, queue writes, read what has arrived without waiting, discard both queues. received()
// is delivered on the thread the port lives on (the window's).

#include <QByteArray>
#include <QObject>
#include <QString>

namespace korvel {

class SerialPort : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~SerialPort() override = default;

    virtual bool open(const QString& device) = 0;
    // Harmless when the port is already closed.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // 8 data bits, odd parity, 1 stop bit, no flow control, DTR and RTS off, nominal 9600 baud.
    virtual bool setLineParameters() = 0;
    // Changes the speed of the open port (the board talks at 921600).
    virtual bool setBaudRate(qint32 baud) = 0;
    virtual qint32 baudRate() const = 0;
    // Queued; writes leave in the order they were made. Nothing is sent while closed.
    virtual void write(const QByteArray& bytes) = 0;
    virtual qint64 bytesWaiting() const = 0;
    // Up to max bytes of what has arrived, without waiting; returns how many.
    virtual qint64 read(char* data, qint64 max) = 0;
    // Discards what has arrived and what is still queued for sending.
    virtual void purge() = 0;

    QByteArray read(qint64 max)
    {
        QByteArray out(static_cast<qsizetype>(qMin(max, bytesWaiting())), Qt::Uninitialized);
        out.resize(static_cast<qsizetype>(read(out.data(), out.size())));
        return out;
    }

signals:
    void received();
    // The port can no longer be used (the device went away, for example).
    void failed(const QString& reason);
};

}  // namespace korvel
