#include "files/DataFile.h"
#include "files/DataFileIo.h"
#include "support/RecordToSave.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <vector>

using namespace korvel;
using korvel::testing::RecordToSave;

namespace {

QByteArray words(const std::vector<quint16>& ws)
{
    QByteArray out(qsizetype(ws.size()) * 2, Qt::Uninitialized);
    for (size_t i = 0; i < ws.size(); ++i)
        qToLittleEndian(ws[i], out.data() + 2 * i);
    return out;
}

quint16 wordAt(const QByteArray& bytes, qsizetype i)
{
    return qFromLittleEndian<quint16>(bytes.constData() + 2 * i);
}

RecordToSave blockInput(quint16 blocks)
{
    RecordToSave s;
    s.record.BlockCount = blocks;
    s.record.SampleBuffer = QByteArray(qsizetype(blocks) * BlockBytes, Qt::Uninitialized);
    for (qsizetype i = 0; i < s.record.SampleBuffer.size(); ++i)
        s.record.SampleBuffer[i] = char(i * 7 + i / 251);
    s.record.SamplePeriod = double(14.0L / 14.7456L);
    s.in.ScaleK = 1.22;
    s.in.ScaleShift = -2047;
    s.in.AxisXName = QStringLiteral("Время, мкс");
    s.in.comment = QStringLiteral("Первая строка\r\nвторая");
    return s;
}

// What a later save sees once the window has taken over a loaded file.
RecordToSave reloaded(const LoadedDataFile& f, bool termo)
{
    RecordToSave s;
    s.record = f.record;
    s.in.termoHasPoints = termo;
    s.in.ScaleK = f.ScaleK;
    s.in.ScaleShift = f.ScaleShift;
    s.in.AxisXName = f.AxisXName;
    s.in.eYTitle = f.AxisYName;
    s.in.comment = f.comment;
    return s;
}

}  // namespace

TEST(DataFileHeader, BlockMeasurementsCarryTheirPeriodBytes)
{
    const DataFileSaveResult one = blockInput(1).build();
    ASSERT_TRUE(one.output);
    EXPECT_EQ(one.output->bytes.left(DataFileHeaderSize).toHex(),
              "0100100101" "60ea0000" "1cc7711cc761ee3f");

    RecordToSave file = blockInput(8);
    file.record.SamplePeriod = double(21.0L / 14.7456L);
    const QByteArray eight = file.build().output->bytes;
    EXPECT_EQ(qFromLittleEndian<quint32>(eight.constData() + 5), 480000u);
    EXPECT_EQ(qFromLittleEndian<quint64>(eight.constData() + 9), 0x3FF6C95555555555ull);
}

TEST(DataFileRoundTrip, OrdinaryBlockDataIsByteForByte)
{
    RecordToSave file = blockInput(2);
    file.in.eYTitle = QStringLiteral("Давление, кПа");
    const DataFileSaveResult first = file.build();
    ASSERT_TRUE(first.output);
    EXPECT_EQ(first.output->statusText, QStringLiteral("K=1,220000, Смещение=-2047"));

    const DataFileLoadResult loaded = ParseDataFile(first.output->bytes, "a.dtw");
    ASSERT_TRUE(loaded.file);
    const LoadedDataFile& f = *loaded.file;
    EXPECT_EQ(f.record.BlockCount, 2);
    EXPECT_EQ(f.record.SampleBuffer, file.record.SampleBuffer);
    EXPECT_EQ(f.ScaleK, 1.22);
    EXPECT_EQ(f.ScaleShift, -2047);
    EXPECT_EQ(f.AxisXName, QStringLiteral("Время, мкс"));
    EXPECT_EQ(f.AxisYName, QStringLiteral("Давление, кПа"));
    EXPECT_EQ(f.comment, file.in.comment);
    EXPECT_EQ(f.record.ModeCommand, QByteArray("\x12\x00\x00", 3));
    EXPECT_EQ(reloaded(f, false).build().output->bytes, first.output->bytes);

    // No title: the default names; no comment: the file ends with the block.
    file.in.eYTitle.clear();
    file.in.comment.clear();
    const DataFileSaveResult bare = file.build();
    EXPECT_EQ(bare.output->AxisYName, QStringLiteral("Напряжение, мВ"));
    EXPECT_TRUE(bare.output->bytes.endsWith(file.record.SampleBuffer));
    EXPECT_TRUE(ParseDataFile(bare.output->bytes, "a.dtw").file->comment.isEmpty());
}

TEST(DataFileRealTime, ThousandPointsWithTemperatureReloadAndSaveAgainUnchanged)
{
    std::vector<quint16> signal(65536);
    std::vector<qint16> temperature(65536);
    for (int i = 0; i < 1000; ++i) {
        signal[i] = quint16((i * 37) & 0xEFFF);
        temperature[i] = qint16(-40 + i);
    }
    // BlockCount 8 is left from an earlier measurement; real-time data ignores it.
    RecordToSave file{.record = {.ModeCommand = QByteArray(1, '\x15'), .BlockCount = 8,
                                 .RealTimeSignal = signal, .RealTimeTemperature = temperature,
                                 .RealTimeCount = 1000}};
    file.in.termoHasPoints = true;
    const DataFileSaveResult first = file.build();
    ASSERT_TRUE(first.output);
    EXPECT_EQ(first.output->header.DataKind, 129);
    EXPECT_EQ(first.output->header.SampleBytes, 4000u);

    const DataFileLoadResult loaded = ParseDataFile(first.output->bytes, "rt.dtw");
    ASSERT_TRUE(loaded.file);
    EXPECT_EQ(loaded.file->record.BlockCount, 0);
    ASSERT_EQ(loaded.file->record.SampleBuffer.size(), 4000);
    EXPECT_EQ(qint16(wordAt(loaded.file->record.SampleBuffer, 1000)), -40);
    // Saved again as loaded data: the whole 4000 bytes, not BlockCount x 60000 = 0.
    EXPECT_EQ(reloaded(*loaded.file, true).build().output->bytes, first.output->bytes);

    // Before the first point: an empty block.
    file.record.RealTimeCount = 0;
    file.record.realTimeState = Recording::RealTimeState::AwaitingFirstReply;
    EXPECT_EQ(file.build().output->header.SampleBytes, 0u);
    file.record.RealTimeCount = 10;
    file.in.termoHasPoints = false;
    EXPECT_EQ(file.build().output->header.SampleBytes, 20u);
    EXPECT_EQ(file.build().output->header.DataKind, 1);
}

TEST(DataFileSave, ShortBufferFailsBeforeTheOldFileIsTouched)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("old.dtw");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("previous contents");
    }
    RecordToSave file = blockInput(8);
    file.record.SampleBuffer.truncate(60000);
    EXPECT_EQ(file.save(path).error, QStringLiteral("Stream read error"));
    file.in.AccelerometerMode = true;
    EXPECT_EQ(file.save(path).error, QStringLiteral("Stream read error"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("previous contents"));

    ASSERT_TRUE(blockInput(1).save(path).output);
    EXPECT_EQ(LoadDataFile(path).file->record.BlockCount, 1);

    const QString missing = dir.filePath("no/such/m.dtw");
    // Said in the program's language, with the system's reason.
    EXPECT_EQ(blockInput(1).save(missing).error,
              QStringLiteral("Не удалось создать файл %1: No such file or directory").arg(missing));
    const DataFileLoadResult unreadable = LoadDataFile(missing);
    EXPECT_EQ(unreadable.error->kind, DataFileLoadError::Kind::CannotOpen);
    EXPECT_EQ(unreadable.error->message, "Cannot open file " + missing);
}

TEST(DataFileLoad, ForeignSignatureIsRefusedWithItsMessage)
{
    QByteArray bytes = blockInput(1).build().output->bytes;
    bytes[0] = 2;
    const DataFileLoadResult r = ParseDataFile(bytes, "x.dtw");
    EXPECT_FALSE(r.file);
    EXPECT_EQ(r.error->kind, DataFileLoadError::Kind::ForeignFile);
    EXPECT_EQ(r.error->message,
              QStringLiteral("Приложение открывает файлы *.dtw, записанные АЦП. Для просмотра "
                             "выбранного файла используйте универсальное приложение Vistrel.exe"));
}

TEST(DataFileLoad, TruncationsAndOversizedBlocksAreDamaged)
{
    RecordToSave file = blockInput(0);
    file.record.SampleBuffer = words({1, 2, 3, 4});
    const QByteArray full = file.build().output->bytes;
    const qsizetype blockEnd = full.indexOf(words({1, 2, 3, 4})) + 8;
    for (qsizetype n = 0; n < full.size(); ++n) {
        const DataFileLoadResult r = ParseDataFile(full.left(n), "обрыв.dtw");
        ASSERT_EQ(bool(r.file), n >= blockEnd) << n;
        if (!r.file) {
            ASSERT_EQ(r.error->message, QStringLiteral("Файл обрыв.dtw повреждён или неполон"));
        }
    }
    QByteArray huge = full;
    qToLittleEndian<quint32>(0xFFFFFFFFu, huge.data() + 5);
    EXPECT_EQ(ParseDataFile(huge, "big.dtw").error->kind, DataFileLoadError::Kind::Damaged);
}

TEST(DataFileLoad, NothingLargerThanTheProgramWritesIsReadOrWritten)
{
    // Header, ordinary scaling, the two names with their zero bytes, eight blocks, comment.
    const qsizetype fixedPart = 17 + 12 + 11 + 15 + 480000;
    ASSERT_EQ(MaxDataFileBytes, 1594149);
    QTemporaryDir dir;
    const QString path = dir.filePath("big.dtw");
    RecordToSave file = blockInput(8);
    file.in.comment = QString(MaxDataFileBytes - fixedPart, QChar(u'ж'));
    ASSERT_TRUE(file.save(path).output);
    ASSERT_EQ(QFileInfo(path).size(), MaxDataFileBytes);
    EXPECT_EQ(LoadDataFile(path).file->record.BlockCount, 8);

    file.in.comment += QChar(u'ж');
    EXPECT_EQ(file.save(path).error,
              QStringLiteral("Файл не записан: файл данных не может быть больше 1594149 байт, "
                             "сократите комментарий"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("!");
    }
    const DataFileLoadResult over = LoadDataFile(path);
    ASSERT_TRUE(over.error);
    EXPECT_EQ(over.error->message,
              QStringLiteral("Файл big.dtw не открыт: файл данных не бывает больше 1594149 байт"));
    // 4 GB that are never read (their BlockCount once came out as 6046).
    {
        QFile f(path);
        ASSERT_TRUE(f.resize(qint64(1) << 32));
    }
    EXPECT_EQ(LoadDataFile(path).error->message, over.error->message);

    // A header announcing more samples than eight blocks, all of them present.
    file = blockInput(8);
    file.record.SampleBuffer += QByteArray(2, '\0');
    EXPECT_EQ(ParseDataFile(file.build().output->bytes, "big.dtw").error->message,
              QStringLiteral("Файл big.dtw повреждён или неполон"));
}

TEST(DataFileComment, LineBreaksBecomeCrLfAndAZeroByteEndsIt)
{
    RecordToSave file = blockInput(1);
    file.in.comment = QStringLiteral("один\nдва\rтри\r\n");
    QByteArray bytes = file.build().output->bytes;
    EXPECT_TRUE(bytes.endsWith("\r\n\xE4\xE2\xE0\r\n\xF2\xF0\xE8\r\n"));

    bytes.chop(12);
    bytes.append("a\rb\nc\r\nd\0hidden", 15);
    EXPECT_EQ(ParseDataFile(bytes, "c.dtw").file->comment, QStringLiteral("одинa\r\nb\r\nc\r\nd"));
}

TEST(DataFileAccelerometer, AnyVariantOtherThanOneReadsTheAccelerometerLayout)
{
    QByteArray bytes = QByteArray::fromHex("010010010708000000");
    bytes.append(QByteArray(8 + 20, '\x11'));  // period, fixed block
    bytes.append("X\0Y\0", 4);
    bytes.append(words({0x0123, 0x0456, 0x0789, 0x0ABC}));
    bytes.append("note");
    const DataFileLoadResult r = ParseDataFile(bytes, "v7.dtw");
    ASSERT_TRUE(r.file);
    EXPECT_EQ(r.file->AxisYName, "Y");
    EXPECT_EQ(r.file->comment, "note");
    EXPECT_EQ(r.file->record.ModeCommand, QByteArray("\x1A\x00\x03", 3));
    EXPECT_EQ(r.file->record.SampleBuffer, words({0x8123, 0x8456, 0x0789, 0x0ABC}));
}

TEST(DataFileAccelerometer, TwoChannelsSurviveSaveAndLoadAndSaveAgainIsEqual)
{
    // As received: X and Y alternate, X marked by bit 15 with stray upper bits.
    std::vector<quint16> live;
    for (int i = 0; i < 30000; ++i)
        live.push_back(i % 2 == 0 ? quint16(0xF000 | (i & 0x0FFF)) : quint16((i * 3) & 0x0FFF));
    RecordToSave file{.record = {.SampleBuffer = words(live), .BlockCount = 1}};
    file.in.AccelerometerMode = true;
    file.in.comment = QStringLiteral("ось");
    const DataFileSaveResult first = file.build();
    ASSERT_TRUE(first.output);
    EXPECT_EQ(first.output->AxisXName, QStringLiteral("Время, с"));
    EXPECT_EQ(first.output->AxisYName, QStringLiteral("Ускорение, м/с/с"));
    EXPECT_EQ(first.output->bytes.mid(17, 20).toHex(),
              "0000000000404940" "6666666666a64940" "0408" "fb07");

    const DataFileLoadResult loaded = ParseDataFile(first.output->bytes, "acc.dtw");
    ASSERT_TRUE(loaded.file);
    const QByteArray& buf = loaded.file->record.SampleBuffer;
    for (int i = 0; i < 15000; ++i) {
        ASSERT_EQ(wordAt(buf, i), quint16(0x8000 | (live[2 * i] & 0x0FFF))) << i;
        ASSERT_EQ(wordAt(buf, 15000 + i), live[2 * i + 1]) << i;
    }
    file.record.SampleBuffer = buf;
    file.in.comment = loaded.file->comment;
    EXPECT_EQ(file.build().output->bytes, first.output->bytes);
}

TEST(SaveFormatChoice, OnlyLowerCaseTxtOutsideAccelerometerModeExports)
{
    EXPECT_EQ(ChooseSaveFormat("/d/a.txt", false), SaveFormat::TextExport);
    EXPECT_EQ(ChooseSaveFormat("/d/a.TXT", false), SaveFormat::DataFile);
    EXPECT_EQ(ChooseSaveFormat("/d/a.txt", true), SaveFormat::DataFile);
    EXPECT_EQ(ChooseSaveFormat("/d.txt/a", false), SaveFormat::DataFile);
    // The open formats take accelerometer records too.
    EXPECT_EQ(ChooseSaveFormat("/d/a.csv", true), SaveFormat::Csv);
    EXPECT_EQ(ChooseSaveFormat("/d/a.npy", false), SaveFormat::Npy);
    EXPECT_EQ(ChooseSaveFormat("/d/a.wav", true), SaveFormat::Wav);
    EXPECT_EQ(ChooseSaveFormat("/d/a.WAV", false), SaveFormat::DataFile);
}
