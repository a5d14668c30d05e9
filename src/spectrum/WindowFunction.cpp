#include "spectrum/WindowFunction.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace korvel {

namespace {

// w[n] = a0 - a1 cos(2πn/N) + a2 cos(4πn/N) - ...
std::span<const double> coefficients(WindowFunction f)
{
    static constexpr double rectangular[] = {1.0};
    static constexpr double hann[] = {0.5, 0.5};
    // The flat-top of the usual analysers: under 0.01 dB between two bins.
    static constexpr double flatTop[] = {0.21557895, 0.41663158, 0.277263158, 0.083578947,
                                         0.006947368};
    switch (f) {
    case WindowFunction::Rectangular: return rectangular;
    case WindowFunction::FlatTop: return flatTop;
    case WindowFunction::Hann: break;
    }
    return hann;
}

double sinc(double x)
{
    if (x == 0.0)
        return 1.0;
    const double px = std::numbers::pi * x;
    return std::sin(px) / px;
}

}  // namespace

void FillWindow(WindowFunction f, std::span<double> w)
{
    const std::span<const double> a = coefficients(f);
    const double n = static_cast<double>(w.size());
    for (size_t k = 0; k < w.size(); ++k) {
        double v = 0.0;
        double sign = 1.0;
        for (size_t m = 0; m < a.size(); ++m, sign = -sign)
            v += sign * a[m] * std::cos(2 * std::numbers::pi * double(m) * double(k) / n);
        w[k] = v;
    }
}

std::span<const double> CachedWindow(WindowFunction f, int n)
{
    struct Entry {
        WindowFunction f;
        std::vector<double> w;
    };
    static std::vector<Entry> cache;   // most recent first
    const auto hit = std::find_if(cache.begin(), cache.end(), [&](const Entry& e) {
        return e.f == f && e.w.size() == size_t(n);
    });
    if (hit != cache.end()) {
        std::rotate(cache.begin(), hit, hit + 1);
        return cache.front().w;
    }
    if (cache.size() == 8)
        cache.pop_back();
    Entry e{f, std::vector<double>(size_t(n))};
    FillWindow(f, e.w);
    cache.insert(cache.begin(), std::move(e));
    return cache.front().w;
}

double WindowResponse(WindowFunction f, double nu)
{
    // Each cosine term moves a copy of the rectangle's sinc m bins to either side.
    const std::span<const double> a = coefficients(f);
    double v = a[0] * sinc(nu);
    for (size_t m = 1; m < a.size(); ++m)
        v += a[m] / 2 * (sinc(nu - double(m)) + sinc(nu + double(m)));
    return std::abs(v) / a[0];
}

int MainLobeBins(WindowFunction f)
{
    // A sum of m + 1 cosines has its first zeros m + 1 bins to either side.
    return 2 * int(coefficients(f).size());
}

}  // namespace korvel
