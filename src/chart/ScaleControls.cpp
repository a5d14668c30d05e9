#include "chart/ScaleControls.h"

#include "chart/Scaling.h"
#include "text/NumberFormat.h"

namespace korvel {

QChar FilterScaleKey(QChar typed)
{
    // Either key types the separator the number is read with, whatever the keyboard offers.
    if (typed == QLatin1Char('.') || typed == QLatin1Char(','))
        return DecimalSeparator();
    const char16_t c = typed.unicode();
    if (c == u'-' || c == u'\b' || (c >= u'0' && c <= u'9'))
        return typed;
    return QChar();
}

ScaleControlsEnabled cbShowKEnabling(int displayMode, int extShiftIndex, int extScaleIndex,
                                     const ScaleControlsEnabled& current)
{
    ScaleControlsEnabled e = current;
    if (ShowsValues(displayMode)) {
        e.cbRgm = e.cbExtShift = e.cbExtScale = e.eYTitle = true;
        if (extShiftIndex > 0)
            e.emExtShift = true;
        if (extScaleIndex > 0)
            e.emExtScale = true;
    } else if (displayMode == 1 || displayMode == 3) {
        e = ScaleControlsEnabled{};
    }
    return e;
}

}  // namespace korvel
