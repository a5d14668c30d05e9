#include "chart/HeaderLayout.h"

namespace korvel {

QStringList WrapReadout(const QStringList& lines, double width, const LabelExtent& widthOf,
                        const QString& indent)
{
    const QString separator = QStringLiteral("; ");
    QStringList out;
    for (const QString& line : lines) {
        const QStringList pieces = line.split(separator);
        QString current = pieces.front();
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            const QString longer = current + separator + pieces[i];
            if (widthOf(longer) <= width) {
                current = longer;
                continue;
            }
            // The separator's semicolon stays at the end of the broken line.
            out << current + u';';
            current = indent + pieces[i];
        }
        out << current;
    }
    return out;
}

std::vector<int> LegendRows(const std::vector<double>& entryWidths, double width, double gap)
{
    std::vector<int> rows;
    double used = 0.0;
    for (const double w : entryWidths) {
        if (!rows.empty() && used + gap + w <= width) {
            ++rows.back();
            used += gap + w;
        } else {
            rows.push_back(1);
            used = w;
        }
    }
    return rows;
}

}  // namespace korvel
