#pragma once
// A small INI file of our own: Windows-1251 text, sections and keys matched without regard to
// case, and rewriting that keeps every line it does not own (unknown keys, comments, blanks).

#include "files/RegularFiles.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace korvel {

class IniFile {
public:
    // Decodes Windows-1251 bytes; CR LF, CR and LF all end a line.
    static IniFile fromBytes(const QByteArray& bytes);
    // A missing or unreadable file gives an empty one: no key is an error. So does anything but
    // a regular file of at most MaxBytes (a FIFO would hang the start, /dev/zero never ends);
    // status, when asked, says which.
    static IniFile load(const QString& path, RegularFileStatus* status = nullptr);
    // Far above the 2 KB the program writes.
    static constexpr qint64 MaxBytes = 1024 * 1024;

    // The value of a key as written, blanks around it removed; nothing when absent.
    std::optional<QString> value(const QString& section, const QString& key) const;
    // Replaces the value of an existing key in place; a new key goes to the end of its
    // section, a new section to the end of the file.
    void setValue(const QString& section, const QString& key, const QString& value);

    QByteArray toBytes() const;   // Windows-1251, CR LF line ends
    QString text() const;         // the same content, for tests and diagnostics

private:
    struct Line {
        QString raw;       // kept verbatim unless the line is a key we rewrote
        QString section;   // for section headers: the name
        QString key;       // for key lines: the name
        bool isSection = false;
        bool isKey = false;
    };
    // Index of the section header, or -1.
    int findSection(const QString& section) const;
    // End of the section that starts at header index h (the index of the next header).
    int sectionEnd(int h) const;

    QList<Line> lines_;
};

}  // namespace korvel
