#include "timing/FtCalculator.h"

#include "text/NumberFormat.h"

#include <algorithm>
#include <limits>

namespace korvel {

namespace {

constexpr int FMin = 75;
constexpr int FMax = 546133;
constexpr int TimeMin = 439;
constexpr int TimeMax = 3212842;

int roundedAllSRAM(int frequency)
{
    return int(Round(240000000.0 / frequency));
}

int durationOfBlocks(int Time4allSRAM, int SRAMblocks)
{
    return int(qint64(Time4allSRAM) * SRAMblocks / 8);
}

}  // namespace

FieldModel::FieldModel(int minValue, int maxValue, int step, int value)
    : min_(minValue), max_(maxValue), step_(step), text_(QString::number(clamp(value)))
{
}

int FieldModel::value() const
{
    int v = 0;
    return TryStrToInt(text_, &v) ? v : min_;
}

int FieldModel::clamp(int v) const
{
    return min_ == max_ ? v : std::clamp(v, min_, max_);
}

FtCalculator::FtCalculator(int SRAMblocks, int Time4allSRAM, int F)
    : SRAMblocks_(SRAMblocks >= 1 && SRAMblocks <= 8 ? SRAMblocks : 8),
      Time4allSRAM_(Time4allSRAM),
      seF_(FMin, FMax, 1, F),
      seTime_(TimeMin, TimeMax, 1, durationOfBlocks(Time4allSRAM_, SRAMblocks_)),
      seSamples_(30000, 240000, 30000, 30000 * SRAMblocks_)
{
}

FieldModel& FtCalculator::field(FtField f)
{
    switch (f) {
    case FtField::seF:
        return seF_;
    case FtField::seTime:
        return seTime_;
    case FtField::seSamples:
        break;
    }
    return seSamples_;
}

void FtCalculator::setText(FtField f, const QString& text)
{
    FieldModel& s = field(f);
    if (s.text_ == text)
        return;
    s.text_ = text;
    switch (f) {
    case FtField::seF:
        seFChange();
        break;
    case FtField::seTime:
        seTimeChange();
        break;
    case FtField::seSamples:
        seSamplesChange();
        break;
    }
}

void FtCalculator::typeText(FtField f, const QString& text)
{
    if (f != FtField::seSamples)
        setText(f, text);
}

void FtCalculator::setValue(FtField f, int value)
{
    setText(f, QString::number(field(f).clamp(value)));
}

void FtCalculator::stepBy(FtField f, int steps)
{
    const FieldModel& s = field(f);
    setValue(f, int(std::clamp<qint64>(qint64(s.value()) + qint64(steps) * s.step(),
                                       std::numeric_limits<int>::min(),
                                       std::numeric_limits<int>::max())));
}

void FtCalculator::clampOnExit(FtField f)
{
    const FieldModel& s = field(f);
    if (s.clamp(s.value()) != s.value())
        setValue(f, s.value());
}

void FtCalculator::setFocus(FtFocus to)
{
    if (to == focus_)
        return;
    // The focus has already moved when the field that lost it runs its exit handler.
    const FtFocus from = focus_;
    focus_ = to;
    switch (from) {
    case FtFocus::seF:
        seFExit();
        clampOnExit(FtField::seF);
        break;
    case FtFocus::seTime:
        seTimeExit();
        clampOnExit(FtField::seTime);
        break;
    case FtFocus::seSamples:
        clampOnExit(FtField::seSamples);
        break;
    case FtFocus::Other:
        break;
    }
}

void FtCalculator::open()
{
    setFocus(FtFocus::seTime);
    seTimeChange();
}

void FtCalculator::setSRAMblocks(int blocks)
{
    SRAMblocks_ = std::clamp(blocks, 1, 8);
}

void FtCalculator::TimErrColorTimer()
{
    lErrIn_.yellow = !lErrIn_.yellow;
}

void FtCalculator::hideError()
{
    lErrIn_.visible = false;
    lErrIn_.blinking = false;
}

void FtCalculator::showError(const QString& text)
{
    lErrIn_.text = text;
    lErrIn_.visible = true;
    lErrIn_.blinking = true;
}

void FtCalculator::recompute()
{
    DivisorLimits limits;
    if (focus_ == FtFocus::seF)
        limits.focus = CalcFocus::seF;
    else if (focus_ == FtFocus::seTime)
        limits.focus = CalcFocus::seTime;
    limits.seFValue = seF_.value();
    if (const std::optional<DivisorPair> pair = FindDivisors(Time4allSRAM_, limits))
        divisors_ = pair;
    if (divisors_)
        trueValues_ = ShowTrueValues(*divisors_, SRAMblocks_);
}

void FtCalculator::seFChange()
{
    const int value = seF_.value();
    if (focus_ != FtFocus::seF || value <= 0)
        return;
    hideError();
    if (value < FMin)
        showError(QStringLiteral("Fвыборки, Гц<75"));
    if (value > FMax)
        showError(QStringLiteral("Fвыборки, Гц>546133"));
    Time4allSRAM_ = roundedAllSRAM(value);
    setValue(FtField::seTime, durationOfBlocks(Time4allSRAM_, SRAMblocks_));
    recompute();
}

void FtCalculator::seTimeChange()
{
    const int value = seTime_.value();
    if (focus_ != FtFocus::seTime || value <= 0)
        return;
    hideError();
    // A huge typed duration saturates instead of wrapping round to a negative time.
    Time4allSRAM_ = int(std::min<qint64>(qint64(value) * 8 / SRAMblocks_,
                                         std::numeric_limits<int>::max()));
    if (Time4allSRAM_ > TimeMax)
        showError(Format(u"Tизмерения, мс>%d", {SRAMblocks_ * 3212841 / 8}));
    if (Time4allSRAM_ < TimeMin)
        showError(Format(u"Tизмерения, мс<%d", {SRAMblocks_ * 439 / 8}));
    setValue(FtField::seF, int(Round(240000000.0 / Time4allSRAM_)));
    recompute();
}

void FtCalculator::seFExit()
{
    // Left holding an out-of-range frequency, Time4allSRAM came from that value and may have no
    // divisor pair at all: start again from the frequency the field will clamp to.
    const int typed = seF_.value();
    if (typed > 0 && seF_.clamp(typed) != typed) {
        Time4allSRAM_ = roundedAllSRAM(seF_.clamp(typed));
        setValue(FtField::seTime, durationOfBlocks(Time4allSRAM_, SRAMblocks_));
    }
    // A stored duration of zero or less has no frequency; it stands for the shortest one.
    setValue(FtField::seF, Time4allSRAM_ > 0 ? int(Round(240000000.0 / Time4allSRAM_)) : FMax);
    recompute();
    hideError();
}

void FtCalculator::durationFromFrequency()
{
    Time4allSRAM_ = roundedAllSRAM(seF_.clamp(seF_.value()));
    setValue(FtField::seTime, durationOfBlocks(Time4allSRAM_, SRAMblocks_));
    recompute();
    hideError();
}

void FtCalculator::seTimeExit()
{
    durationFromFrequency();
}

void FtCalculator::seSamplesChange()
{
    SRAMblocks_ = std::clamp(seSamples_.value() / 30000, 1, 8);
    setValue(FtField::seTime, durationOfBlocks(Time4allSRAM_, SRAMblocks_));
    durationFromFrequency();
}

}  // namespace korvel
