#include "cli/OutputFile.h"

#include "cli/Printed.h"
#include "files/DataFileIo.h"
#include "settings/SettingsLocation.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace korvel::cli {

bool SameFile(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

OutputCheck CheckOutputPath(const QString& path, const QStringList& inputs)
{
    for (const QString& input : inputs)
        if (SameFile(path, input))
            return {ExitUsage, QStringLiteral("%1 — это входной файл %2; он был бы перезаписан")
                                   .arg(path, input)};
    const QFileInfo f(path);
    // A link that leads nowhere would be written through to wherever it points, a place
    // nobody looked at.
    if (f.isSymLink() && !f.exists())
        return {ExitUsage, QStringLiteral("%1 — ссылка на несуществующий файл %2").arg(path, f.symLinkTarget())};
    if (f.exists() && !f.isFile())
        return {ExitUsage, QStringLiteral("%1 — не обычный файл (папка или устройство)").arg(path)};
    // The file is replaced beside whatever a link points to.
    const QString folder = QFileInfo(f.exists() ? f.canonicalFilePath() : f.absoluteFilePath()).absolutePath();
    if (!QFileInfo(folder).isDir())
        return {ExitFailure, QStringLiteral("Нет папки %1 для файла %2").arg(folder, path)};
    if (!FolderIsWritable(folder))
        return {ExitFailure, QStringLiteral("Нельзя записать файл %1: папка %2 закрыта для записи")
                                 .arg(path, folder)};
    return {};
}

namespace {

QString RecoveryName(const QString& path)
{
    const QString base = QFileInfo(path).completeBaseName();
    return (base.isEmpty() ? QStringLiteral("korvel") : base) + QStringLiteral(".recovered-")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".dtw");
}

// A name in folder that does not exist yet.
QString FreeName(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    QString candidate = dir.filePath(name);
    for (int i = 2; QFileInfo::exists(candidate); ++i)
        candidate = dir.filePath(QFileInfo(name).completeBaseName() + QStringLiteral("-%1.dtw").arg(i));
    return candidate;
}

}  // namespace

int SaveOrRecover(const QString& path, const Recording& record, const SaveChoices& choices,
                  const SettingsValues& settings)
{
    const QString error = SaveAsSaveButton(path, record, choices, settings);
    if (error.isEmpty())
        return ExitOk;
    PrintedMessages::print(error);
    // A data file keeps every sample word; a text export can be made from it later.
    const QString name = RecoveryName(path);
    const QString dataFolder =
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
            .filePath(QStringLiteral("korvel/recovered"));
    QDir().mkpath(dataFolder);
    for (const QString& folder : {QFileInfo(path).absolutePath(), dataFolder}) {
        const QString recovery = FreeName(folder, name);
        if (SaveAsSaveButton(recovery, record, choices, settings).isEmpty())
            return Failure(QStringLiteral("Данные сохранены в %1").arg(recovery));
    }
    return Failure(QStringLiteral("Данные не удалось сохранить ни рядом с %1, ни в %2")
                       .arg(path, dataFolder));
}

QString WriteOutput(const QString& path, const QByteArray& bytes)
{
    if (path == QLatin1String("-")) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush())
            return QStringLiteral("Не удалось вывести текст в стандартный вывод");
        return {};
    }
    return WriteFileAtomically(path, bytes);
}

}  // namespace korvel::cli
