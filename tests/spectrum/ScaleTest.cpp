// The scales of the spectrum, the band RMS, the averaging and the peak list, each against a
// signal whose answer is known without the code under test.
#include "spectrum/Spectrum.h"

#include <gtest/gtest.h>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

using namespace korvel;

namespace {

constexpr double Pi = std::numbers::pi;
constexpr WindowFunction AllWindows[] = {WindowFunction::Hann, WindowFunction::Rectangular,
                                         WindowFunction::FlatTop};

std::vector<double> whiteNoise(int n, double sigma, unsigned seed)
{
    std::mt19937 gen(seed);
    std::normal_distribution<double> noise(0.0, sigma);
    std::vector<double> y(static_cast<size_t>(n));
    for (double& v : y)
        v = noise(gen);
    return y;
}

std::vector<double> tone(int n, double rate, double f, double a, double offset = 0.0)
{
    std::vector<double> y(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        y[size_t(i)] = offset + a * std::sin(2 * Pi * f * i / rate + 0.7);
    return y;
}

double meanOver(const QVector<double>& v, int from, int to)
{
    double sum = 0.0;
    for (int k = from; k < to; ++k)
        sum += v[k];
    return sum / (to - from);
}

}  // namespace

TEST(SpectrumScale, WhiteNoiseDensityIsTwoVarianceOverRateWhateverTheWindowAndSegment)
{
    const double sigma = 3.0;
    const double rate = 50000.0;
    const std::vector<double> y = whiteNoise(240000, sigma, 11);
    const double level = 2 * sigma * sigma / rate;
    for (const WindowFunction w : AllWindows)
        for (const int segment : {4096, 3000, 1000})
            for (const int overlap : {0, 50, 75}) {
                const Spectrum s = ComputeSpectrum(y, rate, Welch(w, segment, overlap));
                ASSERT_EQ(s.transformLength, segment);
                const QVector<double> psd = ScaledValues(s, SpectrumScale::Psd);
                const int bins = int(psd.size());
                EXPECT_NEAR(meanOver(psd, 1, bins - 1), level, 0.03 * level)
                    << int(w) << " " << segment << " " << overlap;
                const QVector<double> asd = ScaledValues(s, SpectrumScale::Asd);
                EXPECT_DOUBLE_EQ(asd[bins / 2] * asd[bins / 2], psd[bins / 2]);
                // Summed over every bin, the density gives the variance back.
                EXPECT_NEAR(ComputeBandRms(s, 0, rate / 2).rms, sigma, 0.02 * sigma);
            }
    // The amplitude scale of the same noise depends on the segment: it is no density.
    const double a1 = meanOver(ComputeSpectrum(y, rate, Welch(WindowFunction::Hann, 1024)).amplitude, 1, 512);
    const double a2 = meanOver(ComputeSpectrum(y, rate, Welch(WindowFunction::Hann, 4096)).amplitude, 1, 2048);
    EXPECT_NEAR(a1 / a2, 2.0, 0.1);
    // dB of a density is ten times its logarithm.
    EXPECT_DOUBLE_EQ(ToDecibels(1e-4, SpectrumScale::Psd), -40.0);
    EXPECT_DOUBLE_EQ(ToDecibels(1e-4, SpectrumScale::Asd), -80.0);
}

TEST(SpectrumScale, AToneReadsAOverRootTwoInRmsAndInItsBandWithAnyWindow)
{
    const double rate = 10000.0;
    const double a = 4.0;
    for (const double f : {1000.0, 1234.56}) {
        const std::vector<double> y = tone(20000, rate, f, a, 2.5);
        for (const WindowFunction w : AllWindows) {
            const Spectrum s = ComputeSpectrum(y, rate, Welch(w, 0));
            const BandRms band = ComputeBandRms(s, f - 100, f + 100);
            // A rectangle leaks slowly: a tone between bins loses a little past the band.
            const double loss = w == WindowFunction::Rectangular && f != 1000.0 ? 0.01 : 1e-4;
            EXPECT_NEAR(band.rms, a / std::sqrt(2.0), loss * a) << int(w) << " at " << f;
            EXPECT_TRUE(band.reached);
            // Outside the tone's band there is nothing; from 0 Hz the offset counts.
            EXPECT_LT(ComputeBandRms(s, 2000, 4000).rms, 0.01 * a) << int(w);
            if (w != WindowFunction::Rectangular) {
                EXPECT_NEAR(ComputeBandRms(s, 0, 5000).rms, std::sqrt(2.5 * 2.5 + a * a / 2), 1e-3);
            }
        }
    }
    const Spectrum onBin = ComputeSpectrum(tone(20000, rate, 1000.0, a), rate, {});
    EXPECT_NEAR(ScaledValue(onBin, 2000, SpectrumScale::Rms), a / std::sqrt(2.0), 1e-9);
    // A band that ends past half the sample rate is not all there.
    EXPECT_FALSE(ComputeBandRms(onBin, 10, 6000).reached);
}

TEST(SpectrumAveraging, PeakHoldKeepsAToneThatTheMeanHalves)
{
    // 100 Hz in the first half, 300 Hz in the second: each is in half of the segments.
    const double rate = 8192.0;
    std::vector<double> y = tone(65536, rate, 100.0, 2.0);
    const std::vector<double> second = tone(32768, rate, 300.0, 2.0);
    std::copy(second.begin(), second.end(), y.begin() + 32768);
    const SpectrumOptions mean = Welch(WindowFunction::Hann, 4096, 0);
    SpectrumOptions hold = mean;
    hold.averaging = Averaging::PeakHold;
    const Spectrum m = ComputeSpectrum(y, rate, mean);
    const Spectrum h = ComputeSpectrum(y, rate, hold);
    ASSERT_EQ(m.segments, 16);
    EXPECT_NEAR(m.amplitude[50], 2.0 / std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(m.amplitude[150], 2.0 / std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(h.amplitude[50], 2.0, 1e-9);
    EXPECT_NEAR(h.amplitude[150], 2.0, 1e-9);
    // Overlap: segments every half or quarter length, and none past the end.
    EXPECT_EQ(ComputeSpectrum(y, rate, Welch(WindowFunction::Hann, 4096, 50)).segments, 31);
    EXPECT_EQ(ComputeSpectrum(y, rate, Welch(WindowFunction::Hann, 4096, 75)).segments, 61);
    EXPECT_EQ(ComputeSpectrum(y, rate, Welch(WindowFunction::Hann, 5000, 0)).segments, 13);
}

TEST(SpectrumPeaks, ASquareWaveListsItsOddHarmonicsAtFourAOverPiK)
{
    // 100 Hz at 100 kS/s: 1000 samples a period, half high, half low; 1 Hz bins.
    const double rate = 100000.0;
    const double a = 3.0;
    std::vector<double> y(100000);
    for (size_t i = 0; i < y.size(); ++i)
        y[i] = (i % 1000) < 500 ? a : -a;
    const Spectrum s = ComputeSpectrum(y, rate, Welch(WindowFunction::Hann, 0));
    const std::vector<SpectrumPeak> peaks = FindPeaks(s, 5);
    ASSERT_EQ(peaks.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        const int k = 2 * i + 1;
        EXPECT_NEAR(peaks[size_t(i)].frequencyHz, 100.0 * k, 1e-6) << k;
        EXPECT_NEAR(peaks[size_t(i)].order, k, 1e-9) << k;
        // Sampling bends the ideal series by (πk/1000)/sin(πk/1000): under 0.03 % here.
        EXPECT_NEAR(peaks[size_t(i)].amplitude, 4 * a / (Pi * k), 5e-4 * 4 * a / (Pi * k)) << k;
    }
    EXPECT_EQ(s.peak->bin, peaks.front().bin);
}

TEST(SpectrumPeaks, NeighboursCloserThanAMainLobeAreOnePeakAndTonesBetweenBinsArePlaced)
{
    const double rate = 8192.0;
    std::vector<double> y = tone(8192, rate, 1000.3, 5.0);
    const std::vector<double> second = tone(8192, rate, 2500.7, 2.0);
    for (size_t i = 0; i < y.size(); ++i)
        y[i] += second[i];
    for (const WindowFunction w : AllWindows) {
        const std::vector<SpectrumPeak> peaks = FindPeaks(ComputeSpectrum(y, rate, Welch(w, 0)), 2);
        ASSERT_EQ(peaks.size(), 2u);
        EXPECT_NEAR(peaks[0].frequencyHz, 1000.3, 0.1) << int(w);
        EXPECT_NEAR(peaks[1].frequencyHz, 2500.7, 0.1) << int(w);
        EXPECT_NEAR(peaks[1].order, 2500.7 / 1000.3, 1e-3);
        for (const SpectrumPeak& p : FindPeaks(ComputeSpectrum(y, rate, Welch(w, 0)), 40))
            if (p.bin != peaks[0].bin) {
                EXPECT_GE(std::abs(p.bin - peaks[0].bin), MainLobeBins(w));
            }
    }
}
