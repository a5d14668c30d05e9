#pragma once
// The signal of a record as the main chart plots it (display mode and scaling in force, no
// smoothing, no digital or temperature trace), with the raw word behind every point: what the
// spectrum, the measurements and the open export formats read.

#include "chart/SeriesBuilder.h"

#include <vector>

namespace korvel {

struct SignalView {
    int displayMode = 0;
    int XUnitFactor = 1;
    ScaleCoefficients scale;
    // A real-time record's temperatures are taken when its temperature trace holds points.
    bool realTimeTemperature = false;
};

struct SignalChannel {
    PointSeries points;             // X and Y as the chart plots them
    std::vector<quint16> words;     // the raw word behind each point
};

struct PlottedSignal {
    PlotKind kind = PlotKind::Ordinary;
    // One channel; two for a two-channel accelerometer record (X, then Y).
    std::vector<SignalChannel> channels;
    // Quarter degrees for each point of the first channel, when the record carries them.
    std::vector<qint16> temperature;
    double samplePeriodSeconds = 0.0;
};

PlottedSignal PlotSignal(const Recording& record, const SignalView& view);

struct IndexRange {
    qsizetype first = 0;
    qsizetype count = 0;
};

// The points whose X lies within [from, to], as the chart counts its visible points.
IndexRange PointsWithin(const PointSeries& series, double from, double to);

}  // namespace korvel
