#pragma once
// The thresholds the two real-time outputs are decided against, read from their edit texts:
// temperatures in °C as typed, the signal's values turned into ADC units through the chart scale.

#include <QString>
#include <functional>

namespace korvel {

struct ScaleCoefficients;

struct ControlThresholds {
    double ThermoLevelOn = 0.0;
    double ThermoLevelOff = 0.0;
    double AnalogLevelOn = 0.0;     // ADC units
    double AnalogLevelOff = 0.0;
};

struct ControlThresholdTexts {
    QString eTOn;
    QString eTOff;
    QString eAOn;
    QString eAOff;
};

// Reads all four texts (temperatures, then the scale refresh, then the analogue values in ADC
// units) and throws ConversionError on the first that fails, so a caller that assigns the
// result only on success keeps all four thresholds as they were.
ControlThresholds ReadControlThresholds(const ControlThresholdTexts& texts,
                                        const std::function<ScaleCoefficients()>& refreshScale);

}  // namespace korvel
