#include "serialport/QtSerialPort.h"

#include <QMetaObject>

#if defined(Q_OS_UNIX)
#include <poll.h>
#endif

namespace korvel {

namespace {
// Several replies of the largest kind (a 501-byte packet). A line that sends more than the
// program takes waits in the system's buffer instead of growing this one without end.
constexpr qint64 ReadBufferBytes = 4096;
}  // namespace

QtSerialPort::QtSerialPort(QObject* parent) : SerialPort(parent)
{
    port_.setReadBufferSize(ReadBufferBytes);
    connect(&port_, &QSerialPort::readyRead, this, &SerialPort::received);
    connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        // Only a vanished or broken device makes the port unusable; a pseudo-terminal, for
        // one, refuses the modem-line calls and that is harmless.
        if (e == QSerialPort::ResourceError || e == QSerialPort::PermissionError
            || (e == QSerialPort::ReadError && hungUp()))
            deviceLost();
    });
}

bool QtSerialPort::hungUp() const
{
    // A pseudo-terminal whose other end closed reads as end of file, which QSerialPort reports
    // as a plain read error; the hang-up flag tells it from a passing fault.
#if defined(Q_OS_UNIX)
    if (!port_.isOpen())
        return false;
    pollfd p{static_cast<int>(port_.handle()), POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL));
#else
    return false;
#endif
}

void QtSerialPort::deviceLost()
{
    if (lost_ || !port_.isOpen())
        return;
    lost_ = true;
    const QString reason = port_.errorString();
    // Closed from the event loop: the error arrives from inside QSerialPort's own notifier, and
    // a hung-up device left open keeps waking it.
    QMetaObject::invokeMethod(
        this, [this] { if (lost_) close(); }, Qt::QueuedConnection);
    emit failed(reason);
}

bool QtSerialPort::open(const QString& device)
{
    if (port_.isOpen())
        port_.close();
    port_.setPortName(device);
    lost_ = false;
    return port_.open(QIODevice::ReadWrite);
}

QString QtSerialPort::openFailure() const
{
    if (port_.isOpen() || port_.error() == QSerialPort::NoError)
        return {};
    const QString system = port_.errorString();
    switch (port_.error()) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("нет такого устройства (%1)").arg(system);
    case QSerialPort::PermissionError:
        return QStringLiteral("нет доступа (%1).\nПорт занят другой программой, или у пользователя "
                              "нет прав на него: их даёт правило udev пакета korvel "
                              "(/usr/lib/udev/rules.d/70-korvel.rules) или группа dialout "
                              "(sudo usermod -aG dialout $USER, затем войти в систему заново).")
            .arg(system);
    default:
        return QStringLiteral("порт не открывается (%1)").arg(system);
    }
}

QString QtSerialPort::systemLocation() const
{
    const QString name = port_.portName();
#ifdef Q_OS_WIN
    return name.startsWith(QLatin1String("\\\\.\\")) ? name : QStringLiteral("\\\\.\\") + name;
#else
    const bool path = name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1String("./"))
        || name.startsWith(QLatin1String("../"));
    return path ? name : QStringLiteral("/dev/") + name;
#endif
}

void QtSerialPort::close()
{
    if (port_.isOpen())
        port_.close();
}

bool QtSerialPort::setLineParameters()
{
    bool ok = port_.setDataBits(QSerialPort::Data8);
    ok = port_.setParity(QSerialPort::OddParity) && ok;
    ok = port_.setStopBits(QSerialPort::OneStop) && ok;
    ok = port_.setFlowControl(QSerialPort::NoFlowControl) && ok;
    ok = port_.setBaudRate(9600) && ok;
    // Modem lines are not part of the board's link; a device without them is fine.
    port_.setDataTerminalReady(false);
    port_.setRequestToSend(false);
    return ok;
}

bool QtSerialPort::setBaudRate(qint32 baud)
{
    return port_.setBaudRate(baud);
}

void QtSerialPort::write(const QByteArray& bytes)
{
    if (port_.isOpen())
        port_.write(bytes);
}

qint64 QtSerialPort::read(char* data, qint64 max)
{
    const qint64 n = port_.read(data, max);
    return n < 0 ? 0 : n;
}

void QtSerialPort::purge()
{
    if (!port_.isOpen())
        return;
    port_.clear(QSerialPort::AllDirections);
    // A full read buffer stops QSerialPort reading the device until the program reads from it;
    // clearing the buffer does not count, a read of the now empty buffer does.
    char none = 0;
    port_.read(&none, 1);
}

}  // namespace korvel
