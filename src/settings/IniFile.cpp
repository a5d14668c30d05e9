#include "settings/IniFile.h"

#include "text/Cp1251.h"

#include <QStringDecoder>
#include <QVarLengthArray>
#include <algorithm>

namespace korvel {

namespace {

// The text of bytes that are UTF-8 and not plain ASCII, without a byte-order mark.
std::optional<QString> utf8Text(const QByteArray& bytes)
{
    const QByteArrayView mark("\xEF\xBB\xBF");
    const bool marked = bytes.startsWith(mark);
    const QByteArrayView body = QByteArrayView(bytes).sliced(marked ? mark.size() : 0);
    if (!marked && std::all_of(body.begin(), body.end(), [](char c) { return quint8(c) < 0x80; }))
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(body);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

}  // namespace

IniFile IniFile::fromBytes(const QByteArray& bytes)
{
    IniFile ini;
    if (std::optional<QString> utf8 = utf8Text(bytes)) {
        ini.read_ = std::move(*utf8);
        ini.readAsUtf8_ = true;
    } else {
        ini.read_ = FromCp1251(bytes);
    }
    const QStringView all(ini.read_);
    // Filled through a pointer, one line for each line end and one after the last.
    ini.lines_.resize(all.count(u'\n') + all.count(u'\r') - all.count(u"\r\n") + 1);
    Line* next = ini.lines_.data();
    const auto addLine = [&](qsizetype start, qsizetype end) {
        Line& line = *next++;
        line.start = start;
        line.length = int(end - start);
        const QStringView raw = all.sliced(start, end - start);
        const QStringView t = raw.trimmed();
        if (t.startsWith(u'[') && t.endsWith(u']')) {
            const QStringView name = t.sliced(1, t.size() - 2).trimmed();
            line.isSection = true;
            if (!name.isEmpty())
                line.nameOffset = int(name.data() - raw.data());
            line.nameLength = int(name.size());
        } else if (const qsizetype equals = t.indexOf(u'=');
                   equals >= 0 && !t.startsWith(u';') && !t.startsWith(u'#')) {
            line.isKey = true;
            line.nameOffset = int(t.data() - raw.data());
            line.nameLength = int(t.first(equals).trimmed().size());
        }
    };
    // CR LF, a lone CR and a lone LF each end a line; the last line end opens no other line.
    // The ends are found with Qt's own search, each kind once, not character by character.
    qsizetype start = 0;
    qsizetype cr = all.indexOf(u'\r');
    qsizetype lf = all.indexOf(u'\n');
    while (cr >= 0 || lf >= 0) {
        const qsizetype end = cr < 0 ? lf : lf < 0 ? cr : std::min(cr, lf);
        addLine(start, end);
        start = end + (end == cr && lf == end + 1 ? 2 : 1);
        if (cr >= 0 && cr < start)
            cr = all.indexOf(u'\r', start);
        if (lf >= 0 && lf < start)
            lf = all.indexOf(u'\n', start);
    }
    if (start < all.size())
        addLine(start, all.size());
    ini.lines_.resize(next - ini.lines_.constData());
    return ini;
}

IniFile IniFile::load(const QString& path, RegularFileStatus* status)
{
    const RegularFileBytes file = ReadRegularFile(path, MaxBytes);
    if (status)
        *status = file.status;
    return file.status == RegularFileStatus::Ok ? fromBytes(file.bytes) : IniFile();
}

QStringView IniFile::textOf(const Line& l) const
{
    return QStringView(l.written ? written_ : read_).sliced(l.start, l.length);
}

QStringView IniFile::nameOf(const Line& l) const
{
    return QStringView(l.written ? written_ : read_).sliced(l.start + l.nameOffset, l.nameLength);
}

QStringView IniFile::valueOf(const Line& l) const
{
    const QStringView raw = textOf(l);
    return raw.sliced(raw.indexOf(u'=') + 1).trimmed();
}

IniFile::Line IniFile::writeLine(QStringView a, QStringView b, QStringView c, qsizetype nameOffset,
                                 qsizetype nameLength)
{
    Line l;
    l.written = true;
    l.start = written_.size();
    l.length = int(a.size() + b.size() + c.size());
    l.nameOffset = int(nameOffset);
    l.nameLength = int(nameLength);
    written_.append(a).append(b).append(c);
    return l;
}

std::optional<QStringView> IniFile::value(QStringView section, QStringView key) const
{
    bool inSection = false;
    for (const Line& l : lines_) {
        if (l.isSection) {
            if (inSection)
                return std::nullopt;
            inSection = sameName(nameOf(l), section);
        } else if (inSection && l.isKey && sameName(nameOf(l), key)) {
            return valueOf(l);
        }
    }
    return std::nullopt;
}

void IniFile::setValue(QStringView section, QStringView key, QStringView value)
{
    const KeyValue kv{key, value};
    const SectionValues one{section, {&kv, 1}};
    setValues({&one, 1});
}

void IniFile::setValues(std::span<const SectionValues> given)
{
    // Setting the keys one after another comes down to this: in the first section of each
    // name, the first line of each key takes its value, and the keys it lacks follow its last
    // non-blank line in the order given; sections the file lacks follow at its end in that
    // order, each with its keys.
    struct Section {
        const SectionValues* given;
        qsizetype header = -1;  // in lines_, when the file has the section
        qsizetype lastContent = -1;
        qsizetype firstKey = 0;  // into keys
    };
    struct Key {
        const KeyValue* given;
        qsizetype line = -1;  // in lines_, when the section has the key
    };
    // Flat, and small enough for the stack: the program writes 56 keys in 14 sections.
    QVarLengthArray<Section, 16> sections;
    QVarLengthArray<Key, 80> keys;
    for (const SectionValues& s : given) {
        sections.append(Section{&s, -1, -1, keys.size()});
        for (const KeyValue& k : s.keys)
            keys.append(Key{&k});
    }
    const auto keysOf = [&](const Section& s) {
        return std::span<Key>(keys.data() + s.firstKey, s.given->keys.size());
    };

    // Where each section and key already is.
    const Line* in = lines_.constData();
    Section* current = nullptr;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const Line& l = in[i];
        if (l.isSection) {
            current = nullptr;
            const QStringView name = nameOf(l);
            for (Section& s : sections) {
                if (sameName(s.given->section, name)) {
                    if (s.header < 0) {
                        s.header = s.lastContent = i;
                        current = &s;
                    }
                    break;
                }
            }
            continue;
        }
        if (!current)
            continue;
        if (!textOf(l).trimmed().isEmpty())
            current->lastContent = i;
        if (!l.isKey)
            continue;
        const QStringView name = nameOf(l);
        for (Key& k : keysOf(*current)) {
            if (sameName(k.given->key, name)) {
                if (k.line < 0)
                    k.line = i;
                break;
            }
        }
    }

    // What happens after which line of the file: a key line replaced, or a key added.
    struct Change {
        qsizetype line;
        const Key* key;
        bool replaces;
    };
    QVarLengthArray<Change, 64> changes;
    qsizetype added = 0;
    qsizetype growth = 0;
    for (const Section& s : sections) {
        if (s.header < 0) {
            ++added;
            growth += s.given->section.size() + 2;
        }
        for (const Key& k : keysOf(s)) {
            growth += k.given->key.size() + 1 + k.given->value.size();
            if (k.line >= 0)
                changes.append({k.line, &k, true});
            else if (s.header >= 0)
                changes.append({s.lastContent, &k, false});
            if (k.line < 0)
                ++added;
        }
    }
    // By line, a replacement before the keys added after it, added keys in the order given.
    std::stable_sort(changes.begin(), changes.end(), [](const Change& a, const Change& b) {
        return a.line != b.line ? a.line < b.line : a.replaces > b.replaces;
    });

    // A replaced key keeps the file's spelling, which may lie in written_: it must not move
    // while the spellings are taken from it.
    written_.reserve(written_.size() + growth);
    const auto keyLine = [&](const Key& k, QStringView spelling) {
        Line kv = writeLine(spelling, u"=", k.given->value, 0, spelling.size());
        kv.isKey = true;
        return kv;
    };
    QList<Line> out(lines_.size() + added);
    Line* next = out.data();
    qsizetype copied = 0;
    for (const Change& c : changes) {
        next = std::copy(in + copied, in + std::max(copied, c.line + 1), next);
        copied = std::max(copied, c.line + 1);
        if (c.replaces)
            next[-1] = keyLine(*c.key, nameOf(in[c.line]));
        else
            *next++ = keyLine(*c.key, c.key->given->key);
    }
    next = std::copy(in + copied, in + lines_.size(), next);
    for (const Section& s : sections) {
        if (s.header >= 0)
            continue;
        const QStringView name = s.given->section;
        Line head = writeLine(u"[", name, u"]", 1, name.size());
        head.isSection = true;
        *next++ = head;
        for (const Key& k : keysOf(s))
            *next++ = keyLine(k, k.given->key);
    }
    lines_ = std::move(out);
}

QString IniFile::text() const
{
    qsizetype size = 0;
    for (const Line& l : lines_)
        size += l.length + 2;
    QString out;
    out.reserve(size);
    for (const Line& l : lines_)
        out.append(textOf(l)).append(u"\r\n");
    return out;
}

QByteArray IniFile::toBytes() const
{
    // Encoded line by line into one buffer, without the whole text as a string first.
    qsizetype size = 0;
    for (const Line& l : lines_)
        size += l.length + 2;
    QByteArray out(size, Qt::Uninitialized);
    char* end = out.data();
    for (const Line& l : lines_) {
        end = AppendCp1251(end, textOf(l));
        *end++ = '\r';
        *end++ = '\n';
    }
    out.truncate(end - out.constData());
    return out;
}

}  // namespace korvel
