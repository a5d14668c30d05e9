#include "timing/Divisors.h"

#include "text/NumberFormat.h"

#include <cmath>

namespace korvel {

std::optional<DivisorPair> FindDivisors(int Time4allSRAM, DivisorLimits limits,
                                        std::vector<int>* improvements)
{
    // Intermediate results are formed in extended precision and stored as doubles, which is
    // what decides the close calls between two candidates.
    const double b = static_cast<double>(static_cast<long double>(Time4allSRAM) * 14745600.0L
                                         / 240000000.0L - 21.0L);
    const double q = static_cast<double>(static_cast<long double>(b) / 3.0L);

    std::optional<DivisorPair> pair;
    double best = 1.0;
    int candidate = 0;
    for (int k = 1; k <= 256; ++k) {
        const double e = static_cast<double>(static_cast<long double>(q) / (k + 1));
        const long long r = Round(e);
        if (r < 1 || r > 256)
            continue;
        const double distance = std::fabs(e - static_cast<double>(r));
        if (distance < best) {
            best = distance;
            candidate = k;
            if (improvements)
                improvements->push_back(k);
        }
    }
    if (candidate > 0) {
        const double e = static_cast<double>(static_cast<long double>(q) / (candidate + 1));
        pair = DivisorPair{quint16(candidate), quint16(Round(e))};
    }

    if (limits.focus == CalcFocus::seF) {
        if (limits.seFValue < 75)
            pair = DivisorPair{256, 256};
        else if (limits.seFValue > 546133)
            pair = DivisorPair{1, 1};
    } else if (limits.focus == CalcFocus::seTime) {
        if (Time4allSRAM < 439)
            pair = DivisorPair{1, 1};
        else if (Time4allSRAM > 3212841)
            pair = DivisorPair{256, 256};
    }
    return pair;
}

int PeriodTicks(DivisorPair pair)
{
    return 3 * (pair.d1 + 1) * pair.d2 + 21;
}

TrueValues ShowTrueValues(DivisorPair pair, int SRAMblocks)
{
    const int ticks = PeriodTicks(pair);
    TrueValues v;
    v.TrueTimeMs = static_cast<double>(static_cast<long double>(ticks) * 240000000.0L
                                       / 14745600.0L * SRAMblocks / 8.0L);
    const auto minutes = quint16(std::trunc(v.TrueTimeMs / 60000.0));
    const auto seconds = quint16(std::trunc((v.TrueTimeMs - 60000.0 * minutes) / 1000.0));
    const double rest = v.TrueTimeMs - 60000.0 * minutes - 1000.0 * seconds;
    v.lbMinutes = Format(u"или %2d мин %2d c %0.3f мс", {int(minutes), int(seconds), rest});
    v.lbF = Format(u"Fвыборки,Гц=%0.3f",
                   {static_cast<double>(14745600.0L / static_cast<long double>(ticks))});
    v.lbT = Format(u"Tизмерения,мc=%0.3f", {v.TrueTimeMs});
    v.lbDly = Format(u"Параметры для МК: d1=%0d,d2=%0d", {int(pair.d1), int(pair.d2)});
    return v;
}

}  // namespace korvel
