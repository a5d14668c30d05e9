#pragma once
// The program's own data file (*.dtw): a 17-byte header, the scaling or the accelerometer's fixed
// block, two zero-terminated axis names, the raw sample words and the comment. Reading and writing
// are pure functions over bytes; DataFileIo puts them on disk.

#include "record/Recording.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <optional>

namespace korvel {

inline constexpr int DataFileHeaderSize = 17;

// The largest data file the program writes, and so the largest it reads: the header, the
// accelerometer's fixed block (the longer one), two axis names as long as a line edit holds, the
// largest sample block of any mode and a comment of at most 1 MiB as stored.
inline constexpr qsizetype MaxAxisNameBytes = 32767;
inline constexpr qsizetype MaxSampleBlockBytes =
    std::max<qsizetype>(8 * BlockBytes, 65536 * 4);  // eight blocks; real time with temperature
inline constexpr qsizetype MaxCommentBytes = 1024 * 1024;
inline constexpr qsizetype MaxDataFileBytes = DataFileHeaderSize + 20
                                              + 2 * (MaxAxisNameBytes + 1) + MaxSampleBlockBytes
                                              + MaxCommentBytes;

inline constexpr quint8 VariantOrdinary = 1;
inline constexpr quint8 VariantAccelerometer = 2;

struct DataFileHeader {
    quint16 DataKind = DataKindSignal;
    quint8 Variant = VariantOrdinary;
    quint32 SampleBytes = 0;
    double SamplePeriod = 0.0;  // microseconds
};

// Everything a successful load hands to the window, which takes it over in one piece.
struct LoadedDataFile {
    // The header's kind and period with the sample words (accelerometer data already has its
    // channel flag back on the X words), the blocks they fill, and the mode command they are
    // read with: 12 00 00 for ordinary data, 1A 00 03 for accelerometer data.
    Recording record;
    quint8 Variant = VariantOrdinary;
    double ScaleK = 0.0;     // ordinary variant only
    qint32 ScaleShift = 0;   // ordinary variant only
    QString AxisXName;
    QString AxisYName;
    QString comment;          // line breaks as CR LF
};

struct DataFileLoadError {
    enum class Kind { ForeignFile, Damaged, CannotOpen };
    Kind kind;
    QString message;  // ForeignFile goes to an information box, the others to the error box
};

struct DataFileLoadResult {
    std::optional<LoadedDataFile> file;
    std::optional<DataFileLoadError> error;
};

// fileName names the file in the "damaged" message. A file larger than MaxDataFileBytes, or one
// announcing a sample block larger than any mode records, is refused.
DataFileLoadResult ParseDataFile(const QByteArray& bytes, const QString& fileName);

// What the window knows at the moment of saving besides the record, as plain values.
struct DataFileSaveInput {
    bool AccelerometerMode = false;
    bool termoHasPoints = false;    // the temperature trace SeriTermo holds points
    double ScaleK = 0.0;            // already recomputed from the controls by the caller
    qint32 ScaleShift = 0;
    QString AxisXName;              // the name in force (ordinary variant)
    QString eYTitle;
    QString comment;                // the comment box text; any line break is stored as CR LF
};

// What saving leaves behind in the window's state besides the file.
struct DataFileSaveOutput {
    QByteArray bytes;
    DataFileHeader header;
    QString AxisXName;
    QString AxisYName;
    QString statusText;  // "K=%0.6f, Смещение=%d" for status panel 2
};

struct DataFileSaveResult {
    std::optional<DataFileSaveOutput> output;
    // "Stream read error" when the buffer is short of what the header announces, or the refusal
    // of a file larger than MaxDataFileBytes (a comment too long to be read back).
    QString error;
};

DataFileSaveResult BuildDataFile(const Recording& record, const DataFileSaveInput& in);

QString DamagedFileMessage(const QString& fileName);
QString TooLargeFileMessage(const QString& fileName);
QString ForeignFileMessage();
QString StreamReadErrorMessage();

}  // namespace korvel
