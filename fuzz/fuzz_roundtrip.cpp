// Any data file the loader accepts survives what the window does with it: its text export lists
// every sample as the file holds it, and saving it again and reloading gives the same samples
// and comment.
#include "FuzzSupport.h"
#include "chart/SeriesBuilder.h"
#include "files/DataFile.h"
#include "files/TextExport.h"
#include "text/NumberFormat.h"

#include <QtEndian>
#include <charconv>
#include <cstdlib>
#include <vector>

using namespace korvel;

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

quint16 wordAt(const QByteArray& bytes, qsizetype i)
{
    return qFromLittleEndian<quint16>(bytes.constData() + 2 * i);
}

// The next CR-terminated line of text from at, or an empty view at the end.
QByteArrayView nextLine(QByteArrayView text, qsizetype& at)
{
    const qsizetype end = text.indexOf('\r', at);
    if (end < 0)
        return {};
    const QByteArrayView line = text.sliced(at, end - at);
    at = end + 1;
    return line;
}

QByteArrayView nextField(QByteArrayView line, qsizetype& at)
{
    qsizetype end = line.indexOf('\t', at);
    if (end < 0)
        end = line.size();
    const QByteArrayView field = line.sliced(at, end - at);
    at = end + 1;
    return field;
}

long long integer(QByteArrayView field)
{
    long long v = -1;
    const auto [end, error] = std::from_chars(field.begin(), field.end(), v);
    check(error == std::errc() && end == field.end());
    return v;
}

// Every point as index, ADC units, temperature (with a temperature trace) and the three digital
// lines, as a user exports a loaded file; the rows must give back the words of the file.
void checkTextExport(const LoadedDataFile& f)
{
    // As the window holds the record after the load: a kind-129 record's words in its tables.
    Recording r = f.record;
    const bool withTemperature = r.DataKind == DataKindWithTemperature;
    const qsizetype points = r.SampleBuffer.size() / (withTemperature ? 4 : 2);
    TextExportInput in;
    in.ScaleK = 1.0;
    in.AxisXName = QStringLiteral("Время, мкс");
    in.cbTxtSaveX = 3;
    in.cbTxtSaveY = 1;
    in.cbTermo = in.cbDgt1 = in.cbDgt2 = in.cbDgt3 = true;
    in.CoefficientsFromFile = true;
    if (withTemperature) {
        r.RealTimeSignal.resize(size_t(std::max<qsizetype>(points, 1)));
        r.RealTimeTemperature.resize(r.RealTimeSignal.size());
        CopyKind129ToRealTime(r.SampleBuffer, r.RealTimeSignal, r.RealTimeTemperature);
    }
    const std::vector<quint16>& signal = r.RealTimeSignal;
    const std::vector<qint16>& temperature = r.RealTimeTemperature;
    in.first = 0;
    in.last = int(points) - 1;
    const QByteArray text = BuildTextExport(r, in).bytes;

    qsizetype at = 0;
    for (int header = 0; header < 5; ++header)
        nextLine(text, at);
    for (qsizetype i = 0; i < points; ++i) {
        const QByteArrayView row = nextLine(text, at);
        const quint16 w = withTemperature ? signal[i] : wordAt(r.SampleBuffer, i);
        qsizetype field = 0;
        check(integer(nextField(row, field)) == i);
        check(integer(nextField(row, field)) == (w & 0x0FFF));
        if (withTemperature) {
            double t = 0;
            check(TryStrToFloat(QString::fromLatin1(nextField(row, field)), &t));
            check(t == temperature[i] / 4.0);
        }
        for (const quint16 bit : {0x2000, 0x4000, 0x8000})
            check(nextField(row, field) == QByteArrayView(w & bit ? "1" : "0"));
        check(field == row.size() + 1);
    }
    check(at == text.size());
}

// What the window adds when it saves a file it has loaded and drawn.
DataFileSaveInput saveInputOf(const LoadedDataFile& f)
{
    DataFileSaveInput in;
    in.AccelerometerMode = f.Variant != VariantOrdinary;
    in.termoHasPoints =
        f.record.DataKind == DataKindWithTemperature && f.record.SampleBuffer.size() >= 4;
    in.ScaleK = f.ScaleK;
    in.ScaleShift = f.ScaleShift;
    in.AxisXName = f.AxisXName;
    in.eYTitle = f.AxisYName;
    in.comment = f.comment;
    return in;
}

// The accelerometer layout keeps whole blocks, channel X (the first half) without its top four
// bits and channel Y with bit 15 clear: what the program writes. Bits it cannot hold are not
// samples, so other files are only saved and reloaded.
bool accelerometerLayoutHolds(const LoadedDataFile& f)
{
    const QByteArray& bytes = f.record.SampleBuffer;
    if (bytes.size() % BlockBytes != 0)
        return false;
    const qsizetype words = bytes.size() / 2;
    for (qsizetype i = 0; i < words; ++i) {
        const quint16 w = wordAt(bytes, i);
        if (i < words / 2 ? (w & 0x7000) != 0 : (w & 0x8000) != 0)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::EnsureApplication();
    const DataFileLoadResult loaded = ParseDataFile(fuzz::View(data, size), QStringLiteral("f.dtw"));
    if (!loaded.file)
        return 0;
    const LoadedDataFile& f = *loaded.file;
    const bool accelerometer = f.Variant != VariantOrdinary;
    if (!accelerometer)
        checkTextExport(f);

    const DataFileSaveResult saved = BuildDataFile(f.record, saveInputOf(f));
    check(saved.output.has_value());
    const DataFileLoadResult again = ParseDataFile(saved.output->bytes, QStringLiteral("g.dtw"));
    check(again.file.has_value());
    check(again.file->comment == f.comment);
    if (!accelerometer || accelerometerLayoutHolds(f))
        check(again.file->record.SampleBuffer == f.record.SampleBuffer);
    return 0;
}
