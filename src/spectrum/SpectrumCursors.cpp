#include "spectrum/SpectrumCursors.h"

#include "spectrum/CursorReadout.h"
#include "text/NumberFormat.h"

#include <cmath>
#include <limits>

namespace korvel {

namespace {

const Spectrum* firstSpectrum(const SignalAnalysis& a)
{
    if (a.channels.empty() || a.channels.front().spectrum.amplitude.isEmpty())
        return nullptr;
    return &a.channels.front().spectrum;
}

// A channel's bin at a frequency: its own nearest (two channels of unequal length have slightly
// different bins); -1 when it has none.
int binAt(const Spectrum& s, double hz)
{
    if (s.amplitude.isEmpty() || !(s.resolutionHz > 0.0))
        return -1;
    return int(CursorIndexAt(hz, s.resolutionHz, s.amplitude.size()));
}

}  // namespace

int SpectrumBinAt(const SignalAnalysis& a, double x)
{
    const Spectrum* s = firstSpectrum(a);
    if (!s)
        return 0;
    const FrequencyAxis axis = FrequencyAxisFor(a);
    return int(CursorIndexAt(x, s->resolutionHz / axis.hzPerUnit, s->amplitude.size()));
}

double SpectrumBinX(const SignalAnalysis& a, int bin)
{
    const Spectrum* s = firstSpectrum(a);
    return s ? s->frequencyOf(bin) / FrequencyAxisFor(a).hzPerUnit : 0.0;
}

SpectrumCursorReadout ReadSpectrumCursors(const SignalAnalysis& a, int binA, int binB)
{
    SpectrumCursorReadout r;
    const Spectrum* first = firstSpectrum(a);
    if (!first)
        return r;
    const FrequencyAxis axis = FrequencyAxisFor(a);
    r.frequencyA = first->frequencyOf(binA);
    r.frequencyB = first->frequencyOf(binB);
    std::vector<int> binsA, binsB;
    for (const ChannelAnalysis& c : a.channels) {
        binsA.push_back(binAt(c.spectrum, r.frequencyA));
        binsB.push_back(binAt(c.spectrum, r.frequencyB));
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double ampA = binsA.back() < 0 ? nan : c.spectrum.amplitude[binsA.back()];
        const double ampB = binsB.back() < 0 ? nan : c.spectrum.amplitude[binsB.back()];
        r.amplitudeA.push_back(ampA);
        r.amplitudeB.push_back(ampB);
        // The same in every scale: a density goes as the amplitude squared.
        r.levelDb.push_back(ampA > 0.0 && ampB > 0.0 ? 20.0 * std::log10(ampB / ampA)
                                                     : std::numeric_limits<double>::quiet_NaN());
    }
    // Each channel's value as the chart shows it: in the scale, in dB when chosen.
    const auto values = [&](const char16_t* name, double hz, const std::vector<int>& bins) {
        QString line = QString::fromUtf16(name) + QStringLiteral(": f = ") + FrequencyText(axis, hz);
        for (size_t c = 0; c < bins.size(); ++c) {
            const QString channel = ChannelName(a, c);
            line += QStringLiteral("; ") + (channel.isEmpty() ? QString() : channel + QStringLiteral(": "))
                    + (bins[c] < 0 ? QStringLiteral("—") : ShownValueText(a, c, bins[c]));
        }
        return line;
    };
    r.lines << values(u"A", r.frequencyA, binsA) << values(u"B", r.frequencyB, binsB);
    QString delta = QStringLiteral("Δf = ") + FrequencyText(axis, r.frequencyB - r.frequencyA);
    for (size_t c = 0; c < r.levelDb.size(); ++c) {
        const QString channel = ChannelName(a, c);
        delta += QStringLiteral("; ΔL") + (channel.isEmpty() ? QString() : QStringLiteral(", ") + channel)
                 + QStringLiteral(" = ")
                 + (std::isfinite(r.levelDb[c]) ? FormatFixed(r.levelDb[c], 1) + QStringLiteral(" дБ")
                                                : QStringLiteral("—"));
    }
    r.lines << delta;
    return r;
}

QVector<double> HarmonicsOf(const SignalAnalysis& a, int binA)
{
    QVector<double> x;
    const Spectrum* s = firstSpectrum(a);
    if (!s || binA <= 0)
        return x;
    const double top = s->frequencyOf(int(s->amplitude.size()) - 1);
    const double hzPerUnit = FrequencyAxisFor(a).hzPerUnit;
    for (int k = 2; k <= LastHarmonic; ++k) {
        const double hz = k * s->frequencyOf(binA);
        if (hz > top)
            break;
        x.append(hz / hzPerUnit);
    }
    return x;
}

}  // namespace korvel
