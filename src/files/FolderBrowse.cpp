#include "files/FolderBrowse.h"

#include "files/DataFile.h"
#include "files/DataFileIo.h"
#include "text/Cp1251.h"
#include "text/NumberFormat.h"
#include "text/RegularFiles.h"

#include <QDir>
#include <QFile>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QtEndian>
#include <algorithm>

namespace korvel {

namespace {

const QString Marker = QStringLiteral("=v=");

QString fileNameOf(const QString& path)
{
    return path.isEmpty() ? QString() : QFileInfo(path).fileName();
}

// Moves past count bytes, stopping at the end; false when the end came first.
bool skipBytes(QIODevice& device, qint64 count)
{
    const qint64 target = device.pos() + count;
    if (target > device.size()) {
        device.seek(device.size());
        return false;
    }
    return device.seek(target);
}

// Moves past a zero-terminated string, stopping at the end; false when no zero byte came.
bool skipString(QIODevice& device)
{
    for (;;) {
        const qint64 start = device.pos();
        const QByteArray chunk = device.read(64);
        if (chunk.isEmpty())
            return false;
        const qsizetype zero = chunk.indexOf('\0');
        if (zero >= 0)
            return device.seek(start + zero + 1);
    }
}

}  // namespace

QString NoMoreFilesMessage()
{
    return QStringLiteral("Больше нет файлов");
}

QString FolderOf(const QString& CurrentDataFile)
{
    if (CurrentDataFile.isEmpty())
        return {};
    QString folder = QFileInfo(CurrentDataFile).absolutePath();
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

QStringList ListFolder(const QString& folder, const QString& mask)
{
    if (folder.isEmpty())
        return {};
    // Regular files only (a symlink to one counts): a FIFO, socket or device named like a data
    // file is not one, and opening it could wait for ever.
    QStringList names;
    for (const QFileInfo& entry :
         QDir(folder).entryInfoList({mask}, QDir::Files | QDir::Hidden, QDir::Name))
        if (entry.isFile())
            names.append(entry.fileName());
    return names;
}

BrowseStep PreviousFileStep(const QStringList& entries, const QString& currentName)
{
    // An empty listing compares as an empty first name, like the current name of no folder.
    const QString first = entries.isEmpty() ? QString() : entries.first();
    if (first == currentName)
        return {BrowseStep::Action::NoMoreFiles, {}, {}};
    for (qsizetype i = 1; i < entries.size(); ++i)
        if (entries[i] == currentName)
            return {BrowseStep::Action::Open, entries[i - 1], {}};
    return {};
}

BrowseStep NextFileStep(const QStringList& entries, const QString& currentName)
{
    const qsizetype at = entries.indexOf(currentName);
    if (at < 0 || at + 1 >= entries.size())
        return {BrowseStep::Action::NoMoreFiles, {}, {}};
    return {BrowseStep::Action::Open, entries[at + 1], {}};
}

BrowseStep PreviousDataFile(const QString& CurrentDataFile)
{
    const QString folder = FolderOf(CurrentDataFile);
    BrowseStep step = PreviousFileStep(ListFolder(folder, QStringLiteral("*.dtw")),
                                       fileNameOf(CurrentDataFile));
    if (step.action == BrowseStep::Action::Open)
        step.path = folder + step.name;
    return step;
}

BrowseStep NextDataFile(const QString& CurrentDataFile)
{
    const QString folder = FolderOf(CurrentDataFile);
    BrowseStep step = NextFileStep(ListFolder(folder, QStringLiteral("*.dtw")),
                                   fileNameOf(CurrentDataFile));
    if (step.action == BrowseStep::Action::Open)
        step.path = folder + step.name;
    return step;
}

QString CommentListMask(const QString& CurrentDataFile)
{
    return '*' + FileExtension(CurrentDataFile);
}

QStringList CommentListEntries(const QString& CurrentDataFile)
{
    return ListFolder(FolderOf(CurrentDataFile), CommentListMask(CurrentDataFile));
}

QString ChooseFolderMessage(const QString& CurrentDataFile)
{
    return QStringLiteral("Выберите путь, содержащий файлы ") + FileExtension(CurrentDataFile);
}

FileComment ReadFileComment(QIODevice& device)
{
    FileComment out;
    const QByteArray header = device.read(DataFileHeaderSize);
    if (header.size() >= 2) {
        const quint16 kind = qFromLittleEndian<quint16>(header.constData());
        if (kind != DataKindSignal && kind != DataKindWithTemperature) {
            out.foreign = true;
            return out;
        }
    }
    // A file larger than any data file is damaged; its tail is not read as a comment.
    if (header.size() < DataFileHeaderSize || device.size() > MaxDataFileBytes)
        return out;
    const quint32 sampleBytes = qFromLittleEndian<quint32>(header.constData() + 5);
    // Twelve bytes whatever the variant: in the accelerometer layout the first name skip then
    // passes over the rest of its fixed block, which holds no zero byte.
    if (!skipBytes(device, 12) || !skipString(device) || !skipString(device)
        || !skipBytes(device, sampleBytes))
        return out;
    out.lines = SplitLines(FromCp1251(UpToZero(device.readAll())));
    return out;
}

QStringList BuildCommentList(const QString& folder, const QStringList& names, Messages& messages)
{
    QStringList lines;
    for (const QString& name : names) {
        QFile file;
        const RegularFileStatus opened = OpenRegularFile(file, folder + name);
        if (opened == RegularFileStatus::NotRegular)
            continue;
        if (opened != RegularFileStatus::Ok) {
            messages.error(Format(u"Cannot open file %s", {folder + name}));
            break;
        }
        const FileComment c = ReadFileComment(file);
        if (c.foreign) {
            messages.message(QStringLiteral("Приложение нe сможет открыть Файл ") + name
                             + QStringLiteral(", так как он создан другим приложением"));
            continue;
        }
        lines.append(Marker + name + Marker);
        lines.append(c.lines);
    }
    return lines;
}

std::optional<SearchHit> FindInCommentList(const QStringList& lines, const QString& text,
                                           bool chkCaps, int& SearchLine)
{
    if (text.isEmpty() || lines.isEmpty())
        return std::nullopt;
    const QString wanted = chkCaps ? text : text.toUpper();
    const auto holds = [&](const QString& line) {
        return (chkCaps ? line : line.toUpper()).contains(wanted);
    };
    if (std::none_of(lines.begin(), lines.end(), holds))
        return std::nullopt;
    // The list may have been rebuilt shorter since the last search.
    qsizetype at = SearchLine >= 0 && SearchLine < lines.size() ? SearchLine : 0;
    while (!holds(lines[at]))
        at = (at + 1) % lines.size();
    SearchHit hit;
    hit.line = int(at);
    for (qsizetype i = 0; i < at; ++i)
        hit.selStart += int(lines[i].size()) + 2;
    hit.selLength = int(lines[at].size());
    SearchLine = int((at + 1) % lines.size());
    return hit;
}

ClipboardText CommentClipboardText(const QString& comment, const QString& CurrentDataFile)
{
    const QFileInfo info(CurrentDataFile);
    if (CurrentDataFile.isEmpty() || !info.isFile())
        return {{}, QStringLiteral("Invalid argument to date encode")};
    // Short date and long time of the system, without the time zone Qt's long format adds.
    const QLocale locale;
    static const QRegularExpression zone(QStringLiteral("\\s*t+\\s*"));
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(zone);
    const QDateTime modified = info.lastModified();
    const QString stamp = locale.toString(modified.date(), QLocale::ShortFormat) + ' '
                          + locale.toString(modified.time(), timeFormat.trimmed());
    QStringList lines = SplitLines(comment);
    lines.append(CurrentDataFile + QStringLiteral("  ") + stamp);
    return {lines.join(QStringLiteral("\r\n")), {}};
}

std::optional<QString> FileNameForLine(const QStringList& lines, int cursorLine)
{
    for (qsizetype i = std::min<qsizetype>(cursorLine, lines.size() - 1); i >= 0; --i) {
        const QString& line = lines[i];
        if (!line.startsWith(Marker))
            continue;
        if (line.size() <= 6)
            return std::nullopt;
        return line.mid(3, line.size() - 6);
    }
    return std::nullopt;
}

}  // namespace korvel
