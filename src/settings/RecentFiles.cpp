#include "settings/RecentFiles.h"

#include "text/Cp1251.h"

#include <QStringList>

namespace korvel {

namespace {

QStringList entriesOf(const RecentFileList& list)
{
    QStringList out;
    for (const QString& path : list)
        if (!path.isEmpty())
            out << path;
    return out;
}

RecentFileList listOf(const QStringList& entries)
{
    RecentFileList out;
    for (qsizetype i = 0; i < entries.size() && i < RecentFileCount; ++i)
        out[size_t(i)] = entries[i];
    return out;
}

bool keptAsWritten(const QString& path)
{
    return !path.contains(u'\n') && !path.contains(u'\r') && path.trimmed() == path
           && FromCp1251(ToCp1251(path)) == path;
}

}  // namespace

RecentFileList WithRecentFile(const RecentFileList& list, const QString& path)
{
    if (path.isEmpty() || !keptAsWritten(path))
        return list;
    QStringList entries = entriesOf(list);
    entries.removeAll(path);
    entries.prepend(path);
    return listOf(entries);
}

RecentFileList WithoutRecentFile(const RecentFileList& list, const QString& path)
{
    QStringList entries = entriesOf(list);
    entries.removeAll(path);
    return listOf(entries);
}

}  // namespace korvel
