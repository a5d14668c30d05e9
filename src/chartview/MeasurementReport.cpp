#include "chartview/MeasurementReport.h"

#include "chartview/ChartPrint.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <qcustomplot.h>

namespace korvel {

namespace {

// The width, in screen pixels, the charts are laid out at for the page's width: their texts
// then stand about as large as the page's.
constexpr int ReportChartWidth = 800;

// Lays text out downwards from the top of the page, in the device's pixels.
class PageWriter {
public:
    PageWriter(QPainter& painter, double width) : p_(painter), width_(width) {}

    double y = 0.0;

    void setFont(double points, bool bold = false)
    {
        QFont f = p_.font();
        f.setPointSizeF(points);
        f.setBold(bold);
        p_.setFont(f);
    }
    double lineHeight() const { return QFontMetricsF(p_.font(), p_.device()).height(); }

    // A paragraph across the column [x, x + w); the cursor moves below it.
    void paragraph(const QString& text, double x = 0.0, double w = -1.0)
    {
        const QRectF box(x, y, w < 0 ? width_ - x : w, 1e9);
        const QRectF used = p_.boundingRect(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
        p_.drawText(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
        y += used.height();
    }

    // The width each column's texts need, a little padding included.
    std::vector<double> neededWidths(const std::vector<QStringList>& rows, bool headed) const
    {
        std::vector<double> widths;
        for (size_t r = 0; r < rows.size(); ++r) {
            QFont f = p_.font();
            f.setBold(headed && r == 0);
            const QFontMetricsF metrics(f, p_.device());
            widths.resize(std::max(widths.size(), size_t(rows[r].size())), 0.0);
            for (qsizetype c = 0; c < rows[r].size(); ++c)
                widths[size_t(c)] = std::max(widths[size_t(c)], metrics.horizontalAdvance(rows[r][c]) + padding());
        }
        return widths;
    }

    // Rows of cells across [x, x + w), each cell on one line, the columns by ReportColumnWidths.
    double table(const std::vector<QStringList>& rows, double x, double w, bool headed)
    {
        const double h = lineHeight() * 1.15;
        const double pad = padding();
        const std::vector<double> widths = ReportColumnWidths(neededWidths(rows, headed), w);

        double top = y;
        for (size_t r = 0; r < rows.size(); ++r) {
            QFont f = p_.font();
            f.setBold(headed && r == 0);
            p_.setFont(f);
            double cx = x;
            for (size_t c = 0; c < widths.size() && c < size_t(rows[r].size()); ++c) {
                const double cw = widths[c];
                const Qt::Alignment a = c == 0 ? Qt::AlignLeft : Qt::AlignRight;
                const QString text = QFontMetricsF(p_.font(), p_.device())
                                         .elidedText(rows[r][qsizetype(c)], Qt::ElideRight, cw - pad / 2);
                p_.drawText(QRectF(cx, top, cw - pad / 4, h), a | Qt::AlignVCenter, text);
                cx += cw;
            }
            top += h;
        }
        QFont f = p_.font();
        f.setBold(false);
        p_.setFont(f);
        return top;
    }

private:
    double padding() const { return lineHeight() * 1.15 / 2; }

    QPainter& p_;
    double width_;
};

std::vector<QStringList> measurementRows(const ReportText& t)
{
    std::vector<QStringList> rows{QStringList{t.measured} + t.channels};
    for (const MeasurementRow& m : t.measurements)
        rows.push_back(QStringList{m.caption} + m.values);
    return rows;
}

std::vector<QStringList> peakRows(const ReportText& t, const QString& valueHeading)
{
    std::vector<QStringList> rows{{QStringLiteral("Частота"), valueHeading, QStringLiteral("Порядок")}};
    for (size_t c = 0; c < t.peaks.size(); ++c)
        for (const PeakRow& p : t.peaks[c])
            rows.push_back({(t.peaks.size() > 1 ? t.channels[qsizetype(c)] + QStringLiteral(": ") : QString())
                                + p.frequency,
                            p.value, p.order});
    return rows;
}

}  // namespace

std::vector<double> ReportColumnWidths(std::vector<double> needed, double width)
{
    if (needed.empty())
        return needed;
    double total = 0.0;
    for (double w : needed)
        total += w;
    if (total <= width) {
        needed[0] += width - total;
        return needed;
    }
    const double first = std::max(needed[0] * 0.3, needed[0] - (total - width));
    total -= needed[0] - first;
    needed[0] = first;
    if (total > width)
        for (double& w : needed)
            w *= width / total;
    return needed;
}

QString printMeasurementReport(QPrinter& printer, const ReportText& text, QCustomPlot* signalChart,
                               QCustomPlot* spectrumChart)
{
    printer.setDocName(QStringLiteral("Протокол"));
    QPainter painter;
    if (!painter.begin(&printer)) {
        printer.abort();
        return QStringLiteral("Не удалось начать печать протокола");
    }
    const double width = printer.width();
    const double height = printer.height();
    PageWriter page(painter, width);
    const double gap = height * 0.012;

    page.setFont(14, true);
    page.paragraph(text.title);
    page.y += gap;
    page.setFont(9);
    const double captionWidth = width * 0.26;
    for (const auto& [caption, value] : text.header) {
        const double top = page.y;
        page.setFont(9, true);
        page.paragraph(caption + ':', 0, captionWidth);
        const double below = page.y;
        page.y = top;
        page.setFont(9);
        page.paragraph(value, captionWidth);
        page.y = std::max(page.y, below);
    }
    page.y += gap / 2;
    page.paragraph(text.spectrumLine);
    if (!text.note.isEmpty())
        page.paragraph(text.note);
    page.y += gap;

    // The two charts share what the texts leave, with room kept for the tables below: the
    // peaks of every channel stand in one list.
    std::vector<QStringList> peaks = peakRows(text, text.valueUnit);
    const double rowHeight = page.lineHeight() * 1.15;
    const double tableRows = double(std::max(text.measurements.size() + 1, peaks.size()));
    const double tableHeight = (tableRows + 1) * rowHeight;
    const double chartHeight = std::max(height * 0.12, (height - page.y - tableHeight - 3 * gap) / 2);
    // Both charts laid out for the page's shape at one width, so that their texts are neither
    // stretched nor of two sizes, whatever the windows' shapes.
    const QSize layout(ReportChartWidth, int(std::lround(ReportChartWidth * chartHeight / width)));
    for (QCustomPlot* chart : {signalChart, spectrumChart}) {
        if (!chart)
            continue;
        drawChartInto(chart, painter, QRect(0, int(page.y), int(width), int(chartHeight)), layout);
        page.y += chartHeight + gap;
    }

    // The measurements take what the peak list leaves, and at least a little over half the page.
    double half = width * 0.55;
    if (peaks.size() > 1) {
        double needed = 0.0;
        for (double w : page.neededWidths(peaks, true))
            needed += w;
        half = std::max(half, width - needed);
    }
    const double top = page.y;
    page.table(measurementRows(text), 0, half - gap, true);
    if (peaks.size() > 1) {
        // A list longer than the page holds ends with how many it leaves out.
        const auto fit = size_t(std::max(2.0, std::floor((height - top) / rowHeight)));
        if (peaks.size() > fit) {
            const size_t left = peaks.size() - (fit - 1);
            peaks.resize(fit - 1);
            peaks.push_back({QStringLiteral("… ещё %1").arg(left), QString(), QString()});
        }
        page.y = top;
        page.table(peaks, half, width - half, true);
    }

    return endPrintJob(printer, painter, QStringLiteral("Ошибка при печати протокола"));
}

}  // namespace korvel
