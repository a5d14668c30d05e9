// Cursors A and B over a known sine, and over a spectrum of two known tones: where they snap
// and what they read.
#include "spectrum/CursorReadout.h"
#include "spectrum/SpectrumCursors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace korvel;

namespace {

// 1000·sin(2π i / 100) rounded, as a 12-bit reading less its mid-scale would give; X = i × step.
// Line 1 ("XP2/конт.2") is high on the first half of every period.
PlottedSignal knownSine(int n, double step)
{
    PlottedSignal s;
    SignalChannel c;
    for (int i = 0; i < n; ++i) {
        c.points.append(i * step, std::nearbyint(1000.0 * std::sin(2 * std::numbers::pi * i / 100)));
        c.words.push_back(quint16((i % 100 < 50 ? 0x2000 : 0) | 2048));
    }
    s.channels.push_back(std::move(c));
    return s;
}

double sineAt(int i)
{
    return std::nearbyint(1000.0 * std::sin(2 * std::numbers::pi * i / 100));
}

}  // namespace

TEST(Cursors, SnapToTheNearestSampleATieToTheEvenOneWithinTheRecord)
{
    EXPECT_EQ(CursorIndexAt(10.4, 1.0, 500), 10);
    EXPECT_EQ(CursorIndexAt(10.5, 1.0, 500), 10);
    EXPECT_EQ(CursorIndexAt(11.5, 1.0, 500), 12);
    // The 1 MHz step: X = 100 µs lies nearest sample 105.
    EXPECT_EQ(CursorIndexAt(100.0, double(14.0L / 14.7456L), 30000), 105);
    EXPECT_EQ(CursorIndexAt(-3.0, 1.0, 500), 0);
    EXPECT_EQ(CursorIndexAt(1e9, 1.0, 500), 499);
    EXPECT_EQ(CursorIndexAt(1e300, 1e-300, 500), 499);
    EXPECT_EQ(CursorIndexAt(5.0, 1.0, 0), 0);
}

TEST(Cursors, OnePeriodOfASineApartReadsItsPeriodFrequencyAndStretch)
{
    // Samples 2 µs apart: a period of 100 samples is 200 µs, 5 kHz.
    const PlottedSignal s = knownSine(500, 2.0);
    CursorAxis axis;
    axis.step = 2.0;
    axis.time = true;
    axis.unit = QStringLiteral("мкс");
    axis.XUnitFactor = 1;
    axis.linesShown = {true, false, false};
    const CursorReadout r = ReadCursors(s, 125, 25, axis);

    EXPECT_DOUBLE_EQ(r.a.x, 250.0);
    EXPECT_DOUBLE_EQ(r.b.x, 50.0);
    EXPECT_DOUBLE_EQ(r.dx, -200.0);
    ASSERT_TRUE(r.frequencyHz);
    EXPECT_DOUBLE_EQ(*r.frequencyHz, 5000.0);
    EXPECT_DOUBLE_EQ(r.a.y[0], 1000.0);
    EXPECT_DOUBLE_EQ(r.dy[0], 0.0);
    EXPECT_EQ(r.a.lines[0], std::optional<bool>(true));
    EXPECT_EQ(r.a.lines[1], std::nullopt);

    // The stretch from sample 25 to 125, both ends in.
    double sum = 0.0, squares = 0.0;
    for (int i = 25; i <= 125; ++i) {
        sum += sineAt(i);
        squares += sineAt(i) * sineAt(i);
    }
    const Measurements& m = r.stretch[0];
    EXPECT_EQ(m.count, 101);
    EXPECT_DOUBLE_EQ(m.maximum, 1000.0);
    EXPECT_DOUBLE_EQ(m.minimum, -1000.0);
    EXPECT_DOUBLE_EQ(m.peakToPeak, 2000.0);
    EXPECT_NEAR(m.mean, sum / 101, 1e-9);
    EXPECT_NEAR(m.rms, std::sqrt(squares / 101), 1e-9);

    EXPECT_EQ(r.lines[0], QStringLiteral("A: X = 250 мкс; Y = 1000,0; XP2/конт.2 H"));
    EXPECT_EQ(r.lines[1], QStringLiteral("B: X = 50 мкс; Y = 1000,0; XP2/конт.2 H"));
    EXPECT_EQ(r.lines[2], QStringLiteral("Δt = -200 мкс; 1/Δt = 5000,00 Гц"));
    EXPECT_EQ(r.lines[3], QStringLiteral("ΔY = 0,0"));
    EXPECT_TRUE(r.lines[4].startsWith(QStringLiteral("Между A и B: мин -1000,0; макс 1000,0; размах 2000,0")));
}

TEST(Cursors, SampleNumbersHaveNoFrequencyAndASecondsAxisScalesIt)
{
    const PlottedSignal s = knownSine(300, 1.0);
    CursorAxis samples;
    const CursorReadout n = ReadCursors(s, 0, 50, samples);
    EXPECT_FALSE(n.frequencyHz);
    EXPECT_EQ(n.lines[2], QStringLiteral("ΔX = 50"));
    EXPECT_EQ(n.a.lines[0], std::nullopt);

    // The same 50 samples a millisecond apart on a seconds axis: 0,05 s, 20 Hz.
    CursorAxis seconds;
    seconds.step = 0.001;
    seconds.time = true;
    seconds.unit = QStringLiteral("с");
    seconds.XUnitFactor = 1000000;
    const CursorReadout t = ReadCursors(s, 0, 50, seconds);
    ASSERT_TRUE(t.frequencyHz);
    EXPECT_NEAR(*t.frequencyHz, 20.0, 1e-9);
    EXPECT_EQ(t.lines[2], QStringLiteral("Δt = 0,0500 с; 1/Δt = 20,0000 Гц"));
    // Both on one sample: no frequency to tell.
    EXPECT_FALSE(ReadCursors(s, 7, 7, seconds).frequencyHz);
}

TEST(Cursors, TwoChannelsReadEachAndNoDigitalLines)
{
    PlottedSignal s;
    s.kind = PlotKind::AccelerometerTwoChannels;
    for (int c = 0; c < 2; ++c) {
        SignalChannel ch;
        for (int i = 0; i < 10; ++i) {
            ch.points.append(i, c == 0 ? i : 100 - i);
            ch.words.push_back(0x8000);
        }
        s.channels.push_back(ch);
    }
    s.channels[1].points.x.removeLast();   // the Y channel one sample short
    s.channels[1].points.y.removeLast();
    CursorAxis axis;
    axis.linesShown = {true, true, true};
    const CursorReadout r = ReadCursors(s, 2, 9, axis);
    EXPECT_EQ(r.lines[0], QStringLiteral("A: X = 2; канал X = 2,000; канал Y = 98,000"));
    EXPECT_EQ(r.lines[1], QStringLiteral("B: X = 9; канал X = 9,000; канал Y = —"));
    EXPECT_EQ(r.stretch[0].count, 8);
    EXPECT_EQ(r.stretch[1].count, 7);
    EXPECT_DOUBLE_EQ(r.stretch[1].minimum, 92.0);
}

namespace {

// 100 kHz sampling, 1000 points: bins 100 Hz apart. 1 V at 1 kHz and 0.5 V at 3 kHz sit on
// bins 10 and 30, where the rectangular window reads them exactly.
SignalAnalysis twoTones(SpectrumScale scale = SpectrumScale::Amplitude, bool decibels = false)
{
    PlottedSignal s;
    s.samplePeriodSeconds = 1e-5;
    SignalChannel c;
    for (int i = 0; i < 1000; ++i)
        c.points.append(i * 10.0, std::sin(2 * std::numbers::pi * 1000 * i * 1e-5)
                                      + 0.5 * std::sin(2 * std::numbers::pi * 3000 * i * 1e-5));
    s.channels.push_back(c);
    AnalysisOptions o;
    o.spectrum.window = WindowFunction::Rectangular;
    o.scale = scale;
    o.decibels = decibels;
    return AnalyseSignal(s, 0.0, 1e9, o, QString());
}

}  // namespace

TEST(SpectrumCursors, ReadTwoTonesTheirDistanceAndLevelDifference)
{
    const SignalAnalysis a = twoTones();
    // The axis is in kHz (the spectrum reaches 50 kHz): 1,04 kHz is nearest bin 10.
    EXPECT_EQ(SpectrumBinAt(a, 1.04), 10);
    EXPECT_EQ(SpectrumBinAt(a, 2.96), 30);
    EXPECT_DOUBLE_EQ(SpectrumBinX(a, 30), 3.0);

    const SpectrumCursorReadout r = ReadSpectrumCursors(a, 10, 30);
    EXPECT_DOUBLE_EQ(r.frequencyA, 1000.0);
    EXPECT_DOUBLE_EQ(r.frequencyB, 3000.0);
    EXPECT_NEAR(r.amplitudeA[0], 1.0, 1e-9);
    EXPECT_NEAR(r.amplitudeB[0], 0.5, 1e-9);
    EXPECT_NEAR(r.levelDb[0], 20 * std::log10(0.5), 1e-6);
    EXPECT_EQ(r.lines[0], QStringLiteral("A: f = 1,00 кГц; A = 1"));
    EXPECT_EQ(r.lines[2], QStringLiteral("Δf = 2,00 кГц; ΔL = -6,0 дБ"));
    EXPECT_EQ(ReadSpectrumCursors(twoTones(SpectrumScale::Amplitude, true), 10, 30).lines[1],
              QStringLiteral("B: f = 3,00 кГц; A = -6,0 дБ"));
    // The values are read in the chart's scale, the level difference stays that of amplitudes.
    const SpectrumCursorReadout rms = ReadSpectrumCursors(twoTones(SpectrumScale::Rms), 10, 30);
    EXPECT_EQ(rms.lines[0], QStringLiteral("A: f = 1,00 кГц; СКЗ = 0,70711"));
    EXPECT_EQ(rms.lines[2], r.lines[2]);
}

TEST(SpectrumCursors, HarmonicsOfAStopAtTheLastBin)
{
    const SignalAnalysis a = twoTones();
    const QVector<double> h = HarmonicsOf(a, 10);
    ASSERT_EQ(h.size(), 9);
    for (int k = 2; k <= 10; ++k)
        EXPECT_NEAR(h[k - 2], k, 1e-9);   // kHz
    // 7 kHz: its 2× to 7× fit below 50 kHz.
    EXPECT_EQ(HarmonicsOf(a, 70).size(), 6);
    EXPECT_TRUE(HarmonicsOf(a, 0).isEmpty());
}
