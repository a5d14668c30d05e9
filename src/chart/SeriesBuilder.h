#pragma once
// The points of every chart series, computed from the data and the display options without
// any widget: the window, the command-line program and the tests all call these.

#include "chart/DigitalLevels.h"
#include "chart/Scaling.h"
#include "record/Recording.h"

#include <QByteArrayView>
#include <QVector>
#include <array>
#include <optional>

namespace korvel {

// X and Y lists, sorted by X, ready for QCPGraph::setData(x, y, true).
struct PointSeries {
    QVector<double> x;
    QVector<double> y;

    void reserve(qsizetype n) { x.reserve(n); y.reserve(n); }
    void append(double px, double py) { x.append(px); y.append(py); }
    // Sized once, filled through the returned writer: no per-point capacity checks.
    class Writer {
    public:
        void put(double px, double py) { x_[k_] = px; y_[k_] = py; ++k_; }
    private:
        friend struct PointSeries;
        Writer(double* x, double* y) : x_(x), y_(y) {}
        double* x_;
        double* y_;
        qsizetype k_ = 0;
    };
    Writer sized(qsizetype n)
    {
        x.resize(n);
        y.resize(n);
        return Writer(x.data(), y.data());
    }
    qsizetype size() const { return x.size(); }
    bool isEmpty() const { return x.isEmpty(); }
};

enum class PlotKind { Ordinary, AccelerometerOneChannel, AccelerometerTwoChannels, RealTime };

// The plot of each kind of mode (ModeOf); an accelerometer record with third byte 3 holds two
// channels.
PlotKind PlotKindOf(QByteArrayView ModeCommand);

struct DisplayOptions {
    int displayMode = 0;            // cbShowK
    int XUnitFactor = 1;
    bool cbInt = false;             // smoothing on
    int seInt = 8;                  // its N
    std::array<bool, 3> cbDgt{};    // cbDgt1..cbDgt3
    bool cbTermo = false;
    bool cbY = false;
};

constexpr int AccelOffsetX = -15;
constexpr int AccelOffsetY = 77;

struct ChartPlot {
    PlotKind kind = PlotKind::Ordinary;
    PointSeries Series1;
    PointSeries Series2;
    std::array<PointSeries, 3> SeriDgt;   // SeriDgt1..SeriDgt3
    PointSeries SeriTermo;
    std::optional<double> XStep;                 // set by the ordinary plot only
    std::optional<DigitalLevelsResult> digital;  // ordinary plot only
    bool AccelerometerMode = false;              // the accelerometer plots set it
    bool series1TakesSeries2Colour = false;      // one channel, Y chosen
    // The step the read-out divides by: XStep, or the accelerometer's own sample spacing.
    double readoutStep = 1.0;
};

// The ordinary and accelerometer plots (all series cleared first, so the result replaces them).
// A real-time record gives an empty result of kind RealTime; use BuildRealTimePlot.
ChartPlot BuildChartPlot(const Recording& record, const DisplayOptions& options,
                         const ScaleCoefficients& scale, const ZoomState& zoom);

// The accelerometer period in the X unit (1 for sample numbers).
double AccelXStep(int displayMode, double AccelPeriod, int XUnitFactor);

// Secondary window levels: line 1 at 5/4, line 2 at 3/2, line 3 at 1/0.
constexpr std::array<double, 3> SecondaryHigh{5.0, 3.0, 1.0};
constexpr std::array<double, 3> SecondaryLow{4.0, 2.0, 0.0};

struct RealTimePlot {
    double XStep = 1.0;
    // rebuild: Series1 replaces the series (SeriTermo keeps its points). Otherwise Series1 and
    // SeriTermo hold the points to append (none when there was no new point to plot).
    bool rebuild = false;
    PointSeries Series1;
    PointSeries SeriTermo;
    int RealTimeCount = -1;         // the count after this plot
    bool showSecondary = false;     // a digital line is checked: show and align the window
    // For each checked line: points to append, or on a rebuild the whole series.
    std::array<bool, 3> secondaryLine{};
    std::array<PointSeries, 3> secondaryDgt;
};

// appendNewest is ShowChart's origin timRx: plot the point at RealTimeCount (none while the
// start's first reply is awaited) with CurrentTemperature, and count it.
RealTimePlot BuildRealTimePlot(const Recording& record, double CurrentTemperature,
                               const DisplayOptions& options, const ScaleCoefficients& scale,
                               bool appendNewest);

}  // namespace korvel
