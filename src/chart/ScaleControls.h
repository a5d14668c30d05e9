#pragma once
// The small rules of the coefficient controls, kept apart from the widgets that apply them.

#include <QChar>

namespace korvel {

// emExtShift/emExtScale key filter: "." and "," both become the locale's decimal separator;
// only "-", digits, that separator and backspace pass. A discarded key comes back as a null
// QChar.
QChar FilterScaleKey(QChar typed);

struct ScaleControlsEnabled {
    bool cbRgm = false;
    bool cbExtShift = false;
    bool cbExtScale = false;
    bool eYTitle = false;
    bool emExtShift = false;
    bool emExtScale = false;
};

// cbShowKClick. In the value modes an edit whose list sits at item 0 keeps the state it had.
ScaleControlsEnabled cbShowKEnabling(int displayMode, int extShiftIndex, int extScaleIndex,
                                     const ScaleControlsEnabled& current);

// cbExtShiftChange / cbExtScaleChange: the edit is enabled for any item but the first.
inline bool ExtEditEnabled(int itemIndex) { return itemIndex != 0; }

}  // namespace korvel
