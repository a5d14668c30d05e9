#include "chart/PlottedSignal.h"
#include "chartview/SpectrumChart.h"
#include "chartview/SpectrumWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QTableWidget>
#include <QtEndian>
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <numbers>
#include <tuple>

using namespace korvel;

namespace {

// A 1 MHz record (14/14.7456 µs) of a 1 kHz sine of 1000 ADC units; with two channels the
// words alternate X (bit 15) and Y, as an accelerometer run stores them.
Recording record(bool accelerometer)
{
    Recording r;
    r.SamplePeriod = 14.0 / 14.7456;
    r.AccelPeriod = 0.001;
    r.ModeCommand = accelerometer ? QByteArray("\x1A\xE0\x03", 3) : QByteArray("\x12\x00\x00", 3);
    r.SampleBuffer.resize(60000);
    for (int i = 0; i < 30000; ++i) {
        const double t = accelerometer ? (i / 2) * 1e-3 : i * r.SamplePeriod * 1e-6;
        const double f = accelerometer && i % 2 ? 50.0 : (accelerometer ? 20.0 : 1000.0);
        auto w = quint16(std::lrint(2048 + 1000 * std::sin(2 * std::numbers::pi * f * t)));
        if (accelerometer && i % 2 == 0)
            w |= 0x8000;
        qToLittleEndian(w, r.SampleBuffer.data() + 2 * i);
    }
    return r;
}

QString cell(const QTableWidget* t, int row, int column)
{
    return t->item(row, column) ? t->item(row, column)->text() : QString();
}

}  // namespace

TEST(SpectrumWindow, FollowsTheVisibleRangeAndItsChoices)
{
    SpectrumWindow w;
    w.resize(760, 520);
    const double all = std::numeric_limits<double>::infinity();
    w.setSignal(PlotSignal(record(false), {1, 1, {1.0, 0}}), QStringLiteral("единицы АЦП"),
                {Qt::black}, -all, all);
    const QTableWidget* table = w.measurementsTable();
    EXPECT_EQ(cell(table, 7, 0), QStringLiteral("Доминирующая частота"));
    EXPECT_EQ(cell(table, 7, 1), QStringLiteral("1,000 кГц"));
    EXPECT_EQ(cell(table, 2, 1), QStringLiteral("2000"));   // the sine's peak to peak
    EXPECT_TRUE(w.infoLabel()->text().startsWith(QStringLiteral("Точек: 30000,")));

    // Samples 0 … 9999 of the X axis (sample numbers in display mode 1).
    w.setRange(0, 9999);
    EXPECT_TRUE(w.infoLabel()->text().startsWith(QStringLiteral("Точек: 10000,")));

    // The read-out names the bin under the mouse, in digits its 105 Hz spacing resolves.
    w.chartMouseMove(w.chart()->xAxis->coordToPixel(1.06));
    EXPECT_TRUE(w.readoutLabel()->text().startsWith(QStringLiteral("f = 1,05 кГц, A = ")))
        << w.readoutLabel()->text().toStdString();

    SpectrumSettings choices;
    choices.window = 2;
    choices.segment = 4096;
    choices.decibels = true;
    w.applyChoices(choices);
    EXPECT_EQ(w.options().window, WindowFunction::FlatTop);
    EXPECT_EQ(w.options().segment, 4096);
    const SpectrumSettings back = w.settings();
    EXPECT_EQ(back.window, 2);
    EXPECT_EQ(back.segment, 4096);
    EXPECT_TRUE(back.decibels);
    EXPECT_EQ(w.chart()->yAxis->label(), QStringLiteral("Амплитуда, дБ отн. 1 единицы АЦП"));
}

TEST(SpectrumWindow, TwoAccelerometerChannelsInTheirColours)
{
    SpectrumWindow w;
    w.setSignal(PlotSignal(record(true), {1, 1, {1.0, 0}}), QStringLiteral("единицы АЦП"),
                {Qt::black, Qt::blue}, 0, 1e9);
    const QTableWidget* table = w.measurementsTable();
    ASSERT_EQ(table->columnCount(), 3);
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), QStringLiteral("Канал X"));
    EXPECT_EQ(cell(table, 7, 1), QStringLiteral("20,000 Гц"));
    EXPECT_EQ(cell(table, 7, 2), QStringLiteral("50,000 Гц"));
    EXPECT_EQ(w.chart()->trace(1)->pen().color(), QColor(Qt::blue));
    EXPECT_TRUE(w.chart()->trace(1)->visible());
}

TEST(SpectrumWindow, VelocityBandAndPeakListFromTheSecondRow)
{
    // A 1 kHz sine of 1000 units in m/s²: velocity 1000 / (2π·1000) m/s = 159,15 mm/s.
    SpectrumWindow w;
    w.resize(1100, 560);
    const double all = std::numeric_limits<double>::infinity();
    w.setSignal(PlotSignal(record(false), {1, 1, {1.0, 2048}}), QStringLiteral("Ускорение, м/с²"),
                {Qt::black}, -all, all);
    SpectrumSettings s;
    s.window = 2;   // flat-top: the amplitude whatever the bins
    s.quantity = 1;
    s.scale = 1;
    s.band = true;
    s.bandFromHz = 10;
    s.bandToHz = 5000;
    s.peaks = true;
    s.peakCount = 3;
    w.applyChoices(s);
    const double velocity = 1000 / (2 * std::numbers::pi * 1000) * 1e3;
    EXPECT_EQ(w.analysis().options.spectrum.integration.quantity, Quantity::Velocity);
    EXPECT_EQ(w.chart()->yAxis->label(), QStringLiteral("СКЗ скорости, мм/с"));
    ASSERT_TRUE(w.bandLabel()->isVisibleTo(&w));
    const QString band = w.bandLabel()->text();
    EXPECT_TRUE(band.startsWith(QStringLiteral("СКЗ скорости 10–5000 Гц, мм/с:\n"))) << band.toStdString();
    EXPECT_NEAR(QLocale().toDouble(band.section('\n', 1)), velocity / std::sqrt(2.0), 0.01 * velocity);
    ASSERT_TRUE(w.peakTable()->isVisibleTo(&w));
    ASSERT_GE(w.peakTable()->rowCount(), 1);
    EXPECT_EQ(w.peakTable()->item(0, 2)->text(), QLocale().toString(1.0, 'f', 2));
    EXPECT_NEAR(QLocale().toDouble(w.peakTable()->item(0, 1)->text()), velocity / std::sqrt(2.0),
                0.002 * velocity);
    EXPECT_TRUE(w.noteLabel()->text().contains(QStringLiteral("ниже 10 Гц отброшено")));
    // The choices come back as they were made.
    const SpectrumSettings back = w.settings();
    EXPECT_EQ(std::tie(back.quantity, back.scale, back.band, back.peaks, back.peakCount),
              std::tie(s.quantity, s.scale, s.band, s.peaks, s.peakCount));
    // The window function has its Russian name.
    EXPECT_EQ(w.findChild<QComboBox*>(QStringLiteral("cbWindow"))->currentText(),
              QStringLiteral("плоская вершина"));
}

TEST(SpectrumWindow, APeakFarBelowTheHighestKeepsItsOrderAndABandPastNyquistNamesIt)
{
    // 100 kHz of 1000 units and 500 Hz of 300 at 1 MS/s: the second peak's order is 0,005, and
    // a band up to 600 kHz is cut at 500 kHz.
    Recording r;
    r.SamplePeriod = 1.0;
    r.ModeCommand = QByteArray("\x12\x00\x00", 3);
    r.SampleBuffer.resize(60000);
    for (int i = 0; i < 30000; ++i) {
        const double t = i * 1e-6;
        const double v = 2048 + 1000 * std::sin(2 * std::numbers::pi * 1e5 * t)
                         + 300 * std::sin(2 * std::numbers::pi * 500 * t);
        qToLittleEndian(quint16(std::lrint(v)), r.SampleBuffer.data() + 2 * i);
    }
    SpectrumWindow w;
    const double all = std::numeric_limits<double>::infinity();
    w.setSignal(PlotSignal(r, {1, 1, {1.0, 2048}}), QStringLiteral("единицы АЦП"), {Qt::black}, -all, all);
    SpectrumSettings s;
    s.window = 2;
    s.peaks = true;
    s.peakCount = 2;
    s.band = true;
    s.bandFromHz = 10;
    s.bandToHz = 600000;
    w.applyChoices(s);
    EXPECT_TRUE(w.bandLabel()->text().endsWith(QStringLiteral("выше 500000 Гц нет данных")))
        << w.bandLabel()->text().toStdString();
    ASSERT_EQ(w.peakTable()->rowCount(), 2);
    EXPECT_EQ(cell(w.peakTable(), 0, 2), QLocale().toString(1.0, 'f', 2));
    EXPECT_NEAR(QLocale().toDouble(cell(w.peakTable(), 1, 2)), 0.005, 0.0005)
        << cell(w.peakTable(), 1, 2).toStdString();
}
