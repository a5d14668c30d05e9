#pragma once
// The strip above a chart's plotting area that holds the cursors' read-out and the legend, so
// that neither covers a trace: how the read-out's lines break and how many legend entries go
// side by side in the width there is.

#include "chart/AxisTicks.h"

#include <QStringList>
#include <vector>

namespace korvel {

// Each line broken after its "; " separators where it would be wider than `width`; the pieces
// after a break are indented by `indent`. A piece wider than `width` on its own stays whole.
QStringList WrapReadout(const QStringList& lines, double width, const LabelExtent& widthOf,
                        const QString& indent = QStringLiteral("   "));

// The entries on each row of a legend `width` wide, in order: as many side by side as fit with
// `gap` between two, and at least one a row.
std::vector<int> LegendRows(const std::vector<double>& entryWidths, double width, double gap);

}  // namespace korvel
