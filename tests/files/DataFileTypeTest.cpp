// The desktop's file type of the data files: every kind of file the program writes is known by
// its content alone, and a foreign file is not claimed.
#include "files/DataFile.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>
#include <vector>

using namespace korvel;

namespace {

QByteArray written(DataFileSaveInput in)
{
    const DataFileSaveResult r = BuildDataFile(in);
    return r.output ? r.output->bytes : QByteArray();
}

}  // namespace

TEST(DataFileType, EveryFileTheProgramWritesIsKnownByItsContent)
{
    // The type as the package installs it, in a data folder of its own.
    QTemporaryDir share;
    ASSERT_TRUE(QDir(share.path()).mkpath(QStringLiteral("mime/packages")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KORVEL_MIME_XML),
                            share.filePath(QStringLiteral("mime/packages/korvel.xml"))));
    qputenv("XDG_DATA_DIRS", share.path().toLocal8Bit());

    DataFileSaveInput block;
    block.BlockCount = 1;
    block.SampleBuffer = QByteArray(60000, '\x01');
    DataFileSaveInput accel = block;
    accel.AccelerometerMode = true;
    const std::vector<quint16> signal(3, 100);
    const std::vector<qint16> temperature(3, 80);
    DataFileSaveInput realTime;
    realTime.realTimeData = true;
    realTime.termoHasPoints = true;  // DataKind 129
    realTime.RealTimeCount = 3;
    realTime.RealTimeSignal = signal;
    realTime.RealTimeTemperature = temperature;

    const QMimeDatabase db;
    for (const QByteArray& file : {written(block), written(accel), written(realTime)}) {
        ASSERT_GT(file.size(), 17);
        EXPECT_EQ(db.mimeTypeForData(file).name(), QStringLiteral("application/x-korvel-dtw"))
            << file.left(5).toHex().toStdString();
    }
    QByteArray foreign = written(block);
    foreign[0] = 2;  // the kind the open button refuses
    EXPECT_NE(db.mimeTypeForData(foreign).name(), QStringLiteral("application/x-korvel-dtw"));
}
