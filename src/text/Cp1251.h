#pragma once
// Text inside data files and exports is single-byte Windows-1251; the program works in QString.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace korvel {

QByteArray ToCp1251(const QString& text);
QString FromCp1251(QByteArrayView bytes);
// Encodes text at out, which has room for one byte per character; returns the end.
char* AppendCp1251(char* out, QStringView text);

// Whether this Qt converts Windows-1251 at all: one built without ICU does not, and would then
// read every name and comment as empty and write empty files. Decided on the first call (the
// window asks at start-up) and kept.
bool Cp1251Available();
// Lets a test try the program on a Qt without the codec; nullopt gives the real answer again.
void ForceCp1251Available(std::optional<bool> available);
// Why a settings, data or text file was not written.
QString Cp1251MissingMessage(const QString& path);
// Said once at start-up.
QString Cp1251MissingAtStartMessage();

// A comment as it is stored: every line break (CR LF, a lone CR or a lone LF) becomes CR LF.
QByteArray NormaliseLineBreaks(const QByteArray& bytes);

// Cut at the first zero byte, the way a text box takes a C string.
QByteArray UpToZero(const QByteArray& bytes);

// Lines split at CR LF, CR or LF; a break after the last line does not add an empty line.
QStringList SplitLines(const QString& text);

}  // namespace korvel
