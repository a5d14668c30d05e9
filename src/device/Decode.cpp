#include "device/Decode.h"

#include "text/NumberFormat.h"

#include <QLocale>

namespace korvel {

void ReorderPairsInPlace(char* data, qsizetype n)
{
    auto* p = reinterpret_cast<quint8*>(data);
    for (qsizetype i = 0; i + 1 < n; i += 2) {
        const quint16 w = ReorderPair(p[i], p[i + 1]);
        p[i] = static_cast<quint8>(w & 0xFF);
        p[i + 1] = static_cast<quint8>(w >> 8);
    }
}

QString DateTimeText(const QDateTime& when)
{
    const QLocale locale;
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    // Qt's long time carries the zone name; the desktop's long time does not.
    timeFormat.remove(QLatin1Char('t'));
    timeFormat = timeFormat.trimmed();
    return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(when.time(), timeFormat);
}

QString TemperatureText(double celsius, const QString& dateTime)
{
    return Format(u"%4.1f градусов на %s", {celsius, dateTime});
}

}  // namespace korvel
