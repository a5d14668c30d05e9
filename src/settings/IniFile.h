#pragma once
// A small INI file of our own: Windows-1251 text, sections and keys matched without regard to
// case, and rewriting that keeps every line it does not own (unknown keys, comments, blanks).

#include "text/RegularFiles.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>
#include <span>

namespace korvel {

// A value of the file that is not a number of its key's type: where it is and what it says.
struct UnconvertedValue {
    QString section;
    QString key;
    QString text;
};

class IniFile {
public:
    // Decodes Windows-1251 bytes; CR LF, CR and LF all end a line. Bytes that are valid UTF-8
    // beyond ASCII (a file saved by an editor as UTF-8, with or without its mark) are decoded as
    // UTF-8: Windows-1251 Cyrillic text is never valid UTF-8, since its letters would have to
    // pair with the punctuation codes 80h-BFh.
    static IniFile fromBytes(const QByteArray& bytes);
    // A missing or unreadable file gives an empty one: no key is an error. So does anything but
    // a regular file of at most MaxBytes (a FIFO would hang the start, /dev/zero never ends);
    // status, when asked, says which.
    static IniFile load(const QString& path, RegularFileStatus* status = nullptr);
    // Far above the 2 KB the program writes.
    static constexpr qint64 MaxBytes = 1024 * 1024;

    // The value of a key as written, blanks around it removed; nothing when absent. The view
    // holds until the next change.
    std::optional<QStringView> value(QStringView section, QStringView key) const;

    // Replaces the value of an existing key in place, keeping the file's spelling of the key;
    // a new key goes after the last non-blank line of its section, a new section to the end
    // of the file. Only the first section of a name and the first line of a key count.
    void setValue(QStringView section, QStringView key, QStringView value);
    struct KeyValue {
        QStringView key;
        QStringView value;
    };
    struct SectionValues {
        QStringView section;
        std::span<const KeyValue> keys;  // no two of the same name
    };
    // The same as setValue for every key, section after section, in one pass over the file.
    // No two sections have the same name; the views must not point into this file.
    void setValues(std::span<const SectionValues> sections);

    QByteArray toBytes() const;   // Windows-1251, CR LF line ends, whatever was read
    bool readAsUtf8() const { return readAsUtf8_; }
    QString text() const;         // the same content, for tests and diagnostics

    // Every section header and key line in file order: onSection(name), and onKey(key, value)
    // where value() gives the key's value. For a reader of many keys, one pass instead of a
    // search per key.
    template <typename OnSection, typename OnKey>
    void forEachEntry(OnSection onSection, OnKey onKey) const
    {
        for (const Line& l : lines_) {
            if (l.isSection)
                onSection(nameOf(l));
            else if (l.isKey)
                onKey(nameOf(l), [&] { return valueOf(l); });
        }
    }

    // Sections and keys are matched without regard to letter case.
    static bool sameName(QStringView a, QStringView b)
    {
        // Letters fold one UTF-16 unit to one, so names of different lengths never match; the
        // program's own names are often the very same characters.
        return a.size() == b.size()
               && (a.data() == b.data() || a.compare(b, Qt::CaseInsensitive) == 0);
    }

private:
    // A line is a stretch of the text as read or of the text the setters wrote: no line is a
    // string of its own, so reading and rewriting allocate next to nothing.
    struct Line {
        qsizetype start = 0;
        int length = 0;            // a line of a settings file is far shorter than 2^31
        int nameOffset = 0;        // of the section's name or the key, from start
        int nameLength = 0;
        bool written = false;      // in written_ rather than read_
        bool isSection = false;
        bool isKey = false;
    };
    QStringView textOf(const Line& l) const;
    QStringView nameOf(const Line& l) const;
    QStringView valueOf(const Line& l) const;
    // Appends a + b + c to written_ as a line; its name is [nameOffset, nameOffset +
    // nameLength) of that text.
    Line writeLine(QStringView a, QStringView b, QStringView c, qsizetype nameOffset,
                   qsizetype nameLength);

    QString read_;
    QString written_;
    bool readAsUtf8_ = false;
    QList<Line> lines_;
};

}  // namespace korvel
