#pragma once
// The board link's texts the window shows in more than one place.

#include <QString>

namespace korvel {

// Status panel 0 and btUSB's hint when the board's port is lost or would not open.
inline QString NoLinkText()
{
    return QStringLiteral("USB: нет связи");
}

}  // namespace korvel
