#include "spectrum/Integration.h"

#include "spectrum/Fft.h"

#include <QStringList>

#include <cmath>
#include <numbers>

namespace korvel {

int IntegrationPower(Quantity q)
{
    return q == Quantity::Velocity ? 1 : q == Quantity::Displacement ? 2 : 0;
}

IntegratedUnit IntegratedUnitFor(const QString& yTitle, Quantity q)
{
    // A title without a name before a comma is the unit itself ("единицы АЦП"); none is "ед".
    if (q == Quantity::Acceleration) {
        const QString unit = yTitle.section(QStringLiteral(", "), -1).trimmed();
        return {1.0, unit.isEmpty() ? QStringLiteral("ед") : unit, true};
    }
    const QString unit = yTitle.contains(QStringLiteral(", "))
                             ? yTitle.section(QStringLiteral(", "), -1).trimmed()
                             : QString();
    static const QStringList metres = {QStringLiteral("м/с/с"), QStringLiteral("м/с²"),
                                       QStringLiteral("м/с^2"), QStringLiteral("m/s²"),
                                       QStringLiteral("m/s/s"), QStringLiteral("m/s^2")};
    double perMetre = 0.0;
    if (metres.contains(unit))
        perMetre = 1.0;
    else if (unit == QLatin1String("g"))
        perMetre = StandardGravity;
    const bool velocity = q == Quantity::Velocity;
    if (perMetre == 0.0)
        return {1.0, velocity ? QStringLiteral("ед·с") : QStringLiteral("ед·с²"), false};
    return {perMetre * (velocity ? 1e3 : 1e6),
            velocity ? QStringLiteral("мм/с") : QStringLiteral("мкм"), true};
}

double IntegrationWeight(const Integration& in, double frequencyHz)
{
    const int p = IntegrationPower(in.quantity);
    if (p == 0)
        return 1.0;
    if (!(frequencyHz > 0.0) || frequencyHz < in.lowCutHz)
        return 0.0;
    const double omega = 2 * std::numbers::pi * frequencyHz;
    return in.gain / (p == 1 ? omega : omega * omega);
}

std::span<const double> IntegrateSignal(std::span<const double> y, double sampleRateHz,
                                        const Integration& in)
{
    const int n = static_cast<int>(y.size());
    if (in.quantity == Quantity::Acceleration || n == 0)
        return y;
    // A rate that is no positive number weighs every bin 0: the signal comes back as zeros.
    RealFft& forward = RealFft::forLength(n);
    std::copy(y.begin(), y.end(), forward.input().begin());
    forward.execute();
    InverseRealFft& inverse = InverseRealFft::forLength(n);
    const std::span<const std::complex<double>> bins = forward.output();
    const std::span<std::complex<double>> back = inverse.input();
    // 1 / (jω) = -j / ω; 1 / (jω)² = -1 / ω². The 1 / n of the inverse goes in here too.
    const std::complex<double> turn = in.quantity == Quantity::Velocity ? std::complex<double>(0, -1)
                                                                        : std::complex<double>(-1, 0);
    for (size_t k = 0; k < bins.size(); ++k)
        back[k] = bins[k] * turn * (IntegrationWeight(in, double(k) * sampleRateHz / n) / n);
    inverse.execute();
    return inverse.output();
}

}  // namespace korvel
