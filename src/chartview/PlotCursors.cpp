#include "chartview/PlotCursors.h"

#include "chartview/PlotInput.h"
#include "chartview/ChartHeader.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <qcustomplot.h>

#include <cmath>

namespace korvel {

const QColor PlotCursors::ColourA(210, 0, 140);
const QColor PlotCursors::ColourB(0, 145, 145);

namespace {

// A vertical line at a plot X, from the top of the plotting area to its bottom.
void verticalAt(QCPItemLine* line, double x)
{
    line->start->setCoords(x, 0.0);
    line->end->setCoords(x, 1.0);
}

QCPItemLine* verticalLine(QCustomPlot* plot, QCPLayer* layer, const QPen& pen)
{
    auto* line = new QCPItemLine(plot);
    line->setLayer(layer);
    line->setPen(pen);
    line->setSelectable(false);
    for (QCPItemPosition* p : {line->start, line->end}) {
        p->setTypeX(QCPItemPosition::ptPlotCoords);
        p->setTypeY(QCPItemPosition::ptAxisRectRatio);
    }
    line->setVisible(false);
    return line;
}

}  // namespace

PlotCursors::PlotCursors(QCustomPlot* plot, ChartHeader* header)
    : QObject(plot), plot_(plot), header_(header)
{
    // Above the traces; buffered, so that it is redrawn on its own.
    const QString name = QStringLiteral("cursors");
    plot->addLayer(name, plot->layer(plot->layerCount() - 1), QCustomPlot::limAbove);
    layer_ = plot->layer(name);
    layer_->setMode(QCPLayer::lmBuffered);

    const QColor colours[2] = {ColourA, ColourB};
    for (int c = 0; c < 2; ++c) {
        lines_[c] = verticalLine(plot, layer_, QPen(colours[c], 1.5));
        auto* label = new QCPItemText(plot);
        label->setLayer(layer_);
        label->setSelectable(false);
        label->position->setTypeX(QCPItemPosition::ptPlotCoords);
        label->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        // A's at the top of the plotting area, B's at its foot: cursors close together keep
        // both names readable.
        label->setPositionAlignment(Qt::AlignHCenter | (c == 0 ? Qt::AlignTop : Qt::AlignBottom));
        label->setText(c == 0 ? QStringLiteral("A") : QStringLiteral("B"));
        label->setColor(Qt::white);
        label->setBrush(QBrush(colours[c]));
        label->setPadding(QMargins(3, 1, 3, 1));
        label->setVisible(false);
        names_[c] = label;
    }
    header_->setLayer(layer_);

    plot->installEventFilter(this);
    // Indexes stay, their X follows a change of unit or display mode.
    connect(plot, &QCustomPlot::beforeReplot, this, [this] { place(); });
}

void PlotCursors::setIndexing(std::function<qsizetype(double)> indexAt,
                              std::function<double(qsizetype)> xOf)
{
    indexAt_ = std::move(indexAt);
    xOf_ = std::move(xOf);
}

void PlotCursors::setShown(bool shown)
{
    if (shown == shown_ || !plot_)
        return;
    shown_ = shown;
    dragging_ = -1;
    if (shown && indexAt_) {
        // By the screen, so that a logarithmic axis gets them where a user looks for them.
        const QRect area = plot_->axisRect()->rect();
        const auto at = [&](double share) {
            return indexAt_(plot_->xAxis->pixelToCoord(area.left() + share * area.width()));
        };
        index_ = {at(1.0 / 3), at(2.0 / 3)};
    }
    header_->setReadout(shown ? readout_ : QStringList());
    const QList<QCPAbstractItem*> items{lines_[0], lines_[1], names_[0], names_[1]};
    for (QCPAbstractItem* item : items)
        item->setVisible(shown);
    for (qsizetype i = 0; i < markers_.size(); ++i)
        markers_[i]->setVisible(shown && i < markerX_.size());
    place();
    emit shownChanged(shown);
    if (shown)
        emit moved();
    redraw();
}

void PlotCursors::setIndexes(qsizetype a, qsizetype b)
{
    if (index_ == std::array<qsizetype, 2>{a, b})
        return;
    index_ = {a, b};
    place();
    if (shown_)
        emit moved();
    redraw();
}

void PlotCursors::setReadout(const QStringList& lines)
{
    readout_ = lines;
    if (shown_)
        header_->setReadout(lines);
}

void PlotCursors::setMarkers(const QVector<double>& x)
{
    markerX_ = x;
    while (markers_.size() < x.size()) {
        QPen pen(ColourA, 1.0, Qt::DashLine);
        markers_ << verticalLine(plot_, layer_, pen);
    }
    for (qsizetype i = 0; i < markers_.size(); ++i) {
        markers_[i]->setVisible(shown_ && i < x.size());
        if (i < x.size())
            verticalAt(markers_[i], x[i]);
    }
}

double PlotCursors::cursorX(int cursor) const
{
    return xOf_ ? xOf_(index_[size_t(cursor)]) : 0.0;
}

void PlotCursors::place()
{
    if (!shown_ || !xOf_)
        return;
    for (int c = 0; c < 2; ++c) {
        const double x = xOf_(index_[c]);
        verticalAt(lines_[c], x);
        names_[c]->position->setCoords(x, c == 0 ? 0.0 : 1.0);
    }
}

void PlotCursors::redraw()
{
    if (!plot_)
        return;
    if (header_->isSettled())
        layer_->replot();
    else
        plot_->replot();
}

int PlotCursors::cursorNear(double pixelX) const
{
    if (!shown_ || !xOf_)
        return -1;
    int nearest = -1;
    double best = GrabPixels + 0.5;
    for (int c = 0; c < 2; ++c) {
        const double d = std::fabs(plot_->xAxis->coordToPixel(xOf_(index_[c])) - pixelX);
        if (d < best) {
            best = d;
            nearest = c;
        }
    }
    return nearest;
}

bool PlotCursors::eventFilter(QObject* watched, QEvent* event)
{
    if (!IsPlotInput(event) || watched != plot_ || !plot_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton || !plot_->axisRect()->rect().contains(e->position().toPoint()))
            return false;
        dragging_ = cursorNear(e->position().x());
        // Taken: the rectangle zoom never sees a press that grabbed a cursor.
        return dragging_ >= 0;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (dragging_ >= 0) {
            const qsizetype i = indexAt_(plot_->xAxis->pixelToCoord(e->position().x()));
            if (i != index_[size_t(dragging_)]) {
                index_[size_t(dragging_)] = i;
                place();
                emit moved();
                redraw();
            }
        } else if (e->buttons() == Qt::NoButton) {
            if (cursorNear(e->position().x()) >= 0)
                plot_->setCursor(Qt::SizeHorCursor);
            else if (plot_->cursor().shape() == Qt::SizeHorCursor)
                plot_->unsetCursor();
        }
        // The status-bar read-out follows the mouse during a drag too.
        return false;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton && dragging_ >= 0) {
            dragging_ = -1;
            return true;
        }
        return false;
    }
    case QEvent::KeyPress: {
        auto* e = static_cast<QKeyEvent*>(event);
        if (e->key() == Qt::Key_C && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            setShown(!shown_);
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

}  // namespace korvel
