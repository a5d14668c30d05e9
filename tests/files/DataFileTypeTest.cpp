// The desktop's file type of the data files: every kind of file the program writes is known by
// its content alone, and a foreign file is not claimed.
#include "files/DataFile.h"
#include "support/RecordToSave.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>

using namespace korvel;
using korvel::testing::RecordToSave;

namespace {

QByteArray written(const RecordToSave& file)
{
    const DataFileSaveResult r = file.build();
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

    RecordToSave block;
    block.record.BlockCount = 1;
    block.record.SampleBuffer = QByteArray(60000, '\x01');
    RecordToSave accel = block;
    accel.in.AccelerometerMode = true;
    const RecordToSave realTime =  // DataKind 129
        korvel::testing::recordingWithTemperature({100, 100, 100}, {80, 80, 80});

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
