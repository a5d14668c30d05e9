#include "chart/ControlThresholds.h"

#include "chart/Scaling.h"
#include "text/NumberFormat.h"

namespace korvel {

ControlThresholds ReadControlThresholds(const ControlThresholdTexts& texts,
                                        const std::function<ScaleCoefficients()>& refreshScale)
{
    ControlThresholds t;
    t.ThermoLevelOn = StrToFloat(texts.eTOn);
    t.ThermoLevelOff = StrToFloat(texts.eTOff);
    const ScaleCoefficients s = refreshScale();
    const double on = StrToFloat(texts.eAOn);
    const double off = StrToFloat(texts.eAOff);
    t.AnalogLevelOn = ToAdcLevel(on, s);
    t.AnalogLevelOff = ToAdcLevel(off, s);
    return t;
}

}  // namespace korvel
