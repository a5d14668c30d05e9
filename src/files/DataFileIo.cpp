#include "files/DataFileIo.h"

#include "text/NumberFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace korvel {

QString WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Format(u"Cannot create file %s", {path});
    return {};
}

DataFileSaveResult SaveDataFile(const QString& path, const DataFileSaveInput& in)
{
    DataFileSaveResult built = BuildDataFile(in);
    if (!built.output)
        return built;
    const QString error = WriteFileAtomically(path, built.output->bytes);
    if (!error.isEmpty())
        return {std::nullopt, error};
    return built;
}

DataFileLoadResult LoadDataFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, DataFileLoadError{DataFileLoadError::Kind::CannotOpen,
                                                Format(u"Cannot open file %s", {path})}};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, DataFileLoadError{DataFileLoadError::Kind::CannotOpen,
                                                Format(u"Cannot open file %s", {path})}};
    return ParseDataFile(bytes, QFileInfo(path).fileName());
}

QString FileExtension(const QString& path)
{
    const qsizetype slash = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
    const qsizetype dot = path.lastIndexOf('.');
    return dot > slash ? path.mid(dot) : QString();
}

SaveFormat ChooseSaveFormat(const QString& fileName, bool AccelerometerMode)
{
    const QString extension = FileExtension(fileName);
    if (extension == QLatin1String(".csv"))
        return SaveFormat::Csv;
    if (extension == QLatin1String(".npy"))
        return SaveFormat::Npy;
    if (extension == QLatin1String(".wav"))
        return SaveFormat::Wav;
    if (AccelerometerMode)
        return SaveFormat::DataFile;
    return extension == QLatin1String(".txt") ? SaveFormat::TextExport : SaveFormat::DataFile;
}

}  // namespace korvel
