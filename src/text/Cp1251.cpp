#include "text/Cp1251.h"

#include "text/NumberFormat.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace korvel {

namespace {

std::optional<bool> forcedAvailable;

bool codecConverts()
{
    // Valid is not enough: the codec must also give the bytes a Cyrillic letter has.
    static const bool converts = [] {
        QStringEncoder encoder("windows-1251");
        return encoder.isValid() && QByteArray(encoder.encode(u"Жж")) == "\xC6\xE6";
    }();
    return converts;
}

// One converter per thread: opening the ICU converter costs more than converting a name.
QStringEncoder& encoder()
{
    thread_local QStringEncoder encoder("windows-1251", QStringConverter::Flag::Stateless);
    return encoder;
}

}  // namespace

QByteArray ToCp1251(const QString& text)
{
    return encoder().encode(text);
}

char* AppendCp1251(char* out, QStringView text)
{
    return encoder().appendToBuffer(out, text);
}

QString FromCp1251(QByteArrayView bytes)
{
    thread_local QStringDecoder decoder("windows-1251", QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

bool Cp1251Available()
{
    return forcedAvailable ? *forcedAvailable : codecConverts();
}

void ForceCp1251Available(std::optional<bool> available)
{
    forcedAvailable = available;
}

QString Cp1251MissingMessage(const QString& path)
{
    return Format(u"Файл %s не записан: в Qt этой системы нет кодировки Windows-1251", {path});
}

QString Cp1251MissingAtStartMessage()
{
    return QStringLiteral("В Qt этой системы нет кодировки Windows-1251: настройки взяты по "
                          "умолчанию, а настройки, файлы данных и текстовые файлы не будут "
                          "сохраняться");
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
