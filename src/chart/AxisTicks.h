#pragma once
// Where an axis puts its numbers and how it writes them: fixed notation with the locale's
// digit grouping ("1 000 000" in Russian, never "1E+06"), and no more ticks than their labels
// leave room for.

#include <QLocale>
#include <QString>
#include <QVector>
#include <functional>

namespace korvel {

struct AxisTickSpace {
    double lengthPixels = 0.0;       // the axis' length on the screen
    double gapPixels = 12.0;         // free room between two neighbouring labels
    double minSpacingPixels = 50.0;  // ticks closer than this are clutter even when labels fit
};

struct AxisTicks {
    double step = 0.0;               // 1, 2, 2.5 or 5 times a power of ten
    int decimals = 0;                // what the step needs, no more
    int subTicks = 0;                // between two ticks
    QVector<double> values;
    QVector<QString> labels;
};

// The size of a label along the axis: its width on a horizontal axis, its height on a
// vertical one.
using LabelExtent = std::function<double(const QString&)>;

// The finest step whose labels fit side by side with the gap between them; a range that is
// not a range of numbers gets no ticks.
AxisTicks ChooseAxisTicks(double lower, double upper, const AxisTickSpace& space,
                          const LabelExtent& extent, const QLocale& locale);

// A tick's number: fixed notation, `decimals` after the separator, grouped as the locale
// groups digits.
QString TickLabel(double value, int decimals, const QLocale& locale);

}  // namespace korvel
