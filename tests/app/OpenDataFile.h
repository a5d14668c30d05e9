#pragma once
// A data file put in front of the window the way a user opens one: written by the program's own
// writer, then picked in the open dialog of btLoadFile.

#include "app/FileDialogs.h"
#include "app/MainWindow.h"
#include "files/DataFile.h"
#include "ui_MainWindow.h"

#include <QFile>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace korvel::testing {

// The file goes to path; the window's file dialogs are replaced by one that answers with it.
inline void openDataFile(MainWindow& window, const QString& path,
                         const DataFileSaveInput& in = {})
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(BuildDataFile(in).output->bytes);
    f.close();
    auto dialogs = std::make_shared<ScriptedFileDialogs>();
    dialogs->answers << path;
    window.setFileDialogs(dialogs);
    window.form()->btLoadFile->click();
}

// A real-time recording with its temperature (DataKind 129), one reading per signal word. The
// input refers to the two lists, which must outlive it.
inline DataFileSaveInput recordingWithTemperature(const std::vector<quint16>& signal,
                                                  const std::vector<qint16>& temperature)
{
    DataFileSaveInput in;
    in.realTimeData = true;
    in.termoHasPoints = true;
    in.RealTimeCount = static_cast<int>(signal.size());
    in.RealTimeSignal = signal;
    in.RealTimeTemperature = temperature;
    in.SamplePeriod = 1000000.0;
    in.ScaleK = 1.0;
    return in;
}

}  // namespace korvel::testing
