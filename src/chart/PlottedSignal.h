#pragma once
// The signal of a record as the main chart plots it (display mode and scaling in force, no
// smoothing, no digital or temperature trace), with the raw word behind every point: what the
// spectrum, the measurements and the open export formats read.

#include "chart/SeriesBuilder.h"

#include <QByteArray>
#include <vector>

namespace korvel {

// A record kept by value, so a window can hold on to it while the acquisition moves on.
struct RecordData {
    QByteArray SampleBuffer;
    int DataKind = 1;
    QByteArray ModeCommand;
    double SamplePeriod = 0.0;      // µs
    double AccelPeriod = 0.0007;    // s
    // Real-time records: the points counted so far, and their temperatures when recorded.
    std::vector<quint16> RealTimeSignal;
    std::vector<qint16> RealTimeTemperature;
};

struct SignalView {
    int displayMode = 0;
    int XUnitFactor = 1;
    ScaleCoefficients scale;
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

PlottedSignal PlotSignal(const RecordData& record, const SignalView& view);

struct IndexRange {
    qsizetype first = 0;
    qsizetype count = 0;
};

// The points whose X lies within [from, to], as the chart counts its visible points.
IndexRange PointsWithin(const PointSeries& series, double from, double to);

}  // namespace korvel
