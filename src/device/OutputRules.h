#pragma once
// The two control outputs of the real-time mode: each line is switched by two conditions on a
// value (XP2/8 by the signal in ADC units, XP2/7 by the temperature in °C).

#include <QString>

namespace korvel {

// Condition items: 0 ">", 1 ">=", 2 "<", 3 "<="; no selection (any other index) never holds.
bool CheckCondition(double value, double threshold, int conditionIndex);
QString ConditionText(int conditionIndex);
// Level items: 0 "0В", 1 "+5В".
QString LevelText(int levelIndex);

enum class OutputLine { Signal, Temperature };   // XP2/8, XP2/7
enum class OutputResult { High, Low, Hold };     // +5 V, 0 V, keep the line as it is

struct OutputRule {
    int condition1 = -1;    // cbACondition1 / cbTCondition1
    int condition2 = -1;
    int level1 = -1;        // cbALevel1 / cbTLevel1
    int level2 = -1;
    double On = 0.0;        // thresholds in force (AnalogLevelOn / ThermoLevelOn, ...)
    double Off = 0.0;
    QString onText;         // the edit texts as they stand (eAOn / eTOn, ...)
    QString offText;
};

struct OutputDecision {
    OutputResult result = OutputResult::Hold;
    QString summary;            // status panel 1 (signal) or 2 (temperature)
    bool level2ForcedToLevel1 = false;   // band case: set the second level list to the first's
    int level2 = -1;            // the second level in effect after the decision
};

// chkAHi/chkALo (chkTHi/chkTLo) and DecideOutput for one output.
OutputDecision DecideOutput(OutputLine line, double value, const OutputRule& rule);

// "A:+5В", "T:0В"; empty for a hold, which keeps the caption.
QString OutputIndicatorCaption(OutputLine line, OutputResult result);

}  // namespace korvel
