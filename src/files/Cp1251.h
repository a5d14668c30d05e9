#pragma once
// Text inside data files and exports is single-byte Windows-1251; the program works in QString.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace korvel {

QByteArray ToCp1251(const QString& text);
QString FromCp1251(const QByteArray& bytes);

// A comment as it is stored: every line break (CR LF, a lone CR or a lone LF) becomes CR LF.
QByteArray NormaliseLineBreaks(const QByteArray& bytes);

// Cut at the first zero byte, the way a text box takes a C string.
QByteArray UpToZero(const QByteArray& bytes);

// Lines split at CR LF, CR or LF; a break after the last line does not add an empty line.
QStringList SplitLines(const QString& text);

}  // namespace korvel
