#include "settings/IniFile.h"

#include "files/Cp1251.h"


namespace korvel {

namespace {

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

IniFile IniFile::fromBytes(const QByteArray& bytes)
{
    QString all = FromCp1251(bytes);
    all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    all.replace(QChar('\r'), QChar('\n'));
    QStringList rows = all.split(QChar('\n'));
    if (!rows.isEmpty() && rows.last().isEmpty())
        rows.removeLast();  // the final line end does not open another line

    IniFile ini;
    for (const QString& row : rows) {
        Line line;
        line.raw = row;
        const QString t = row.trimmed();
        if (t.startsWith('[') && t.endsWith(']')) {
            line.isSection = true;
            line.section = t.mid(1, t.size() - 2).trimmed();
        } else if (!t.startsWith(';') && !t.startsWith('#') && t.contains('=')) {
            line.isKey = true;
            line.key = t.left(t.indexOf('=')).trimmed();
        }
        ini.lines_.append(line);
    }
    return ini;
}

IniFile IniFile::load(const QString& path, RegularFileStatus* status)
{
    const RegularFileBytes file = ReadRegularFile(path, MaxBytes);
    if (status)
        *status = file.status;
    return file.status == RegularFileStatus::Ok ? fromBytes(file.bytes) : IniFile();
}

int IniFile::findSection(const QString& section) const
{
    for (int i = 0; i < lines_.size(); ++i)
        if (lines_[i].isSection && sameName(lines_[i].section, section))
            return i;
    return -1;
}

int IniFile::sectionEnd(int h) const
{
    int i = h + 1;
    while (i < lines_.size() && !lines_[i].isSection)
        ++i;
    return i;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const
{
    const int h = findSection(section);
    if (h < 0)
        return std::nullopt;
    const int end = sectionEnd(h);
    for (int i = h + 1; i < end; ++i) {
        const Line& l = lines_[i];
        if (l.isKey && sameName(l.key, key))
            return l.raw.mid(l.raw.indexOf('=') + 1).trimmed();
    }
    return std::nullopt;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    Line kv;
    kv.isKey = true;
    kv.key = key;
    kv.raw = key + '=' + value;

    int h = findSection(section);
    if (h < 0) {
        Line head;
        head.isSection = true;
        head.section = section;
        head.raw = '[' + section + ']';
        lines_.append(head);
        lines_.append(kv);
        return;
    }
    const int end = sectionEnd(h);
    int lastContent = h;
    for (int i = h + 1; i < end; ++i) {
        Line& l = lines_[i];
        if (l.isKey && sameName(l.key, key)) {
            kv.key = l.key;  // keep the spelling the file already uses
            kv.raw = l.key + '=' + value;
            l = kv;
            return;
        }
        if (!l.raw.trimmed().isEmpty())
            lastContent = i;
    }
    // After the section's last non-blank line, so a blank separator stays between sections.
    lines_.insert(lastContent + 1, kv);
}

QString IniFile::text() const
{
    QString out;
    for (const Line& l : lines_) {
        out += l.raw;
        out += QStringLiteral("\r\n");
    }
    return out;
}

QByteArray IniFile::toBytes() const
{
    return ToCp1251(text());
}

}  // namespace korvel
