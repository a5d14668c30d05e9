#pragma once
// The status-bar read-out of the value under the mouse and of the digital lines, and the
// status-bar click that switches it.

#include <QByteArrayView>
#include <QString>
#include <QVector>
#include <array>
#include <optional>

namespace korvel {

struct ReadoutInput {
    bool ReadoutOn = false;
    double bottomAxisMax = 0.0;
    double mouseValue = 0.0;            // bottom-axis value at the mouse's pixel X
    double XStep = 1.0;                 // for accelerometer data: its own step
    int lastVisibleIndex = -1;          // of Series1
    const QVector<double>* series1Y = nullptr;
    std::array<bool, 3> cbDgt{};
    std::array<const QVector<double>*, 3> dgtY{};   // Y lists of SeriDgt1..3
    double DigitalCentre = 0.0;
};

struct ReadoutTexts {
    qsizetype index = 0;                // c, the point read
    QString panel1;
    QString panel2;
};

// The sample under an X value: X / step rounded, a tie to the even index. Nothing for a zero
// step or a value too far off to count samples by.
std::optional<long long> SampleIndexAt(double x, double step);

// Chart1MouseMove: nothing (the panels keep their texts) when the read-out is off, the axis
// ends at or below 1.0, or the mouse is off the visible points of Series1.
std::optional<ReadoutTexts> Chart1MouseMoveReadout(const ReadoutInput& in);

struct StatusClickResult {
    bool ReadoutOn = false;
    std::optional<QString> panel1;      // set: replace the panel's text
    std::optional<QString> panel2;
};

// statusClick. The real-time commands keep the read-out off, the panels empty.
StatusClickResult statusClick(bool ReadoutOn, QByteArrayView ModeCommand);

}  // namespace korvel
