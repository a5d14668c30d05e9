#include "serial/ScriptedPort.h"

#include <QTimer>
#include <cstring>

namespace korvel {

bool ScriptedPort::open(const QString& device)
{
    calls.append(QStringLiteral("open ") + device);
    if (unavailable.contains(device))
        return false;
    open_ = true;
    return true;
}

void ScriptedPort::vanish(const QString& reason)
{
    close();
    emit failed(reason);
}

void ScriptedPort::close()
{
    calls.append(QStringLiteral("close"));
    open_ = false;
    lineSet = false;
}

bool ScriptedPort::setLineParameters()
{
    calls.append(QStringLiteral("line"));
    lineSet = true;
    baud_ = 9600;
    return true;
}

bool ScriptedPort::setBaudRate(qint32 baud)
{
    calls.append(QStringLiteral("baud ") + QString::number(baud));
    baud_ = baud;
    return true;
}

void ScriptedPort::write(const QByteArray& bytes)
{
    if (!open_)
        return;
    writes.append({bytes, baud_});
    if (onWrite)
        onWrite(bytes);
}

qint64 ScriptedPort::read(char* data, qint64 max)
{
    const qsizetype n = static_cast<qsizetype>(qMin<qint64>(max, incoming.size()));
    std::memcpy(data, incoming.constData(), static_cast<size_t>(n));
    incoming.remove(0, n);
    return n;
}

void ScriptedPort::purge()
{
    ++purges;
    incoming.clear();
}

void ScriptedPort::feed(const QByteArray& bytes)
{
    incoming.append(bytes);
    emit received();
}

void ScriptedPort::feedLater(const QByteArray& bytes)
{
    QTimer::singleShot(0, this, [this, bytes] { feed(bytes); });
}

QList<QByteArray> ScriptedPort::writtenCommands() const
{
    QList<QByteArray> out;
    for (const Write& w : writes)
        out.append(w.bytes);
    return out;
}

}  // namespace korvel
