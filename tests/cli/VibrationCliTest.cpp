// spectrum, stats, spectrogram and report of the built program on data files of known signals;
// every output is read back (JSON parsed, CSV and npy read).

#include "CliTestSupport.h"
#include "files/DataFileIo.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include <numbers>

using namespace korvel;
using korvel::testing::CliResult;
using korvel::testing::RunCliProgram;

namespace {

constexpr double Pi = std::numbers::pi;

QByteArray wordsOf(int n, const std::function<double(int)>& reading)
{
    QByteArray out(2 * n, '\0');
    for (int i = 0; i < n; ++i)
        qToLittleEndian(quint16(std::clamp<long>(std::lround(reading(i)), 0, 4095)), out.data() + 2 * i);
    return out;
}

QJsonObject jsonOf(const CliResult& r)
{
    return QJsonDocument::fromJson(r.out.toUtf8()).object();
}

class VibrationCli : public ::testing::Test {
protected:
    void SetUp() override { ini = korvel::testing::DefaultSettingsFile(dir.path()); }

    // A record of readings 2048 + reading(i), periodUs apart, scaled by k to the unit of yName;
    // n a whole number of 30000-sample blocks, as the board records them.
    QString file(const char* name, int n, double periodUs, double k, const QString& yName,
                 const std::function<double(int)>& reading)
    {
        Recording record;
        record.SampleBuffer = wordsOf(n, [&](int i) { return 2048 + reading(i); });
        record.BlockCount = quint16((n + 29999) / 30000);
        record.SamplePeriod = periodUs;
        DataFileSaveInput in;
        in.ScaleK = k;
        in.ScaleShift = 2048;
        in.AxisXName = QStringLiteral("Время, мкс");
        in.eYTitle = yName;
        in.comment = QStringLiteral("стенд 2, подшипник");
        const QString p = dir.filePath(QString::fromUtf8(name));
        EXPECT_TRUE(SaveDataFile(p, record, in).output);
        return p;
    }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    CliResult cli(QStringList args) { return RunCliProgram(args << QStringLiteral("--settings") << ini); }

    QTemporaryDir dir;
    QString ini;
};

}  // namespace

TEST_F(VibrationCli, SpectrumJsonNamesHowItWasTakenAndGivesThePeakInTheScaleAndDb)
{
    // 1 kHz, 1000 units at 10 kS/s: 1/3 Hz bins, the tone on one (the flat-top reads it anyway).
    const QString f = file("tone.dtw", 30000, 100.0, 0.01, QStringLiteral("Ускорение, м/с/с"),
                           [](int i) { return 1000 * std::sin(2 * Pi * 1000 * i * 1e-4); });
    // The options every version had: the JSON says how the spectrum was taken, and with --db
    // its peak is in dB as well (10 m/s²: 20 dB re 1 m/s²).
    const CliResult plain = cli({QStringLiteral("spectrum"), f, QStringLiteral("--json"), QStringLiteral("--window"),
                                 QStringLiteral("flattop"), QStringLiteral("--segment"), QStringLiteral("4096"),
                                 QStringLiteral("--db")});
    ASSERT_EQ(plain.exitCode, 0) << plain.err.toStdString();
    const QJsonObject p = jsonOf(plain);
    EXPECT_EQ(p[QStringLiteral("window")].toString(), QStringLiteral("flattop"));
    EXPECT_EQ(p[QStringLiteral("segment")].toInt(), 4096);
    EXPECT_EQ(p[QStringLiteral("overlap_percent")].toInt(), 50);
    EXPECT_EQ(p[QStringLiteral("averages")].toInt(), (30000 - 4096) / 2048 + 1);
    EXPECT_EQ(p[QStringLiteral("scale")].toString(), QStringLiteral("amplitude"));
    EXPECT_NEAR(p[QStringLiteral("peak")].toObject()[QStringLiteral("amplitude")].toDouble(), 20.0, 0.02);

    const CliResult r = cli({QStringLiteral("spectrum"), f, QStringLiteral("--json"), QStringLiteral("--segment"),
                             QStringLiteral("5000"), QStringLiteral("--overlap"), QStringLiteral("75"),
                             QStringLiteral("--window"), QStringLiteral("flattop"), QStringLiteral("--scale"),
                             QStringLiteral("rms"), QStringLiteral("--db")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject j = jsonOf(r);
    EXPECT_EQ(j[QStringLiteral("window")].toString(), QStringLiteral("flattop"));
    EXPECT_EQ(j[QStringLiteral("segment")].toInt(), 5000);
    EXPECT_EQ(j[QStringLiteral("overlap_percent")].toInt(), 75);
    EXPECT_EQ(j[QStringLiteral("averages")].toInt(), (30000 - 5000) / 1250 + 1);
    EXPECT_EQ(j[QStringLiteral("scale")].toString(), QStringLiteral("rms"));
    EXPECT_TRUE(j[QStringLiteral("db")].toBool());
    EXPECT_EQ(j[QStringLiteral("unit")].toString(), QStringLiteral("дБ отн. 1 м/с/с"));
    // 10 m/s² peak: 20·log10(10/√2) dB.
    const QJsonObject peak = j[QStringLiteral("peak")].toObject();
    EXPECT_NEAR(peak[QStringLiteral("frequency_hz")].toDouble(), 1000.0, 0.2);
    EXPECT_NEAR(peak[QStringLiteral("amplitude")].toDouble(), 20 * std::log10(10 / std::sqrt(2.0)), 0.02);
}

TEST_F(VibrationCli, VelocityFromAnAccelerationItsBandRmsAndTheStatsOfTheIntegral)
{
    // 80 Hz, 10 m/s², 3 s at 10 kS/s: velocity 10 / (2π·80) m/s = 19,89 mm/s.
    const double omega = 2 * Pi * 80;
    const QString f = file("acc.dtw", 30000, 100.0, 0.01, QStringLiteral("Ускорение, м/с/с"),
                           [](int i) { return 1000 * std::sin(2 * Pi * 80 * i * 1e-4); });
    const CliResult r = cli({QStringLiteral("spectrum"), f, QStringLiteral("--json"), QStringLiteral("--integrate"),
                             QStringLiteral("velocity"), QStringLiteral("--band"), QStringLiteral("10:1000"),
                             QStringLiteral("-o"), path("v.csv")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject j = jsonOf(r);
    EXPECT_EQ(j[QStringLiteral("quantity")].toString(), QStringLiteral("velocity"));
    EXPECT_EQ(j[QStringLiteral("unit")].toString(), QStringLiteral("мм/с"));
    EXPECT_EQ(j[QStringLiteral("low_cut_hz")].toDouble(), 10.0);
    EXPECT_NEAR(j[QStringLiteral("peak")].toObject()[QStringLiteral("amplitude")].toDouble(), 10 / omega * 1e3, 0.02);
    const QJsonObject band = j[QStringLiteral("band")].toObject();
    EXPECT_EQ(band[QStringLiteral("from_hz")].toDouble(), 10.0);
    EXPECT_EQ(band[QStringLiteral("to_hz")].toDouble(), 1000.0);
    EXPECT_NEAR(band[QStringLiteral("rms")].toDouble(), 10 / omega * 1e3 / std::sqrt(2.0), 0.02);
    // The CSV's value column names the quantity, its unit and the band.
    QFile csv(path("v.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QString header = QString::fromUtf8(csv.readLine());
    EXPECT_TRUE(header.startsWith(QStringLiteral("\"Частота, Гц\",\"Амплитуда скорости, мм/с; СКЗ скорости 10–1000 Гц, мм/с: 14.0")))
        << header.toStdString();

    const CliResult s = cli({QStringLiteral("stats"), f, QStringLiteral("--json"), QStringLiteral("--integrate"),
                             QStringLiteral("displacement")});
    ASSERT_EQ(s.exitCode, 0) << s.err.toStdString();
    const QJsonObject m = jsonOf(s);
    EXPECT_EQ(m[QStringLiteral("unit")].toString(), QStringLiteral("мкм"));
    EXPECT_NEAR(m[QStringLiteral("ac_rms")].toDouble(), 10 / (omega * omega) * 1e6 / std::sqrt(2.0), 0.05);
    EXPECT_NEAR(m[QStringLiteral("dominant_frequency_hz")].toDouble(), 80.0, 0.05);
}

TEST_F(VibrationCli, ABandPastTheRecordsNyquistFrequencyIsNotReportedAsWhole)
{
    // 700 µs apart, as the accelerometer samples: spectrum up to 714 Hz.
    const QString f = file("slow.dtw", 30000, 700.0, 0.01, QStringLiteral("Ускорение, м/с/с"),
                           [](int i) { return 500 * std::sin(2 * Pi * 100 * i * 7e-4); });
    const CliResult r = cli({QStringLiteral("spectrum"), f, QStringLiteral("--json"), QStringLiteral("--band"),
                             QStringLiteral("10:1000")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("714"))) << r.err.toStdString();
    const QJsonObject band = jsonOf(r)[QStringLiteral("band")].toObject();
    EXPECT_TRUE(band[QStringLiteral("rms")].isNull());
    EXPECT_NEAR(band[QStringLiteral("nyquist_hz")].toDouble(), 1e6 / 700 / 2, 1e-6);
}

TEST_F(VibrationCli, PeakListOfASquareWaveHasItsOddHarmonicsWithOrders)
{
    // 100 Hz square wave of ±1000 units at 100 kS/s, 1,2 s.
    const QString f = file("square.dtw", 120000, 10.0, 1.0, QStringLiteral("Сила, Н"),
                           [](int i) { return (i % 1000) < 500 ? 1000.0 : -1000.0; });
    const CliResult r = cli({QStringLiteral("spectrum"), f, QStringLiteral("--json"), QStringLiteral("--peaks"),
                             QStringLiteral("4")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonArray peaks = jsonOf(r)[QStringLiteral("peaks")].toArray();
    ASSERT_EQ(peaks.size(), 4);
    for (int i = 0; i < 4; ++i) {
        const int k = 2 * i + 1;
        const QJsonObject p = peaks[i].toObject();
        EXPECT_NEAR(p[QStringLiteral("frequency_hz")].toDouble(), 100.0 * k, 0.01) << k;
        EXPECT_NEAR(p[QStringLiteral("order")].toDouble(), k, 1e-3) << k;
        EXPECT_NEAR(p[QStringLiteral("amplitude")].toDouble(), 4000 / (Pi * k), 0.005 * 4000 / (Pi * k)) << k;
    }
}

TEST_F(VibrationCli, SpectrogramOfAChirpInCsvNpyAndJson)
{
    // 500 Hz rising by 1 kHz a second for 3 s at 10 kS/s: 2,6 bins over a segment.
    const QString f = file("chirp.dtw", 30000, 100.0, 1.0, QStringLiteral("Сила, Н"), [](int i) {
        const double t = i * 1e-4;
        return 1000 * std::sin(2 * Pi * (500 * t + 500 * t * t));
    });
    const QStringList common{QStringLiteral("spectrogram"), f, QStringLiteral("--segment"), QStringLiteral("512"),
                             QStringLiteral("--overlap"), QStringLiteral("50"), QStringLiteral("--json")};
    const CliResult r = cli(common + QStringList{QStringLiteral("-o"), path("g.csv")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject j = jsonOf(r);
    const int frames = (30000 - 512) / 256 + 1;
    EXPECT_EQ(j[QStringLiteral("frames")].toInt(), frames);
    EXPECT_EQ(j[QStringLiteral("bins")].toInt(), 257);
    EXPECT_DOUBLE_EQ(j[QStringLiteral("time_step_s")].toDouble(), 256 * 1e-4);
    EXPECT_DOUBLE_EQ(j[QStringLiteral("resolution_hz")].toDouble(), 1e4 / 512);

    QFile csv(path("g.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), frames + 1);
    // The first cell is quoted (it holds a comma); the frequencies follow.
    ASSERT_TRUE(lines[0].startsWith(QStringLiteral("\"Время, с\",")));
    const QStringList head = QStringList{QStringLiteral("t")} + lines[0].mid(11).split(',');
    ASSERT_EQ(head.size(), 258);
    EXPECT_DOUBLE_EQ(head[2].toDouble(), 1e4 / 512);
    std::vector<std::vector<double>> values;
    for (int row = 1; row <= frames; ++row) {
        const QStringList cells = lines[row].split(',');
        ASSERT_EQ(cells.size(), 258);
        std::vector<double> v;
        for (const QString& c : cells)
            v.push_back(c.toDouble());
        // The ridge at the frame's centre time, within a bin and the chirp's move over a frame.
        const auto top = std::max_element(v.begin() + 1, v.end()) - (v.begin() + 1);
        EXPECT_NEAR(head[1 + int(top)].toDouble(), 500 + 1000 * v[0], 1e4 / 512) << row;
        values.push_back(std::move(v));
    }

    // npy: frames × bins of float64, the same values.
    ASSERT_EQ(cli(common + QStringList{QStringLiteral("-o"), path("g.npy")}).exitCode, 0);
    QFile npy(path("g.npy"));
    ASSERT_TRUE(npy.open(QIODevice::ReadOnly));
    const QByteArray bytes = npy.readAll();
    ASSERT_TRUE(bytes.startsWith("\x93NUMPY"));
    const int headerLength = qFromLittleEndian<quint16>(bytes.constData() + 8);
    const QByteArray header = bytes.mid(10, headerLength);
    EXPECT_TRUE(header.contains(QStringLiteral("'shape': (%1, 257)").arg(frames).toLatin1())) << header.constData();
    ASSERT_EQ(bytes.size(), 10 + headerLength + qsizetype(frames) * 257 * 8);
    const char* data = bytes.constData() + 10 + headerLength;
    for (int row : {0, frames / 2, frames - 1})
        for (int k : {0, 40, 256})
            EXPECT_DOUBLE_EQ(qFromLittleEndian<double>(data + (size_t(row) * 257 + size_t(k)) * 8),
                             values[size_t(row)][size_t(k) + 1]);

    // A picture; and a wrong output kind is a usage error.
    ASSERT_EQ(cli(common + QStringList{QStringLiteral("-o"), path("g.png")}).exitCode, 0);
    EXPECT_GT(QFile(path("g.png")).size(), 1000);
    EXPECT_EQ(cli(common + QStringList{QStringLiteral("-o"), path("g.txt")}).exitCode, 2);
}

TEST_F(VibrationCli, ReportIsOnePagePdf)
{
    const QString f = file("r.dtw", 30000, 100.0, 0.01, QStringLiteral("Ускорение, м/с/с"),
                           [](int i) { return 1000 * std::sin(2 * Pi * 80 * i * 1e-4); });
    const CliResult r = cli({QStringLiteral("report"), f, QStringLiteral("-o"), path("r.pdf"), QStringLiteral("--integrate"),
                             QStringLiteral("velocity"), QStringLiteral("--band"), QStringLiteral("10:1000"),
                             QStringLiteral("--peaks"), QStringLiteral("3")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile pdf(path("r.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 1);
}

TEST_F(VibrationCli, AStretchFromASamplesOwnTimeIncludesIt)
{
    // The 1 MHz mode's period, whose times are no round numbers; the CSV export prints each.
    const QString f = file("t.dtw", 30000, 14.0 / 14.7456, 1.0, QStringLiteral("Сила, Н"),
                           [](int i) { return (i * 37) % 1000; });
    ASSERT_EQ(cli({QStringLiteral("export"), f, QStringLiteral("--format"), QStringLiteral("csv"),
                   QStringLiteral("-o"), path("t.csv")})
                  .exitCode,
              0);
    QFile csv(path("t.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
    const auto timeOf = [&](int sample) { return lines[1 + sample].section(',', 0, 0); };
    for (int first : {1000, 17, 333, 1234, 2047, 2500, 2998, 5, 777, 1500, 2222, 2900}) {
        const CliResult one = cli({QStringLiteral("stats"), f, QStringLiteral("--json"), QStringLiteral("--from"),
                                   timeOf(first), QStringLiteral("--to"), timeOf(first)});
        ASSERT_EQ(one.exitCode, 0) << one.err.toStdString();
        EXPECT_EQ(jsonOf(one)[QStringLiteral("count")].toInt(), 1) << first;
        const QString row = path("row.csv");
        ASSERT_EQ(cli({QStringLiteral("export"), f, QStringLiteral("--format"), QStringLiteral("csv"),
                       QStringLiteral("--from"), timeOf(first), QStringLiteral("--to"), timeOf(first),
                       QStringLiteral("-o"), row})
                      .exitCode,
                  0);
        QFile rows(row);
        ASSERT_TRUE(rows.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList exported = QString::fromUtf8(rows.readAll()).split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(exported.size(), 2) << first;   // the header and the sample
        EXPECT_EQ(exported[1], lines[1 + first]);
        const CliResult eleven = cli({QStringLiteral("spectrum"), f, QStringLiteral("--json"), QStringLiteral("--from"),
                                      timeOf(first - 1 < 0 ? 0 : first - 1), QStringLiteral("--to"),
                                      timeOf(std::min(first + 9, 2999))});
        EXPECT_EQ(jsonOf(eleven)[QStringLiteral("bins")].toInt(),
                  (std::min(first + 9, 2999) - std::max(first - 1, 0) + 1) / 2 + 1) << first;
    }
}

TEST_F(VibrationCli, AnEmptyStretchFailsAndAPeriodThatIsNoNumberIsNamed)
{
    const QString f = file("e.dtw", 30000, 100.0, 1.0, QStringLiteral("Сила, Н"), [](int i) { return i % 100; });
    // 100 µs apart: nothing lies between 150 and 170 µs.
    const CliResult r = cli({QStringLiteral("stats"), f, QStringLiteral("--json"), QStringLiteral("--from"),
                             QStringLiteral("150"), QStringLiteral("--to"), QStringLiteral("170")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.err.isEmpty());
    const QJsonObject j = jsonOf(r);
    EXPECT_EQ(j[QStringLiteral("count")].toInt(), 0);
    EXPECT_TRUE(j[QStringLiteral("mean")].isNull());
    EXPECT_TRUE(j[QStringLiteral("rms")].isNull());

    for (double period : {0.0, -5.0, std::nan("")}) {
        const QString bad = file("p.dtw", 30000, period, 1.0, QStringLiteral("Сила, Н"), [](int i) { return i % 100; });
        const CliResult s = cli({QStringLiteral("spectrum"), bad, QStringLiteral("--json")});
        EXPECT_EQ(s.exitCode, 1) << period;
        EXPECT_TRUE(s.err.contains(QStringLiteral("период выборки"))) << s.err.toStdString();
    }
}
