#include "files/DataFileIo.h"

#include "files/Cp1251.h"
#include "files/RegularFiles.h"
#include "text/NumberFormat.h"

#include <QFile>
#include <QFileInfo>

namespace korvel {

QString WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    switch (ReplaceRegularFile(path, bytes)) {
    case ReplaceOutcome::Replaced: return {};
    case ReplaceOutcome::NotRegular: return NotRegularWriteMessage(path);
    case ReplaceOutcome::Failed: break;
    }
    return Format(u"Cannot create file %s", {path});
}

DataFileSaveResult SaveDataFile(const QString& path, const DataFileSaveInput& in)
{
    if (!Cp1251Available())
        return {std::nullopt, Cp1251MissingMessage(path)};
    DataFileSaveResult built = BuildDataFile(in);
    if (!built.output)
        return built;
    const QString error = WriteFileAtomically(path, built.output->bytes);
    if (!error.isEmpty())
        return {std::nullopt, error};
    return built;
}

TextExportSaveResult SaveTextExport(const QString& path, const TextExportInput& in)
{
    if (!Cp1251Available())
        return {std::nullopt, Cp1251MissingMessage(path)};
    TextExportOutput out = BuildTextExport(in);
    const QString error = WriteFileAtomically(path, out.bytes);
    if (!error.isEmpty())
        return {std::nullopt, error};
    return {std::move(out), {}};
}

DataFileLoadResult LoadDataFile(const QString& path)
{
    QFile file;
    const RegularFileStatus opened = OpenRegularFile(file, path);
    if (opened == RegularFileStatus::NotRegular)
        return {std::nullopt, DataFileLoadError{DataFileLoadError::Kind::CannotOpen,
                                                NotRegularReadMessage(path)}};
    if (opened != RegularFileStatus::Ok)
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
    if (AccelerometerMode)
        return SaveFormat::DataFile;
    return FileExtension(fileName) == QLatin1String(".txt") ? SaveFormat::TextExport
                                                           : SaveFormat::DataFile;
}

}  // namespace korvel
