#pragma once
// Data files and exports on disk. Writing goes through QSaveFile, so a failed save leaves the
// file that was there untouched; loading reads the whole file before anything is decided, and
// only a regular file no larger than the program writes.

#include "files/DataFile.h"
#include "files/TextExport.h"

#include <QByteArray>
#include <QString>

namespace korvel {

// Replaces path with bytes atomically. Returns an empty string, "Не удалось создать файл %s:
// REASON" with the system's reason, or the refusal of a target that is not a regular file.
QString WriteFileAtomically(const QString& path, const QByteArray& bytes);

// Builds the data file and replaces path with it; a buffer short of what the header announces,
// or a Qt without the Windows-1251 codec, fails before the disk is touched. On success the output carries the state saving sets.
DataFileSaveResult SaveDataFile(const QString& path, const Recording& record,
                                const DataFileSaveInput& in);

struct TextExportSaveResult {
    std::optional<TextExportOutput> output;
    QString error;
};

// Builds the text export and replaces path with it.
TextExportSaveResult SaveTextExport(const QString& path, const Recording& record,
                                    const TextExportInput& in);

// Reads and parses a data file; "Cannot open file %s" when it cannot be read, and a refusal of
// a special file or of one larger than MaxDataFileBytes.
DataFileLoadResult LoadDataFile(const QString& path);

enum class SaveFormat { DataFile, TextExport, Csv, Npy, Wav };

// The exact extensions ".csv", ".npy" and ".wav" (letter case included) choose the open
// formats, for any record. Otherwise the accelerometer mode writes a data file, and only the
// exact extension ".txt" chooses the text export.
SaveFormat ChooseSaveFormat(const QString& fileName, bool AccelerometerMode);

// The extension of a path as the user sees it: from the last dot of the file name, dot included.
QString FileExtension(const QString& path);

}  // namespace korvel
