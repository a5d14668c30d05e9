#include "files/DataFileIo.h"

#include "text/Cp1251.h"
#include "text/NumberFormat.h"
#include "text/RegularFiles.h"

#include <QFileInfo>

namespace korvel {

QString WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    QString reason;
    switch (ReplaceRegularFile(path, bytes, &reason)) {
    case ReplaceOutcome::Replaced: return {};
    case ReplaceOutcome::NotRegular: return NotRegularWriteMessage(path);
    case ReplaceOutcome::Failed: break;
    }
    return Format(u"Не удалось создать файл %s: %s", {path, reason});
}

DataFileSaveResult SaveDataFile(const QString& path, const Recording& record,
                                const DataFileSaveInput& in)
{
    if (!Cp1251Available())
        return {std::nullopt, Cp1251MissingMessage(path)};
    DataFileSaveResult built = BuildDataFile(record, in);
    if (!built.output)
        return built;
    const QString error = WriteFileAtomically(path, built.output->bytes);
    if (!error.isEmpty())
        return {std::nullopt, error};
    return built;
}

TextExportSaveResult SaveTextExport(const QString& path, const Recording& record,
                                    const TextExportInput& in)
{
    if (!Cp1251Available())
        return {std::nullopt, Cp1251MissingMessage(path)};
    TextExportOutput out = BuildTextExport(record, in);
    const QString error = WriteFileAtomically(path, out.bytes);
    if (!error.isEmpty())
        return {std::nullopt, error};
    return {std::move(out), {}};
}

DataFileLoadResult LoadDataFile(const QString& path)
{
    const RegularFileBytes file = ReadRegularFile(path, MaxDataFileBytes);
    switch (file.status) {
    case RegularFileStatus::Ok: return ParseDataFile(file.bytes, QFileInfo(path).fileName());
    case RegularFileStatus::NotRegular:
        return {std::nullopt, DataFileLoadError{DataFileLoadError::Kind::CannotOpen,
                                                NotRegularReadMessage(path)}};
    case RegularFileStatus::TooLarge:
        return {std::nullopt, DataFileLoadError{DataFileLoadError::Kind::Damaged,
                                                TooLargeFileMessage(QFileInfo(path).fileName())}};
    case RegularFileStatus::Missing:
    case RegularFileStatus::Unreadable: break;
    }
    return {std::nullopt, DataFileLoadError{DataFileLoadError::Kind::CannotOpen,
                                            Format(u"Cannot open file %s", {path})}};
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
