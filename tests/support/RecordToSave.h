#pragma once
// A record and what the window adds to it when it saves, in one value a test builds up: the two
// arguments of the data file's writer.

#include "files/DataFileIo.h"

#include <vector>

namespace korvel::testing {

struct RecordToSave {
    // No whole block unless the test names the blocks: a few words make a file of their own.
    Recording record{.BlockCount = 0};
    DataFileSaveInput in{};

    DataFileSaveResult build() const { return BuildDataFile(record, in); }
    DataFileSaveResult save(const QString& path) const { return SaveDataFile(path, record, in); }
};

// A real-time recording with its temperature (DataKind 129), one reading per signal word.
inline RecordToSave recordingWithTemperature(const std::vector<quint16>& signal,
                                             const std::vector<qint16>& temperature)
{
    RecordToSave s;
    s.record = {.ModeCommand = QByteArray(1, '\x15'), .SamplePeriod = 1000000.0, .RealTimeSignal = signal,
                .RealTimeTemperature = temperature, .RealTimeCount = static_cast<int>(signal.size())};
    s.in.termoHasPoints = true;
    s.in.ScaleK = 1.0;
    return s;
}

}  // namespace korvel::testing
