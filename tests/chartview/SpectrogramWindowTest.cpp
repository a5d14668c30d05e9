#include "chart/PlottedSignal.h"
#include "chartview/MeasurementReport.h"
#include "chartview/SpectrogramChart.h"
#include "chartview/SpectrogramWindow.h"
#include "chartview/SpectrumChart.h"
#include "chartview/SpectrumWindow.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <numbers>

using namespace korvel;

namespace {

// A 1 MHz record (14/14.7456 µs) of 30000 points: a chirp from 10 kHz rising 1 MHz/s
// (10 … 38 kHz over the record, about a bin over a frame), 1000 ADC units.
Recording chirp()
{
    Recording r;
    r.SamplePeriod = 14.0 / 14.7456;
    r.ModeCommand = QByteArray("\x12\x00\x00", 3);
    r.SampleBuffer.resize(60000);
    for (int i = 0; i < 30000; ++i) {
        const double t = i * r.SamplePeriod * 1e-6;
        const double phase = 2 * std::numbers::pi * (10000 * t + 5e5 * t * t);
        qToLittleEndian(quint16(std::lrint(2048 + 1000 * std::sin(phase))), r.SampleBuffer.data() + 2 * i);
    }
    return r;
}

}  // namespace

TEST(SpectrogramWindow, MapsTheVisibleRangeAndReadsTimeFrequencyAndLevel)
{
    SpectrogramWindow w;
    w.resize(820, 520);
    const double all = std::numeric_limits<double>::infinity();
    // Display mode 1: X is the sample number.
    w.setSignal(PlotSignal(chirp(), {1, 1, {1.0, 0}}), QStringLiteral("единицы АЦП"), -all, all);
    const Spectrogram& g = w.spectrogram();
    EXPECT_EQ(g.frames, (30000 - 1024) / 512 + 1);
    EXPECT_EQ(g.bins, 513);
    QCPColorMapData* map = w.chart()->colourMap()->data();
    EXPECT_EQ(map->keySize(), g.frames);
    EXPECT_EQ(map->valueSize(), g.bins);
    EXPECT_EQ(w.chart()->yAxis->label(), QStringLiteral("Частота, кГц"));
    EXPECT_EQ(w.chart()->colourScale()->axis()->label(), QStringLiteral("Амплитуда, дБ отн. 1 единицы АЦП"));

    // The frame at 10 ms has its ridge at 10 + 1000·0,01 = 20 kHz, its level that of 1000.
    const double t = 0.010;
    const double f = 20.0;   // kHz
    w.chart()->replot();
    w.chartMouseMove(w.chart()->xAxis->coordToPixel(t), w.chart()->yAxis->coordToPixel(f));
    const QString text = w.readoutLabel()->text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("t = 0,01"))) << text.toStdString();
    const double level = QLocale().toDouble(text.section(QStringLiteral(", "), 2).section(' ', 0, 0));
    EXPECT_NEAR(level, 20 * std::log10(1000.0), 3.0) << text.toStdString();
    // The colours span the chirp's levels, not the mean's 2048 at 0 Hz (66 dB).
    EXPECT_NEAR(w.chart()->colourMap()->dataRange().upper, 20 * std::log10(1000.0), 3.0);

    // A later stretch starts later: samples 20000 … 29999 begin at 20000 periods.
    w.setRange(20000, 29999);
    EXPECT_NEAR(w.startSeconds(), 20000 * 14.0 / 14.7456e6, 1e-12);
    EXPECT_EQ(w.spectrogram().frames, (10000 - 1024) / 512 + 1);

    SpectrogramSettings s;
    s.segment = 4096;
    s.overlap = 75;
    s.scale = 2;
    s.decibels = false;
    w.applyChoices(s);
    EXPECT_EQ(w.spectrogram().bins, 2049);
    EXPECT_EQ(w.spectrogram().frames, (10000 - 4096) / 1024 + 1);
    EXPECT_EQ(w.settings().segment, 4096);
    EXPECT_EQ(w.chart()->colourScale()->axis()->label(), QStringLiteral("СПМ, (единицы АЦП)²/Гц"));
}

TEST(MeasurementReport, PrintsOnePageWithTheRecordsTexts)
{
    SpectrumWindow spectrum;
    spectrum.resize(760, 520);
    const double all = std::numeric_limits<double>::infinity();
    spectrum.setSignal(PlotSignal(chirp(), {1, 1, {1.0, 0}}), QStringLiteral("единицы АЦП"), {Qt::black}, -all, all);
    ReportRecord record;
    record.fileName = QStringLiteral("/data/run 7.dtw");
    record.recorded = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7));
    record.comment = QStringLiteral("насос 2\r\n");
    record.ScaleK = 0.5;
    record.ScaleShift = 2048;
    record.AxisYName = QStringLiteral("Давление, кПа");
    record.AxisXName = QStringLiteral("Время, мкс");
    const ReportText text = BuildReportText(record, spectrum.analysis(), QDateTime(QDate(2026, 3, 5), QTime(8, 0)));
    ASSERT_GE(text.header.size(), 5u);
    EXPECT_EQ(text.header[0].second, QStringLiteral("run 7.dtw"));
    EXPECT_EQ(text.header[1].second, QStringLiteral("04.03.2026 05:06:07"));
    EXPECT_EQ(text.header[3].second, QStringLiteral("насос 2"));
    EXPECT_TRUE(text.header[4].second.contains(QStringLiteral("смещение 2048"))) << text.header[4].second.toStdString();
    EXPECT_TRUE(text.spectrumLine.contains(QStringLiteral("окно «Ханн»")));

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("r.pdf")));
    EXPECT_EQ(printMeasurementReport(printer, text, spectrum.chart(), spectrum.chart()), QString());
    QFile pdf(dir.filePath(QStringLiteral("r.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 1);
}

TEST(MeasurementReport, TableColumnsAreAsWideAsTheirTexts)
{
    // A long band caption beside a short value, and a long unit heading in the peak list: the
    // page's width is enough for both, so neither is cut.
    using W = std::vector<double>;
    EXPECT_EQ(ReportColumnWidths(W{450, 100}, 600), (W{500, 100}));
    EXPECT_EQ(ReportColumnWidths(W{80, 260, 70}, 500), (W{170, 260, 70}));
    // Too wide: the caption gives way first, down to 30 % of its width, then all columns share.
    EXPECT_EQ(ReportColumnWidths(W{400, 100}, 300), (W{200, 100}));
    const W squeezed = ReportColumnWidths(W{100, 300}, 200);
    EXPECT_DOUBLE_EQ(squeezed[0], 30 * 200 / 330.0);
    EXPECT_DOUBLE_EQ(squeezed[1], 300 * 200 / 330.0);
}
