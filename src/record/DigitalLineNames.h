#pragma once
// The contacts the three digital lines of a sample word (DigitalLineBits) come in on, as the
// options, the legend, the cursors' read-out and the text export name them.

#include <QString>
#include <array>

namespace korvel {

// line 0..2
inline QString DigitalLineName(int line)
{
    static const std::array<QString, 3> names{QStringLiteral("XP2/конт.2"), QStringLiteral("XP2/конт.3"),
                                              QStringLiteral("XP3/конт.8")};
    return names[size_t(line)];
}

}  // namespace korvel
