// The main window's layout as the user meets it: every tool-bar button within reach whatever
// the window's width, no caption cut at the usual sizes with any panel open, and open panels
// that cover neither each other nor the cancel button of a run. Rectangles and font metrics
// are compared, not pixels.
#include "WindowRig.h"
#include "app/FileDialogs.h"
#include "device/Commands.h"
#include "serial/ScriptedPort.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

struct LayoutRig : WindowRig {
    // Whatever a button does, it never waits for a dialog or a printer here.
    LayoutRig() : WindowRig(WithScriptedDialogs(OnScriptedPort()))
    {
        window->setPrinterSource([] { return std::unique_ptr<QPrinter>(); });
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void resize(int width, int height)
    {
        window->resize(width, height);
        QApplication::processEvents();
    }
    // A 1 MHz run whose array is on its way: the progress panel and its cancel button are up.
    void startTransfer()
    {
        f().bt1MHz->click();
        port->feed(cmd::bytes({cmd::StatusReady}));
        acq().timRxTimer();
        ASSERT_TRUE(f().btCancelRun->isVisible());
    }
    // The rectangle of w in the window's coordinates.
    QRect rectOf(const QWidget* w) const
    {
        return {w->mapTo(window.get(), QPoint(0, 0)), w->size()};
    }
    // What of w its ancestors leave on the screen.
    QRect shownPart(const QWidget* w) const
    {
        QRect r = rectOf(w);
        for (const QWidget* a = w->parentWidget(); a && a != window.get(); a = a->parentWidget())
            r &= rectOf(a);
        return r & window->rect();
    }
};

QList<QAbstractButton*> toolBarButtons(Ui::MainWindow& f)
{
    return f.ControlBar1->findChildren<QAbstractButton*>();
}

// A button the user can press where it is: whole on the screen and on top at its middle.
bool wholeAndOnTop(LayoutRig& r, QAbstractButton* b)
{
    return b->isVisible() && r.shownPart(b) == r.rectOf(b)
           && r.window->childAt(r.rectOf(b).center()) == b;
}

// The menu entries of the window's buttons that pop up a menu, as it would show them now.
QList<QAction*> menuEntries(LayoutRig& r)
{
    QList<QAction*> entries;
    for (QToolButton* b : r.window->findChildren<QToolButton*>()) {
        if (!b->menu() || !b->isVisible())
            continue;
        emit b->menu()->aboutToShow();
        entries += b->menu()->actions();
    }
    return entries;
}

}  // namespace

TEST(WindowLayout, EveryToolBarButtonIsWithinReachAtAnyWidth)
{
    LayoutRig r;
    // Disabled buttons must be reachable too once they are enabled.
    for (QAbstractButton* b : toolBarButtons(r.f()))
        b->setEnabled(true);
    ASSERT_EQ(toolBarButtons(r.f()).size(), 17);

    r.resize(794, 515);
    for (QAbstractButton* b : toolBarButtons(r.f()))
        EXPECT_TRUE(wholeAndOnTop(r, b)) << "794x515: " << b->objectName().toStdString();

    for (const QSize size : {QSize(640, 480), QSize(400, 300)}) {
        r.resize(size.width(), size.height());
        QList<QAbstractButton*> outOfReach;
        for (QAbstractButton* b : toolBarButtons(r.f()))
            if (!wholeAndOnTop(r, b))
                outOfReach.append(b);
        // Each of the others is pressed by exactly one menu entry. A press may press others in
        // turn (a start closes the options panel with its button): the first one counts.
        QList<QAbstractButton*> pressedFirst;
        for (QAction* a : menuEntries(r)) {
            QList<QAbstractButton*> pressed;
            QList<QMetaObject::Connection> watching;
            for (QAbstractButton* b : toolBarButtons(r.f()))
                watching << QObject::connect(b, &QAbstractButton::pressed,
                                             [&pressed, b] { pressed << b; });
            a->trigger();
            for (const QMetaObject::Connection& c : watching)
                QObject::disconnect(c);
            if (!pressed.isEmpty())
                pressedFirst << pressed.first();
        }
        for (QAbstractButton* b : outOfReach)
            EXPECT_EQ(pressedFirst.count(b), 1)
                << size.width() << "x" << size.height() << ": " << b->objectName().toStdString();
    }
}

namespace {

// A caption's width against the room its control gives it, by Qt's own metrics.
std::optional<int> captionRoom(QWidget* w, QString* caption)
{
    const QStyle* style = w->style();
    if (auto* l = qobject_cast<QLabel*>(w)) {
        // Status panels shorten their texts on purpose; wrapped labels take more lines.
        if (l->wordWrap() || l->objectName().startsWith(QLatin1String("statusPanel")))
            return std::nullopt;
        *caption = l->text();
        int indent = l->indent() >= 0 ? l->indent()
                     : l->frameWidth() > 0 ? w->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2
                                           : 0;
        if (l->alignment() & Qt::AlignHCenter)
            indent = 0;
        return l->contentsRect().width() - 2 * l->margin() - indent;
    }
    if (auto* c = qobject_cast<QCheckBox*>(w)) {
        *caption = c->text();
        return w->width() - style->pixelMetric(QStyle::PM_IndicatorWidth)
               - style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    }
    if (auto* rb = qobject_cast<QRadioButton*>(w)) {
        *caption = rb->text();
        return w->width() - style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth)
               - style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    }
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        *caption = b->text();
        const int frame = 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth);
        return w->width() - 2 * frame;
    }
    if (auto* g = qobject_cast<QGroupBox*>(w)) {
        *caption = g->title();
        // The title starts a little inside the frame and needs as much room after it.
        return w->width() - 2 * w->fontMetrics().horizontalAdvance(QLatin1Char('x'));
    }
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        *caption = c->currentText();
        return w->width() - style->pixelMetric(QStyle::PM_ScrollBarExtent)
               - 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth);
    }
    return std::nullopt;
}

// Every caption shown now that is wider than its control or partly outside what its parents
// show (under the status bar, past the window's edge).
QStringList cutCaptions(LayoutRig& r)
{
    QStringList cut;
    for (QWidget* w : r.window->findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        QString caption;
        const std::optional<int> room = captionRoom(w, &caption);
        if (!room || caption.isEmpty())
            continue;
        const int needed = w->fontMetrics().horizontalAdvance(caption);
        if (needed > *room)
            cut << QStringLiteral("%1 «%2» needs %3, has %4")
                       .arg(w->objectName(), caption)
                       .arg(needed)
                       .arg(*room);
        if (r.shownPart(w) != r.rectOf(w))
            cut << QStringLiteral("%1 «%2» is partly hidden").arg(w->objectName(), caption);
    }
    return cut;
}

}  // namespace

TEST(WindowLayout, NoCaptionIsCutAtTheUsualSizesWithAnyPanelOpen)
{
    for (const QSize size : {QSize(794, 515), QSize(800, 500)}) {
        LayoutRig r;
        r.resize(size.width(), size.height());
        Ui::MainWindow& f = r.f();
        auto check = [&](const char* state) {
            QApplication::processEvents();
            const QStringList cut = cutCaptions(r);
            EXPECT_TRUE(cut.isEmpty()) << size.width() << "x" << size.height() << ", " << state
                                       << ":\n" << cut.join(QLatin1Char('\n')).toStdString();
        };
        check("nothing open");
        f.btChooseF->click();
        check("F/T");
        f.btChooseF->click();
        f.btADXL->click();
        check("accelerometer");
        f.btADXL->click();
        f.btOptions->click();
        check("options");
        r.w().lbCtlPrmClick();
        check("options and control outputs");
        f.btOptions->click();
        r.dialogs->answers << r.dir.path();
        f.btShowCmnt->click();
        check("comment list");
        f.btCancel->click();
        r.startTransfer();
        check("transfer");
        r.w().btCancelRunClick();
        f.btSingle->click();
        check("real-time mode");
        f.btSingle->click();
    }
}

TEST(WindowLayout, OpenPanelsCoverNeitherEachOtherNorTheLiveCancelButton)
{
    for (const QSize size : {QSize(794, 515), QSize(800, 500)}) {
        LayoutRig r;
        r.resize(size.width(), size.height());
        Ui::MainWindow& f = r.f();
        const QString at = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());

        // The control outputs are set from the options panel: both open side by side.
        f.btOptions->click();
        r.w().lbCtlPrmClick();
        EXPECT_FALSE(r.rectOf(f.gbOptions).intersects(r.rectOf(f.gbCtlPrm))) << at.toStdString();
        f.btOptions->click();

        // During a transfer every panel the user opens leaves the cancel button free.
        r.startTransfer();
        const QList<QWidget*> panels{f.gbOptions, f.gbCtlPrm, f.gbAx, f.gbFT};
        f.btOptions->click();
        r.w().lbCtlPrmClick();
        f.btADXL->click();
        for (int round = 0; round < 2; ++round) {
            for (QWidget* p : panels) {
                if (p->isHidden())
                    continue;
                EXPECT_FALSE(r.rectOf(p).intersects(r.rectOf(f.btCancelRun)))
                    << at.toStdString() << " " << p->objectName().toStdString();
                EXPECT_EQ(r.window->childAt(r.rectOf(f.btCancelRun).center()), f.btCancelRun);
            }
            EXPECT_FALSE(r.rectOf(f.gbOptions).intersects(r.rectOf(f.gbCtlPrm))) << at.toStdString();
            f.btChooseF->click();  // the F/T window takes the accelerometer panel's turn
        }
    }
}
