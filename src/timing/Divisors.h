#pragma once
// The board divides its 14.7456 MHz clock by two divisors d1, d2 (1..256 each); a sample takes
// 3·(d1 + 1)·d2 + 21 ticks. FindDivisors picks the pair for a wanted duration, ShowTrueValues
// gives the texts of what that pair really delivers.

#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace korvel {

inline constexpr double BoardClockHz = 14745600.0;

struct DivisorPair {
    quint16 d1 = 1;
    quint16 d2 = 1;
    friend bool operator==(const DivisorPair&, const DivisorPair&) = default;
};

// Which calculator field holds the keyboard focus; the search clamps to the extreme pair while
// the field being edited is out of range.
enum class CalcFocus { None, seF, seTime };

struct DivisorLimits {
    CalcFocus focus = CalcFocus::None;
    int seFValue = 0;  // the frequency field's value, looked at only while it has the focus
};

// Time4allSRAM: ms that 240000 samples take at the wanted rate. nullopt only when no pair
// qualifies and no focus limit applies (outside 439..3212842 ms). improvements, when given,
// receives every k at which the best distance improved, for checking a search by hand.
std::optional<DivisorPair> FindDivisors(int Time4allSRAM, DivisorLimits limits = {},
                                        std::vector<int>* improvements = nullptr);

int PeriodTicks(DivisorPair pair);

struct TrueValues {
    double TrueTimeMs = 0.0;
    QString lbF;        // "Fвыборки,Гц=%0.3f"
    QString lbT;        // "Tизмерения,мc=%0.3f"
    QString lbMinutes;  // "или %2d мин %2d c %0.3f мс"
    QString lbDly;      // "Параметры для МК: d1=%0d,d2=%0d"
};

TrueValues ShowTrueValues(DivisorPair pair, int SRAMblocks);

}  // namespace korvel
