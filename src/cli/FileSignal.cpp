#include "cli/FileSignal.h"

#include "cli/Options.h"
#include "cli/Printed.h"
#include "files/DataFileIo.h"
#include "text/NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvel::cli {

XUnit XUnitOfName(const QString& AxisXName)
{
    for (int index = 0; index < 3; ++index) {
        const XUnit unit = CalcScales(index, 1);
        if (AxisXName.endsWith(QStringLiteral(", ") + unit.XUnitName))
            return unit;
    }
    return CalcScales(0, 1);
}

std::optional<PointRange> PointsWithinTime(int points, double periodUs, int XUnitFactor,
                                           std::optional<double> from, std::optional<double> to)
{
    PointRange r{0, points - 1};
    if (!from && !to)
        return r;
    if (!(periodUs > 0) || !std::isfinite(periodUs))
        return std::nullopt;
    const auto x = [&](long long i) { return SampleX(i, 0, periodUs, XUnitFactor); };
    const double step = periodUs / XUnitFactor;
    if (from) {
        long long i = std::max(0LL, static_cast<long long>(std::ceil(*from / step)));
        while (i > 0 && x(i - 1) >= *from)
            --i;
        while (i < points && x(i) < *from)
            ++i;
        r.first = int(std::min<long long>(i, points));
    }
    if (to) {
        long long i = std::min<long long>(points - 1, static_cast<long long>(std::floor(*to / step)));
        while (i + 1 < points && x(i + 1) <= *to)
            ++i;
        while (i >= 0 && x(i) > *to)
            --i;
        r.last = int(std::max<long long>(i, -1));
    }
    return r;
}

std::optional<ScaleCoefficients> FileScaleOf(const LoadedDataFile& f, QString* error)
{
    const ScaleCoefficients own{f.ScaleK, f.ScaleShift};
    try {
        CheckScaledValuesFinite(own);
    } catch (const ConversionError& e) {
        *error = e.message();
        return std::nullopt;
    }
    return own;
}

std::optional<ScaleCoefficients> ChartScaleOf(const LoadedDataFile& f, const SettingsValues& s,
                                              QString* error)
{
    if (f.Variant == VariantOrdinary)
        return FileScaleOf(f, error);
    try {
        return GetScaleParams(ScaleInputsFrom(s, CalcScales(s.cbXscale, 1).XUnitName)).coefficients;
    } catch (const ConversionError& e) {
        *error = e.message();
        return std::nullopt;
    }
}

std::optional<PointRange> FilePointsWithin(const LoadedDataFile& f, const ScaleCoefficients& scale,
                                           std::optional<double> from, std::optional<double> to)
{
    // Display mode 0 plots values against time in the unit factor given: the X the export
    // prints, for an ordinary and an accelerometer record alike.
    const PlottedSignal timed = PlotSignal(f.record, {0, XUnitOfName(f.AxisXName).XUnitFactor, scale});
    const QVector<double> none;
    const QVector<double>& x = timed.channels.empty() ? none : timed.channels.front().points.x;
    if (!from && !to)
        return PointRange{0, int(x.size()) - 1};
    if (!(timed.samplePeriodSeconds > 0) || !std::isfinite(timed.samplePeriodSeconds))
        return std::nullopt;
    const double any = std::numeric_limits<double>::infinity();
    const auto begin = std::lower_bound(x.cbegin(), x.cend(), from.value_or(-any));
    const auto end = std::upper_bound(begin, x.cend(), to.value_or(any));
    return PointRange{int(begin - x.cbegin()), int(end - x.cbegin()) - 1};
}

XLimits LimitsOf(const PlottedSignal& s, const PointRange& r)
{
    // Both channels of a record share their X, so the first channel's limits hold both.
    const QVector<double>& x = s.channels.empty() ? QVector<double>() : s.channels.front().points.x;
    if (r.first > r.last || r.first < 0 || r.last >= x.size())
        return {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    return {x[r.first], x[r.last]};
}

void AddSignalOptions(CommandLine& cl)
{
    AddSettingsOption(cl);
    cl.addOption({QStringLiteral("display-mode"),
                  QStringLiteral("Оси: 0 значения/время, 1 единицы АЦП/выборки, 2 значения/выборки, "
                                 "3 единицы АЦП/время (по умолчанию из настроек)."),
                  QStringLiteral("N")});
    cl.addOption({QStringLiteral("from"),
                  QStringLiteral("Первая точка: от этого времени (в единицах оси X файла, например "
                                 "мкс)."),
                  QStringLiteral("X")});
    cl.addOption({QStringLiteral("to"),
                  QStringLiteral("Последняя точка: до этого времени включительно."), QStringLiteral("X")});
    cl.addPositional(QStringLiteral("ФАЙЛ"), QStringLiteral("Файл данных (*.dtw)."), QString());
}

std::optional<SignalInput> ReadSignalInput(CommandLine& cl, int* rc)
{
    const double any = std::numeric_limits<double>::infinity();
    std::optional<double> from;
    std::optional<double> to;
    if (cl.isSet(QStringLiteral("from")))
        from = cl.real(QStringLiteral("from"), -any, any, 0);
    if (cl.isSet(QStringLiteral("to")))
        to = cl.real(QStringLiteral("to"), -any, any, 0);
    if (from && to && *from > *to)
        cl.reject(QStringLiteral("--from больше --to"));
    if (cl.positional().size() != 1)
        cl.reject(QStringLiteral("нужен один ФАЙЛ"));
    const std::optional<SettingsValues> settings = SettingsFrom(cl);
    if (!settings) {
        *rc = ExitFailure;
        return std::nullopt;
    }
    const int mode = cl.integer(QStringLiteral("display-mode"), 0, 3, settings->cbShowK);
    if (cl.failed()) {
        *rc = cl.usageError();
        return std::nullopt;
    }

    const QString path = cl.positional().front();
    DataFileLoadResult r = LoadDataFile(path);
    if (!r.file) {
        *rc = Failure(r.error->message);
        return std::nullopt;
    }
    const LoadedDataFile& f = *r.file;
    QString error;
    const std::optional<ScaleCoefficients> scale = ChartScaleOf(f, *settings, &error);
    if (!scale) {
        *rc = Failure(error);
        return std::nullopt;
    }
    // The X unit of the file's own axis name, which --from and --to are given in.
    const XUnit unit = XUnitOfName(f.AxisXName);
    const int factor = unit.XUnitFactor;
    SignalInput in;
    in.signal = PlotSignal(f.record, {mode, factor, *scale});
    in.titles = AxisTitlesFor(mode, f.AxisYName, unit.XUnitName);
    const std::optional<PointRange> range = FilePointsWithin(f, *scale, from, to);
    if (!range) {
        *rc = Failure(QStringLiteral("%1: в заголовке нет периода выборки, --from и --to неприменимы")
                          .arg(path));
        return std::nullopt;
    }
    in.limits = LimitsOf(in.signal, *range);
    // The file moves in: the one recording the report draws its chart from.
    in.file = std::move(*r.file);
    in.scale = *scale;
    in.displayMode = mode;
    in.unit = unit;
    return in;
}

}  // namespace korvel::cli
