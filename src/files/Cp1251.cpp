#include "files/Cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace korvel {

QByteArray ToCp1251(const QString& text)
{
    QStringEncoder encoder("windows-1251");
    return encoder.encode(text);
}

QString FromCp1251(const QByteArray& bytes)
{
    QStringDecoder decoder("windows-1251");
    return decoder.decode(bytes);
}

QByteArray NormaliseLineBreaks(const QByteArray& bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 16);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

QByteArray UpToZero(const QByteArray& bytes)
{
    const qsizetype zero = bytes.indexOf('\0');
    return zero < 0 ? bytes : bytes.left(zero);
}

QStringList SplitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

}  // namespace korvel
