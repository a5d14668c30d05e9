#include "settings/SettingsLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace korvel {

bool FolderIsWritable(const QString& folder)
{
    // Asking for the folder's rights is not enough: root passes every check and a read-only
    // mount shows writable bits. Creating a file is the honest test.
    if (!QDir(folder).exists())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".korvel-probe-XXXXXX")));
    return probe.open();
}

QString ChooseSettingsPath(const QString& explicitPath, const QString& executableFolder,
                           const QString& configFolder)
{
    const QString name = QString::fromUtf16(SettingsFileName);
    if (!explicitPath.isEmpty())
        return explicitPath;
    if (FolderIsWritable(executableFolder))
        return QDir(executableFolder).filePath(name);
    QDir().mkpath(configFolder);
    return QDir(configFolder).filePath(name);
}

QString UserSettingsFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("korvel"));
}

QString SettingsPathForThisProgram(const QString& explicitPath)
{
    return ChooseSettingsPath(explicitPath, QCoreApplication::applicationDirPath(),
                              UserSettingsFolder());
}

}  // namespace korvel
