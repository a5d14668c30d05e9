#include "files/DataFile.h"
#include "files/DataFileIo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

using namespace korvel;

namespace {

QByteArray words(const std::vector<quint16>& ws)
{
    QByteArray out;
    for (quint16 w : ws) {
        char b[2];
        qToLittleEndian(w, b);
        out.append(b, 2);
    }
    return out;
}

quint16 wordAt(const QByteArray& bytes, qsizetype index)
{
    return qFromLittleEndian<quint16>(bytes.constData() + 2 * index);
}

QByteArray patternBuffer(qsizetype bytes)
{
    QByteArray b(bytes, Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes; ++i)
        b[i] = char((i * 7 + i / 251) & 0xFF);
    return b;
}

double periodOf(long double ticks)
{
    return static_cast<double>(ticks / 14.7456L);
}

quint64 bitsOf(double v)
{
    quint64 raw;
    std::memcpy(&raw, &v, sizeof raw);
    return raw;
}

DataFileSaveInput blockInput(quint16 blocks)
{
    DataFileSaveInput in;
    in.BlockCount = blocks;
    in.SampleBuffer = patternBuffer(qsizetype(blocks) * BlockBytes);
    in.SamplePeriod = periodOf(14.0L);
    in.ScaleK = 1.22;
    in.ScaleShift = -2047;
    in.AxisXName = QStringLiteral("Время, мкс");
    in.comment = QStringLiteral("Первая строка\r\nвторая");
    return in;
}

// Puts the parsed file back into the inputs a later save would see.
DataFileSaveInput reloadedInput(const LoadedDataFile& f, bool termo)
{
    DataFileSaveInput in;
    in.termoHasPoints = termo;
    in.BlockCount = f.BlockCount;
    in.SampleBuffer = f.SampleBuffer;
    in.SamplePeriod = f.header.SamplePeriod;
    in.ScaleK = f.ScaleK;
    in.ScaleShift = f.ScaleShift;
    in.AxisXName = f.AxisXName;
    in.eYTitle = f.AxisYName;
    in.comment = f.comment;
    return in;
}

}  // namespace

TEST(DataFileHeader, OneMegahertzBlockStartsWithTheKnownBytes)
{
    const DataFileSaveResult r = BuildDataFile(blockInput(1));
    ASSERT_TRUE(r.output);
    const QByteArray expected = QByteArray::fromHex("01001001" "0160EA0000" "1CC7711CC761EE3F");
    EXPECT_EQ(r.output->bytes.left(DataFileHeaderSize).toHex(), expected.toHex());
}

TEST(DataFileHeader, SevenHundredKilohertzCarriesEightBlocksAndItsPeriod)
{
    DataFileSaveInput in = blockInput(8);
    in.SamplePeriod = periodOf(21.0L);
    const DataFileSaveResult r = BuildDataFile(in);
    ASSERT_TRUE(r.output);
    EXPECT_EQ(r.output->header.SampleBytes, 480000u);
    const char* p = r.output->bytes.constData();
    EXPECT_EQ(qFromLittleEndian<quint32>(p + 5), 480000u);
    EXPECT_EQ(qFromLittleEndian<quint64>(p + 9), 0x3FF6C95555555555ull);
}

TEST(DataFileRoundTrip, OrdinaryBlockDataIsByteForByte)
{
    DataFileSaveInput in = blockInput(2);
    in.eYTitle = QStringLiteral("Давление, кПа");
    const DataFileSaveResult first = BuildDataFile(in);
    ASSERT_TRUE(first.output);
    EXPECT_EQ(first.output->statusText, QStringLiteral("K=1,220000, Смещение=-2047"));

    const DataFileLoadResult loaded = ParseDataFile(first.output->bytes, "a.dtw");
    ASSERT_TRUE(loaded.file);
    const LoadedDataFile& f = *loaded.file;
    EXPECT_EQ(f.header.DataKind, 1);
    EXPECT_EQ(f.header.Variant, 1);
    EXPECT_EQ(f.BlockCount, 2);
    EXPECT_EQ(f.SampleBuffer, in.SampleBuffer);
    EXPECT_EQ(f.ScaleK, 1.22);
    EXPECT_EQ(f.ScaleShift, -2047);
    EXPECT_EQ(f.AxisXName, QStringLiteral("Время, мкс"));
    EXPECT_EQ(f.AxisYName, QStringLiteral("Давление, кПа"));
    EXPECT_EQ(f.comment, in.comment);
    EXPECT_EQ(f.ModeCommand, QByteArray("\x12\x00\x00", 3));
    EXPECT_EQ(bitsOf(f.header.SamplePeriod), 0x3FEE61C71C71C71Cull);

    const DataFileSaveResult second = BuildDataFile(reloadedInput(f, false));
    ASSERT_TRUE(second.output);
    EXPECT_EQ(second.output->bytes, first.output->bytes);
}

TEST(DataFileRoundTrip, EmptyTitleStoresTheDefaultNamesAndEmptyCommentEndsWithTheBlock)
{
    DataFileSaveInput in = blockInput(1);
    in.comment.clear();
    const DataFileSaveResult r = BuildDataFile(in);
    ASSERT_TRUE(r.output);
    EXPECT_EQ(r.output->AxisYName, QStringLiteral("Напряжение, мВ"));
    EXPECT_TRUE(r.output->bytes.endsWith(in.SampleBuffer));
    const DataFileLoadResult loaded = ParseDataFile(r.output->bytes, "a.dtw");
    ASSERT_TRUE(loaded.file);
    EXPECT_TRUE(loaded.file->comment.isEmpty());

    in.AccelerometerMode = true;
    const DataFileSaveResult accel = BuildDataFile(in);
    ASSERT_TRUE(accel.output);
    EXPECT_EQ(accel.output->AxisXName, QStringLiteral("Время, с"));
    EXPECT_EQ(accel.output->AxisYName, QStringLiteral("Ускорение, м/с/с"));
}

TEST(DataFileRealTime, ThousandPointsWithTemperatureReloadAndSaveAgainUnchanged)
{
    std::vector<quint16> signal(65536);
    std::vector<qint16> temperature(65536);
    for (int i = 0; i < 1000; ++i) {
        signal[i] = quint16((i * 37) & 0xEFFF);
        temperature[i] = qint16(-40 + i);
    }
    DataFileSaveInput in;
    in.realTimeData = true;
    in.termoHasPoints = true;
    in.RealTimeCount = 1000;
    in.RealTimeSignal = signal;
    in.RealTimeTemperature = temperature;
    in.BlockCount = 8;  // left over from an earlier measurement; real-time data ignores it
    in.SamplePeriod = 1000000.0;
    in.ScaleK = 0.5;
    in.AxisXName = QStringLiteral("Время, с");
    const DataFileSaveResult first = BuildDataFile(in);
    ASSERT_TRUE(first.output);
    EXPECT_EQ(first.output->header.DataKind, 129);
    EXPECT_EQ(first.output->header.SampleBytes, 4000u);

    const DataFileLoadResult loaded = ParseDataFile(first.output->bytes, "rt.dtw");
    ASSERT_TRUE(loaded.file);
    EXPECT_EQ(loaded.file->BlockCount, 0);
    ASSERT_EQ(loaded.file->SampleBuffer.size(), 4000);
    EXPECT_EQ(wordAt(loaded.file->SampleBuffer, 999), signal[999]);
    EXPECT_EQ(qint16(wordAt(loaded.file->SampleBuffer, 1000)), -40);

    // Saved again as loaded block data: the whole 4000 bytes, not BlockCount x 60000 = 0.
    const DataFileSaveResult second = BuildDataFile(reloadedInput(*loaded.file, true));
    ASSERT_TRUE(second.output);
    EXPECT_EQ(second.output->bytes, first.output->bytes);
}

TEST(DataFileRealTime, SignalOnlyAndSaveBeforeTheFirstPoint)
{
    std::vector<quint16> signal(65536, 0x2123);
    std::vector<qint16> temperature(65536, 80);
    DataFileSaveInput in;
    in.realTimeData = true;
    in.RealTimeSignal = signal;
    in.RealTimeTemperature = temperature;
    in.RealTimeCount = 10;
    DataFileSaveResult r = BuildDataFile(in);
    ASSERT_TRUE(r.output);
    EXPECT_EQ(r.output->header.DataKind, 1);
    EXPECT_EQ(r.output->header.SampleBytes, 20u);

    in.RealTimeCount = -1;
    in.termoHasPoints = true;
    r = BuildDataFile(in);
    ASSERT_TRUE(r.output);
    EXPECT_EQ(r.output->header.SampleBytes, 0u);
    const DataFileLoadResult loaded = ParseDataFile(r.output->bytes, "rt.dtw");
    ASSERT_TRUE(loaded.file);
    EXPECT_TRUE(loaded.file->SampleBuffer.isEmpty());
}

TEST(DataFileSave, BufferShortOfTheBlocksFailsBeforeWriting)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("old.dtw");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("previous contents");
    }
    DataFileSaveInput in = blockInput(8);
    in.SampleBuffer.truncate(60000);
    DataFileSaveResult r = SaveDataFile(path, in);
    EXPECT_FALSE(r.output);
    EXPECT_EQ(r.error, QStringLiteral("Stream read error"));

    in.AccelerometerMode = true;
    r = SaveDataFile(path, in);
    EXPECT_EQ(r.error, QStringLiteral("Stream read error"));

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("previous contents"));
}

TEST(DataFileSave, ReplacesAnExistingFileAndReportsAnUncreatableOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("m.dtw");
    QFile(path).open(QIODevice::WriteOnly);
    const DataFileSaveResult r = SaveDataFile(path, blockInput(1));
    ASSERT_TRUE(r.output) << r.error.toStdString();
    const DataFileLoadResult loaded = LoadDataFile(path);
    ASSERT_TRUE(loaded.file);
    EXPECT_EQ(loaded.file->BlockCount, 1);

    const QString missing = dir.filePath("no/such/folder/m.dtw");
    const DataFileSaveResult bad = SaveDataFile(missing, blockInput(1));
    EXPECT_FALSE(bad.output);
    EXPECT_EQ(bad.error, "Cannot create file " + missing);

    const DataFileLoadResult unreadable = LoadDataFile(missing);
    ASSERT_TRUE(unreadable.error);
    EXPECT_EQ(unreadable.error->kind, DataFileLoadError::Kind::CannotOpen);
    EXPECT_EQ(unreadable.error->message, "Cannot open file " + missing);
}

TEST(DataFileLoad, ForeignSignatureIsRefusedWithItsMessage)
{
    QByteArray bytes = BuildDataFile(blockInput(1)).output->bytes;
    bytes[0] = 2;
    const DataFileLoadResult r = ParseDataFile(bytes, "x.dtw");
    EXPECT_FALSE(r.file);
    ASSERT_TRUE(r.error);
    EXPECT_EQ(r.error->kind, DataFileLoadError::Kind::ForeignFile);
    EXPECT_EQ(r.error->message,
              QStringLiteral("Приложение открывает файлы *.dtw, записанные АЦП. Для просмотра "
                             "выбранного файла используйте универсальное приложение Vistrel.exe"));
}

TEST(DataFileLoad, EveryTruncationBeforeTheBlockEndIsDamagedAndNamesTheFile)
{
    DataFileSaveInput in = blockInput(0);
    in.SampleBuffer = words({1, 2, 3, 4});
    in.BlockCount = 0;  // four loaded words: not whole blocks
    const QByteArray full = BuildDataFile(in).output->bytes;
    const qsizetype commentStart = full.indexOf(QByteArray::fromHex("0100020003000400")) + 8;
    ASSERT_GT(commentStart, 0);
    for (qsizetype n = 0; n < full.size(); ++n) {
        const DataFileLoadResult r = ParseDataFile(full.left(n), "обрыв.dtw");
        if (n < commentStart) {
            ASSERT_FALSE(r.file) << n;
            ASSERT_TRUE(r.error) << n;
            EXPECT_EQ(r.error->message, QStringLiteral("Файл обрыв.dtw повреждён или неполон"));
        } else {
            ASSERT_TRUE(r.file) << n;
        }
    }
}

TEST(DataFileLoad, AnnouncedLengthBeyondTheFileIsRefused)
{
    QByteArray bytes = BuildDataFile(blockInput(1)).output->bytes;
    qToLittleEndian<quint32>(0xFFFFFFFFu, bytes.data() + 5);
    const DataFileLoadResult r = ParseDataFile(bytes, "big.dtw");
    EXPECT_FALSE(r.file);
    ASSERT_TRUE(r.error);
    EXPECT_EQ(r.error->kind, DataFileLoadError::Kind::Damaged);
}

TEST(DataFileLoad, CommentLineBreaksAreMadeCrLfAndAZeroByteEndsIt)
{
    DataFileSaveInput in = blockInput(1);
    in.comment = QStringLiteral("один\nдва\rтри\r\n");
    QByteArray bytes = BuildDataFile(in).output->bytes;
    EXPECT_TRUE(bytes.endsWith("\r\n\xE4\xE2\xE0\r\n\xF2\xF0\xE8\r\n"));

    bytes.chop(12);
    bytes.append("a\rb\nc\r\nd");
    bytes.append('\0');
    bytes.append("hidden");
    const DataFileLoadResult r = ParseDataFile(bytes, "c.dtw");
    ASSERT_TRUE(r.file);
    EXPECT_EQ(r.file->comment, QStringLiteral("одинa\r\nb\r\nc\r\nd"));
}

TEST(DataFileLoad, AnyVariantOtherThanOneReadsAsAccelerometerData)
{
    QByteArray bytes = QByteArray::fromHex("010010010708000000");
    bytes.append(QByteArray(8, '\0'));  // period
    bytes.append(QByteArray(20, '\x11'));
    bytes.append("X\0Y\0", 4);
    bytes.append(words({0x0123, 0x0456, 0x0789, 0x0ABC}));
    bytes.append("note");
    const DataFileLoadResult r = ParseDataFile(bytes, "v7.dtw");
    ASSERT_TRUE(r.file);
    const LoadedDataFile& f = *r.file;
    EXPECT_EQ(f.header.Variant, 7);
    EXPECT_EQ(f.AxisXName, "X");
    EXPECT_EQ(f.AxisYName, "Y");
    EXPECT_EQ(f.comment, "note");
    EXPECT_EQ(f.ModeCommand, QByteArray("\x1A\x00\x03", 3));
    EXPECT_EQ(wordAt(f.SampleBuffer, 0), 0x8123);
    EXPECT_EQ(wordAt(f.SampleBuffer, 1), 0x8456);
    EXPECT_EQ(wordAt(f.SampleBuffer, 2), 0x0789);
    EXPECT_EQ(wordAt(f.SampleBuffer, 3), 0x0ABC);
}

TEST(DataFileAccelerometer, TwoChannelsSurviveSaveAndLoadAndSaveAgainIsEqual)
{
    // As received: X and Y alternate, X marked by bit 15 with stray upper bits.
    std::vector<quint16> live;
    for (int i = 0; i < 30000; ++i)
        live.push_back(i % 2 == 0 ? quint16(0xF000 | (i & 0x0FFF)) : quint16((i * 3) & 0x0FFF));
    DataFileSaveInput in;
    in.AccelerometerMode = true;
    in.BlockCount = 1;
    in.SampleBuffer = words(live);
    in.SamplePeriod = 700.0;
    in.comment = QStringLiteral("ось");
    const DataFileSaveResult first = BuildDataFile(in);
    ASSERT_TRUE(first.output);
    const QByteArray& bytes = first.output->bytes;
    EXPECT_EQ(bytes[4], 2);
    const char* p = bytes.constData();
    double a, b;
    std::memcpy(&a, p + 17, 8);
    std::memcpy(&b, p + 25, 8);
    EXPECT_EQ(a, 50.5);
    EXPECT_EQ(b, 51.3);
    EXPECT_EQ(qFromLittleEndian<qint16>(p + 33), 2052);
    EXPECT_EQ(qFromLittleEndian<qint16>(p + 35), 2043);

    const DataFileLoadResult loaded = ParseDataFile(bytes, "acc.dtw");
    ASSERT_TRUE(loaded.file);
    const QByteArray& buf = loaded.file->SampleBuffer;
    for (int i = 0; i < 15000; ++i) {
        ASSERT_EQ(wordAt(buf, i), quint16(0x8000 | (live[2 * i] & 0x0FFF))) << i;
        ASSERT_EQ(wordAt(buf, 15000 + i), live[2 * i + 1]) << i;
    }

    DataFileSaveInput again = in;
    again.SampleBuffer = buf;
    again.comment = loaded.file->comment;
    const DataFileSaveResult second = BuildDataFile(again);
    ASSERT_TRUE(second.output);
    EXPECT_EQ(second.output->bytes, bytes);
}

TEST(SaveFormatChoice, OnlyLowerCaseTxtOutsideAccelerometerModeExports)
{
    EXPECT_EQ(ChooseSaveFormat("/d/a.txt", false), SaveFormat::TextExport);
    EXPECT_EQ(ChooseSaveFormat("/d/a.TXT", false), SaveFormat::DataFile);
    EXPECT_EQ(ChooseSaveFormat("/d/a.Txt", false), SaveFormat::DataFile);
    EXPECT_EQ(ChooseSaveFormat("/d/a.txt", true), SaveFormat::DataFile);
    EXPECT_EQ(ChooseSaveFormat("/d.txt/a", false), SaveFormat::DataFile);
    EXPECT_EQ(ChooseSaveFormat("/d/a.dtw", false), SaveFormat::DataFile);
    EXPECT_EQ(FileExtension("/d/a.b.dtw"), ".dtw");
    EXPECT_EQ(FileExtension("zu"), "");
}
