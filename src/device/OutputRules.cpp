#include "device/OutputRules.h"

#include "text/NumberFormat.h"

namespace korvel {

bool CheckCondition(double value, double threshold, int conditionIndex)
{
    switch (conditionIndex) {
    case 0: return value > threshold;
    case 1: return value >= threshold;
    case 2: return value < threshold;
    case 3: return value <= threshold;
    default: return false;
    }
}

QString ConditionText(int conditionIndex)
{
    switch (conditionIndex) {
    case 0: return QStringLiteral(">");
    case 1: return QStringLiteral(">=");
    case 2: return QStringLiteral("<");
    case 3: return QStringLiteral("<=");
    default: return QString();
    }
}

QString LevelText(int levelIndex)
{
    switch (levelIndex) {
    case 0: return QStringLiteral("0В");
    case 1: return QStringLiteral("+5В");
    default: return QString();
    }
}

namespace {

bool isGreater(int c) { return c == 0 || c == 1; }
bool isLess(int c) { return c == 2 || c == 3; }

// A level list with no selection gives nothing to drive, so the line is held.
OutputResult levelResult(int level)
{
    if (level == 1)
        return OutputResult::High;
    if (level == 0)
        return OutputResult::Low;
    return OutputResult::Hold;
}

OutputResult otherLevel(int level)
{
    if (level == 1)
        return OutputResult::Low;
    if (level == 0)
        return OutputResult::High;
    return OutputResult::Hold;
}

}  // namespace

OutputDecision DecideOutput(OutputLine line, double value, const OutputRule& rule)
{
    const bool hi = CheckCondition(value, rule.On, rule.condition1);
    const bool lo = CheckCondition(value, rule.Off, rule.condition2);
    const bool signal = line == OutputLine::Signal;
    const QString c1 = ConditionText(rule.condition1);
    const QString c2 = ConditionText(rule.condition2);

    OutputDecision d;
    const bool band = (rule.On >= rule.Off && isLess(rule.condition1) && isGreater(rule.condition2)) ||
                      (rule.On < rule.Off && isGreater(rule.condition1) && isLess(rule.condition2));
    if (band) {
        const auto pattern = signal ? u"если сигнал%s%s или %s%s: на XP2/8 %s"
                                    : u"если T°C%s%s или %s%s: на XP2/7 %s";
        // The condition with the lower threshold is named first.
        if (rule.On > rule.Off)
            d.summary = Format(pattern, {c2, rule.offText, c1, rule.onText, LevelText(rule.level1)});
        else
            d.summary = Format(pattern, {c1, rule.onText, c2, rule.offText, LevelText(rule.level1)});
        d.level2ForcedToLevel1 = true;
        d.level2 = rule.level1;
        d.result = hi && lo ? levelResult(rule.level1) : otherLevel(rule.level1);
        return d;
    }

    const auto pattern = signal ? u"сигнал%s%s: на XP2/8 %s, сигнал%s%s: на XP2/8 %s"
                                : u"если T°C%s%s: на XP2/7 %s, T°C%s%s: на XP2/7 %s";
    d.summary = Format(pattern, {c1, rule.onText, LevelText(rule.level1), c2, rule.offText,
                                 LevelText(rule.level2)});
    d.level2 = rule.level2;
    if (rule.level1 == rule.level2) {
        d.result = hi || lo ? levelResult(rule.level1) : otherLevel(rule.level1);
    } else {
        d.result = OutputResult::Hold;
        if (hi)
            d.result = levelResult(rule.level1);
        if (lo)
            d.result = levelResult(rule.level2);  // the second condition wins when both hold
    }
    return d;
}

QString OutputIndicatorCaption(OutputLine line, OutputResult result)
{
    const QString prefix = line == OutputLine::Signal ? QStringLiteral("A:") : QStringLiteral("T:");
    switch (result) {
    case OutputResult::High: return prefix + QStringLiteral("+5В");
    case OutputResult::Low: return prefix + QStringLiteral("0В");
    case OutputResult::Hold: break;
    }
    return QString();
}

}  // namespace korvel
