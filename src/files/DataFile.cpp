#include "files/DataFile.h"

#include "text/Cp1251.h"
#include "text/NumberFormat.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace korvel {

namespace {

void putU16(QByteArray& out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void putU32(QByteArray& out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void putDouble(QByteArray& out, double v)
{
    quint64 raw;
    std::memcpy(&raw, &v, sizeof raw);
    char b[8];
    qToLittleEndian(raw, b);
    out.append(b, 8);
}

double getDouble(const char* p)
{
    const quint64 raw = qFromLittleEndian<quint64>(p);
    double v;
    std::memcpy(&v, &raw, sizeof v);
    return v;
}

void putName(QByteArray& out, const QString& name)
{
    out.append(ToCp1251(name));
    out.append('\0');
}

void putHeader(QByteArray& out, const DataFileHeader& h)
{
    putU16(out, h.DataKind);
    out.append(char(16));
    out.append(char(1));
    out.append(char(h.Variant));
    putU32(out, h.SampleBytes);
    putDouble(out, h.SamplePeriod);
}

QByteArray encodedComment(const QString& comment)
{
    return NormaliseLineBreaks(ToCp1251(comment));
}

QString statusText(double ScaleK, qint32 ScaleShift)
{
    return Format(u"K=%0.6f, Смещение=%d", {ScaleK, ScaleShift});
}

DataFileLoadResult damaged(const QString& fileName)
{
    return {std::nullopt, DataFileLoadError{DataFileLoadError::Kind::Damaged,
                                            DamagedFileMessage(fileName)}};
}

// A zero-terminated name at pos; false when no zero byte comes before the end of the file.
bool readName(const QByteArray& bytes, qsizetype& pos, QString& name)
{
    const qsizetype zero = bytes.indexOf('\0', pos);
    if (zero < 0)
        return false;
    name = FromCp1251(bytes.mid(pos, zero - pos));
    pos = zero + 1;
    return true;
}

DataFileSaveResult buildAccelerometer(const Recording& r, const DataFileSaveInput& in)
{
    const qsizetype blockBytes = qsizetype(r.BlockCount) * BlockBytes;
    if (r.SampleBuffer.size() < blockBytes)
        return {std::nullopt, StreamReadErrorMessage()};

    DataFileSaveOutput o;
    o.header = {DataKindSignal, VariantAccelerometer, quint32(blockBytes), r.SamplePeriod};
    o.AxisXName = SecondsAxisName();
    o.AxisYName = in.eYTitle.isEmpty() ? AccelerationAxisName() : in.eYTitle;
    o.statusText = statusText(in.ScaleK, in.ScaleShift);

    QByteArray& out = o.bytes;
    out.reserve(DataFileHeaderSize + 20 + 64 + blockBytes + in.comment.size() * 2);
    putHeader(out, o.header);
    putDouble(out, 50.5);
    putDouble(out, 51.3);
    putU16(out, 2052);
    putU16(out, 2043);
    putName(out, o.AxisXName);
    putName(out, o.AxisYName);

    // Channel X first with only its 12-bit reading, then channel Y as received.
    const qsizetype words = blockBytes / 2;
    for (qsizetype i = 0; i < words; ++i) {
        const quint16 w = SampleWordAt(r.SampleBuffer, i);
        if (IsAccelX(w))
            putU16(out, quint16(Reading(w)));
    }
    for (qsizetype i = 0; i < words; ++i) {
        const quint16 w = SampleWordAt(r.SampleBuffer, i);
        if (!IsAccelX(w))
            putU16(out, w);
    }
    out.append(encodedComment(in.comment));
    return {std::move(o), {}};
}

DataFileSaveResult buildOrdinary(const Recording& r, const DataFileSaveInput& in)
{
    DataFileSaveOutput o;
    o.header.DataKind = in.termoHasPoints ? DataKindWithTemperature : DataKindSignal;
    o.header.Variant = VariantOrdinary;
    o.header.SamplePeriod = r.SamplePeriod;

    const bool realTimeData = r.isRealTime();
    qsizetype points = 0;      // real-time data
    qsizetype blockBytes = 0;  // block data
    if (realTimeData) {
        // Before the first point an empty block is written.
        points = qsizetype(r.realTimePoints().size());
        if (in.termoHasPoints)
            points = std::min<qsizetype>(points, qsizetype(r.RealTimeTemperature.size()));
        o.header.SampleBytes = quint32(points * (in.termoHasPoints ? 4 : 2));
    } else {
        blockBytes = qsizetype(r.BlockCount) * BlockBytes;
        // A loaded real-time recording is not whole blocks; keep its full length.
        const qsizetype have = r.SampleBuffer.size();
        if (have / BlockBytes == r.BlockCount && have % BlockBytes != 0)
            blockBytes = have;
        if (have < blockBytes)
            return {std::nullopt, StreamReadErrorMessage()};
        o.header.SampleBytes = quint32(blockBytes);
    }

    o.AxisXName = in.AxisXName;
    o.AxisYName = in.eYTitle.isEmpty() ? SignalAxisName() : in.eYTitle;
    o.statusText = statusText(in.ScaleK, in.ScaleShift);

    QByteArray& out = o.bytes;
    out.reserve(DataFileHeaderSize + 12 + 64 + o.header.SampleBytes + in.comment.size() * 2);
    putHeader(out, o.header);
    putDouble(out, in.ScaleK);
    putU32(out, quint32(in.ScaleShift));
    putName(out, o.AxisXName);
    putName(out, o.AxisYName);
    if (realTimeData) {
        for (qsizetype i = 0; i < points; ++i)
            putU16(out, r.RealTimeSignal[i]);
        if (in.termoHasPoints)
            for (qsizetype i = 0; i < points; ++i)
                putU16(out, quint16(r.RealTimeTemperature[i]));
    } else {
        out.append(r.SampleBuffer.constData(), blockBytes);
    }
    out.append(encodedComment(in.comment));
    return {std::move(o), {}};
}

}  // namespace

QString DamagedFileMessage(const QString& fileName)
{
    return Format(u"Файл %s повреждён или неполон", {fileName});
}

QString TooLargeFileMessage(const QString& fileName)
{
    return Format(u"Файл %s не открыт: файл данных не бывает больше %d байт",
                  {fileName, MaxDataFileBytes});
}

QString ForeignFileMessage()
{
    return QStringLiteral("Приложение открывает файлы *.dtw, записанные АЦП. Для просмотра "
                          "выбранного файла используйте универсальное приложение Vistrel.exe");
}

QString StreamReadErrorMessage()
{
    return QStringLiteral("Stream read error");
}

DataFileLoadResult ParseDataFile(const QByteArray& bytes, const QString& fileName)
{
    if (bytes.size() > MaxDataFileBytes)
        return {std::nullopt, DataFileLoadError{DataFileLoadError::Kind::Damaged,
                                                TooLargeFileMessage(fileName)}};
    if (bytes.size() < 2)
        return damaged(fileName);
    const char* p = bytes.constData();
    LoadedDataFile f;
    Recording& r = f.record;
    r.DataKind = qFromLittleEndian<quint16>(p);
    if (r.DataKind != DataKindSignal && r.DataKind != DataKindWithTemperature)
        return {std::nullopt,
                DataFileLoadError{DataFileLoadError::Kind::ForeignFile, ForeignFileMessage()}};
    if (bytes.size() < DataFileHeaderSize)
        return damaged(fileName);
    f.Variant = quint8(p[4]);
    const quint32 SampleBytes = qFromLittleEndian<quint32>(p + 5);
    r.SamplePeriod = getDouble(p + 9);

    // No mode records more; BlockCount stays within its eight blocks.
    if (SampleBytes > MaxSampleBlockBytes)
        return damaged(fileName);

    qsizetype pos = DataFileHeaderSize;
    const bool ordinary = f.Variant == VariantOrdinary;
    const qsizetype fixedBytes = ordinary ? 12 : 20;
    if (bytes.size() - pos < fixedBytes)
        return damaged(fileName);
    if (ordinary) {
        f.ScaleK = getDouble(p + pos);
        f.ScaleShift = qFromLittleEndian<qint32>(p + pos + 8);
    }
    pos += fixedBytes;

    if (!readName(bytes, pos, f.AxisXName) || !readName(bytes, pos, f.AxisYName))
        return damaged(fileName);
    // The announced length is checked against the file before anything is copied.
    if (qint64(SampleBytes) > qint64(bytes.size() - pos))
        return damaged(fileName);

    r.SampleBuffer = bytes.mid(pos, SampleBytes);
    pos += SampleBytes;
    r.BlockCount = quint16(SampleBytes / BlockBytes);
    f.comment = FromCp1251(NormaliseLineBreaks(UpToZero(bytes.mid(pos))));

    if (ordinary) {
        r.ModeCommand = QByteArray("\x12\x00\x00", 3);
    } else {
        // The file keeps channel X first with its flag cleared; the flag tells X from Y again.
        char* d = r.SampleBuffer.data();
        const qsizetype half = SampleBytes / 2;
        for (qsizetype off = 0; off < half && off + 1 < r.SampleBuffer.size(); off += 2)
            d[off + 1] = char(quint8(d[off + 1]) | (AccelXChannelBit >> 8));
        r.ModeCommand = QByteArray("\x1A\x00\x03", 3);
    }
    return {std::move(f), std::nullopt};
}

DataFileSaveResult BuildDataFile(const Recording& record, const DataFileSaveInput& in)
{
    DataFileSaveResult r =
        in.AccelerometerMode ? buildAccelerometer(record, in) : buildOrdinary(record, in);
    // Never write what the loader would refuse.
    if (r.output && r.output->bytes.size() > MaxDataFileBytes)
        return {std::nullopt,
                Format(u"Файл не записан: файл данных не может быть больше %d байт, сократите "
                       u"комментарий",
                       {MaxDataFileBytes})};
    return r;
}

}  // namespace korvel
