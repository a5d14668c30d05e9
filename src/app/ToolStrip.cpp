#include "app/ToolStrip.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <algorithm>

namespace korvel {

namespace {

constexpr int BarPadding = 2;      // inside a tool bar, left and right of its controls
constexpr int BarGap = 2;          // between two tool bars, and before the "»" button
constexpr int CaptionPadding = 6;  // round a caption: the control's frame and a little air
constexpr int MoreWidth = 20;

}  // namespace

ToolStrip::ToolStrip(QWidget* titles, QWidget* bars, QList<Column> columns)
    : QObject(titles), titles_(titles), bars_(bars), columns_(std::move(columns))
{
    for (const Column& c : columns_)
        for (const QList<QWidget*>& cell : c.cells)
            for (QWidget* w : cell)
                formWidths_.insert(w, w->width());

    more_ = new QToolButton(titles->parentWidget());
    more_->setObjectName(QStringLiteral("btMore"));
    more_->setText(QStringLiteral("»"));
    more_->setToolTip(QStringLiteral("Кнопки, которым не хватило места в окне"));
    more_->setAutoRaise(true);
    more_->setPopupMode(QToolButton::InstantPopup);
    // The "»" says it already; the style's arrow would only crowd the narrow button.
    more_->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; }"));
    menu_ = new QMenu(more_);
    more_->setMenu(menu_);
    connect(menu_, &QMenu::aboutToShow, this, &ToolStrip::fillMenu);
    more_->hide();
}

void ToolStrip::reserveCaptions(QWidget* control, const QStringList& captions)
{
    reserved_[control] += captions;
}

int ToolStrip::neededWidth(QWidget* control) const
{
    QStringList captions = reserved_.value(control);
    if (const auto* b = qobject_cast<QAbstractButton*>(control))
        captions.append(b->text());
    else if (const auto* l = qobject_cast<QLabel*>(control))
        captions.append(l->text());
    const QFontMetrics fm = control->fontMetrics();
    int widest = 0;
    for (const QString& c : captions)
        widest = std::max(widest, fm.horizontalAdvance(c));
    // A picture button has no caption to measure: it keeps its width from the form.
    return widest > 0 ? widest + CaptionPadding : formWidths_.value(control);
}

void ToolStrip::fitTo(int width)
{
    // Where each column ends, and where its tool bar begins.
    struct Placed {
        int end = 0;
        int barX = 0;
        bool lastOfBar = false;
    };
    QList<Placed> placed;
    int barX = 0;
    int inner = 0;  // the next control's x inside the current bar
    for (qsizetype i = 0; i < columns_.size(); ++i) {
        const Column& c = columns_[i];
        const bool firstOfBar = i == 0 || columns_[i - 1].bar != c.bar;
        const bool lastOfBar = i + 1 == columns_.size() || columns_[i + 1].bar != c.bar;
        if (firstOfBar) {
            if (i > 0)
                barX += inner + BarPadding + BarGap;
            inner = BarPadding;
        }
        const int start = firstOfBar ? barX : barX + inner;

        QList<int> widths;
        for (const QList<QWidget*>& cell : c.cells) {
            int w = 0;
            for (QWidget* control : cell)
                w = std::max(w, neededWidth(control));
            widths.append(w);
        }
        // A title wider than its controls widens the column's last control.
        int columnWidth = (firstOfBar ? BarPadding : 0) + (lastOfBar ? BarPadding : 0);
        for (int w : widths)
            columnWidth += w;
        const int titleWidth =
            c.title->fontMetrics().horizontalAdvance(c.title->text()) + CaptionPadding;
        if (!widths.isEmpty() && columnWidth < titleWidth)
            widths.last() += titleWidth - columnWidth;

        for (qsizetype k = 0; k < c.cells.size(); ++k) {
            for (QWidget* control : c.cells[k])
                control->setGeometry(inner, control->y(), widths[k], control->height());
            inner += widths[k];
        }
        const int end = barX + inner + (lastOfBar ? BarPadding : 0);
        c.title->setGeometry(start, c.title->y(), end - start, c.title->height());
        if (lastOfBar)
            c.bar->setGeometry(barX, c.bar->y(), inner + BarPadding, c.bar->height());
        placed.append({end, barX, lastOfBar});
    }

    // Everything fits: the strips span the window, and their free end is the bars' own.
    qsizetype shown = columns_.size();
    int cut = width;
    if (!placed.isEmpty() && placed.last().end > width) {
        const int limit = width - BarGap - MoreWidth;
        auto edge = [](const Placed& p) { return p.end + (p.lastOfBar ? 0 : BarPadding); };
        shown = 0;
        while (shown < placed.size() && edge(placed[shown]) <= limit)
            ++shown;
        cut = shown > 0 ? edge(placed[shown - 1]) : 0;
        // A bar cut between two columns closes after the last one shown.
        if (shown > 0 && !placed[shown - 1].lastOfBar) {
            QWidget* bar = columns_[shown - 1].bar;
            bar->resize(cut - placed[shown - 1].barX, bar->height());
        }
    }
    titles_->resize(cut, titles_->height());
    bars_->resize(cut, bars_->height());
    shownColumns_ = shown;
    more_->setGeometry(cut + BarGap, titles_->y(), MoreWidth,
                       bars_->y() + bars_->height() - titles_->y());
    more_->setVisible(shown < columns_.size());
    more_->raise();
}

void ToolStrip::fillMenu()
{
    // Built as the menu opens, so that captions and enabled states are those of the moment.
    menu_->clear();
    for (qsizetype i = shownColumns_; i < columns_.size(); ++i) {
        const Column& c = columns_[i];
        menu_->addSection(c.title->text());
        for (const QList<QWidget*>& cell : c.cells)
            for (QWidget* control : cell) {
                auto* b = qobject_cast<QAbstractButton*>(control);
                if (!b)
                    continue;
                // A picture button is named by the first line of its tool tip.
                const QString text =
                    b->text().isEmpty() ? b->toolTip().section(QLatin1Char('\n'), 0, 0) : b->text();
                QAction* a = menu_->addAction(b->icon(), text);
                a->setEnabled(b->isEnabled());
                connect(a, &QAction::triggered, b, &QAbstractButton::click);
            }
    }
}

}  // namespace korvel
