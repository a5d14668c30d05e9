#include "chartview/ChartSvg.h"

#include <QBuffer>
#include <QSvgGenerator>
#include <qcustomplot.h>

#include <optional>
#include <vector>

namespace korvel {

namespace {

// Qt's SVG writer drops every clip, so a zoomed curve ran over the axes and the labels. The
// chart is therefore drawn here part by part, each run of parts with one clip rectangle into a
// drawing of its own, and the runs are joined inside SVG clip paths. QCustomPlot draws its
// parts only from within toPainter; pointers to members taken through derived classes reach
// the steps of that loop on any chart without a cast of the object.
struct PlotAccess : QCustomPlot {
    static void (QCustomPlot::*layOut())() { return &PlotAccess::updateLayout; }
    static QBrush QCustomPlot::*backgroundBrush() { return &PlotAccess::mBackgroundBrush; }
};
struct PartAccess : QCPLayerable {
    static QRect (QCPLayerable::*clip())() const { return &PartAccess::clipRect; }
    static void (QCPLayerable::*antialiasing())(QCPPainter*) const
    {
        return &PartAccess::applyDefaultAntialiasingHint;
    }
    static void (QCPLayerable::*drawing())(QCPPainter*) { return &PartAccess::draw; }
};

// Parts drawn one after the other under the same clip; none when it is the whole chart.
struct Run {
    std::optional<QRect> clip;
    std::vector<QCPLayerable*> parts;
};

QRect clipOf(QCPLayerable* part)
{
    // QCustomPlot moves every clip up a pixel when it draws; so does the SVG.
    return (part->*PartAccess::clip())().translated(0, -1);
}

std::vector<Run> runsOf(QCustomPlot* plot)
{
    std::vector<Run> runs;
    const QRect whole = plot->viewport().translated(0, -1);
    for (int i = 0; i < plot->layerCount(); ++i) {
        const QList<QCPLayerable*> parts = plot->layer(i)->children();
        for (QCPLayerable* part : parts) {
            if (!part->realVisibility())
                continue;
            std::optional<QRect> clip = clipOf(part);
            if (clip->contains(whole))
                clip.reset();
            if (runs.empty() || runs.back().clip != clip)
                runs.push_back({clip, {}});
            runs.back().parts.push_back(part);
        }
    }
    return runs;
}

// A whole SVG document holding these parts only, the chart's background first if asked.
QByteArray drawnAlone(QCustomPlot* plot, const std::vector<QCPLayerable*>& parts, bool background,
                      int width, int height)
{
    QByteArray svg;
    QBuffer buffer(&svg);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setResolution(plot->logicalDpiX());
    generator.setSize(QSize(width, height));
    generator.setViewBox(QRect(0, 0, width, height));
    generator.setTitle(plot->objectName());
    QCPPainter painter(&generator);
    painter.setMode(QCPPainter::pmNonCosmetic);
    painter.setMode(QCPPainter::pmNoCaching);
    const QBrush& brush = plot->*PlotAccess::backgroundBrush();
    if (background && brush.style() != Qt::NoBrush)
        painter.fillRect(plot->viewport(), brush);
    for (QCPLayerable* part : parts) {
        painter.save();
        painter.setClipRect(clipOf(part));
        (part->*PartAccess::antialiasing())(&painter);
        (part->*PartAccess::drawing())(&painter);
        painter.restore();
    }
    painter.end();
    return svg;
}

// A drawing of the writer's as its head (declaration, root element, title, definitions), its
// definitions alone (the gradients its brushes refer to) and the drawing.
struct SvgParts {
    QByteArray head;
    QByteArray definitions;
    QByteArray body;
};

SvgParts split(const QByteArray& svg)
{
    const QByteArray defsStart = "<defs>";
    const QByteArray defsEnd = "</defs>";
    const qsizetype defs = svg.indexOf(defsStart);
    qsizetype bodyStart = svg.indexOf(defsEnd);
    QByteArray definitions;
    if (defs >= 0 && bodyStart > defs)
        definitions = svg.mid(defs + defsStart.size(), bodyStart - defs - defsStart.size());
    bodyStart = bodyStart < 0 ? svg.indexOf('>', svg.indexOf("<svg")) + 1 : bodyStart + defsEnd.size();
    const qsizetype bodyEnd = svg.lastIndexOf("</svg>");
    if (bodyStart <= 0 || bodyEnd < bodyStart)
        return {svg, {}, {}};
    return {svg.left(bodyStart), definitions.trimmed(), svg.mid(bodyStart, bodyEnd - bodyStart)};
}

// Every drawing numbers its gradients from 1; a later run's get a prefix of their own.
QByteArray withOwnIds(QByteArray text, const QByteArray& prefix)
{
    return text.replace("id=\"", "id=\"" + prefix).replace("url(#", "url(#" + prefix);
}

}  // namespace

QByteArray renderChartSvg(QCustomPlot* plot, int width, int height)
{
    if (!plot)
        return {};
    const QRect screen = plot->viewport();
    plot->setViewport(QRect(0, 0, width, height));
    (plot->*PlotAccess::layOut())();

    std::vector<Run> runs = runsOf(plot);
    if (runs.empty())
        runs.push_back({});
    QByteArray out;
    for (size_t r = 0; r < runs.size(); ++r) {
        const Run& run = runs[r];
        const SvgParts svg = split(drawnAlone(plot, run.parts, r == 0, width, height));
        QByteArray body = svg.body;
        if (r == 0) {
            // Clip paths are not in SVG Tiny, the profile the writer declares.
            out += QByteArray(svg.head).replace(R"(version="1.2" baseProfile="tiny")", R"(version="1.1")");
        } else if (!svg.definitions.isEmpty()) {
            const QByteArray prefix = "korvel-run-" + QByteArray::number(qulonglong(r)) + '-';
            out += "<defs>\n" + withOwnIds(svg.definitions, prefix) + "\n</defs>\n";
            body = withOwnIds(body, prefix);
        }
        if (!run.clip) {
            out += body;
            continue;
        }
        const QRect& c = *run.clip;
        out += QStringLiteral("<clipPath id=\"korvel-clip-%1\"><rect x=\"%2\" y=\"%3\" width=\"%4\" "
                              "height=\"%5\"/></clipPath>\n<g clip-path=\"url(#korvel-clip-%1)\">")
                   .arg(r).arg(c.x()).arg(c.y()).arg(c.width()).arg(c.height())
                   .toUtf8()
               + body + "</g>\n";
    }
    out += "</svg>\n";

    plot->setViewport(screen);
    return out;
}

}  // namespace korvel
