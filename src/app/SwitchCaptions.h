#pragma once
// The two captions of the tool-bar buttons that open a panel or run a mode until they are
// pressed again. The tool-bar strip makes room for the longer one, so neither is ever cut.

#include <QString>

namespace korvel {

struct SwitchCaptions {
    QString off;
    QString on;
};

inline const SwitchCaptions ChooseFCaptions{QStringLiteral("F/T"), QStringLiteral("Закрыть")};
inline const SwitchCaptions OptionsCaptions{QStringLiteral("ОПЦИИ"), QStringLiteral("Закрыть")};
inline const SwitchCaptions AdxlCaptions{QStringLiteral("ADXL"), QStringLiteral("Закрыть")};
inline const SwitchCaptions SingleCaptions{QStringLiteral("В реальном времени"),
                                           QStringLiteral("ЗАВЕРШИТЬ")};

}  // namespace korvel
