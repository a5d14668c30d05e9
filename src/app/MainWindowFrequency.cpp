// The F/T window's widgets mirrored into the calculator: typed text and focus moves go in,
// the fields, the true-value labels and the error label come back out.
#include "app/CaptionColour.h"
#include "app/MainWindow.h"
#include "app/FloatingPanels.h"
#include "app/SwitchCaptions.h"

#include "app/EventHook.h"
#include "device/Acquisition.h"
#include "ui_MainWindow.h"

#include <QKeyEvent>
#include <QPointer>
#include <algorithm>
#include <initializer_list>

namespace korvel {

namespace {

FtFocus focusOf(const Ui::MainWindow& f)
{
    if (f.seF->hasFocus())
        return FtFocus::seF;
    if (f.seTime->hasFocus())
        return FtFocus::seTime;
    if (f.seSamples->hasFocus())
        return FtFocus::seSamples;
    return FtFocus::Other;
}

bool isKey(QEvent* e, std::initializer_list<int> keys)
{
    if (e->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(e)->key();
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

}  // namespace

void MainWindow::wireFrequencyWindow()
{
    Ui::MainWindow& f = *ui;
    connect(f.btChooseF, &QToolButton::clicked, this, &MainWindow::btChooseFClick);
    // A window destroyed while shown closes itself after its form is gone, and the focused
    // field then loses the focus: the field handlers are tied to the acquisition object,
    // which goes before the form, so they are cut off by then.
    QObject* alive = acquisition_.get();
    connect(f.seF, &SpinField::changed, alive, [this] { seFChange(); });
    connect(f.seTime, &SpinField::changed, alive, [this] { seTimeChange(); });
    connect(f.seSamples, &SpinField::changed, alive, [this] { seSamplesChange(); });
    // A field emits exited while the focus already sits on its successor, before it clamps
    // its own text; the calculator runs the exit handler and clamps the same way.
    connect(f.seF, &SpinField::exited, alive, [this] { seFExit(); });
    connect(f.seTime, &SpinField::exited, alive, [this] { seTimeExit(); });
    connect(f.seSamples, &SpinField::exited, alive, [this] { syncFtFocus(); });

    // Entering a field is told to the calculator by the field itself.
    const QPointer<QObject> guard(alive);
    auto escCloses = [this, guard](QEvent* e) {
        if (!guard)
            return false;
        if (e->type() == QEvent::FocusIn)
            syncFtFocus();
        if (!isKey(e, {Qt::Key_Escape}))
            return false;
        ui->gbFT->hide();
        return true;
    };
    new EventHook(f.seF, escCloses);
    new EventHook(f.seTime, escCloses);
    new EventHook(f.seSamples, [this, guard](QEvent* e) {
        if (guard && e->type() == QEvent::FocusIn)
            syncFtFocus();
        return false;
    });
    new EventHook(f.btStart, [this, guard, escCloses](QEvent* e) {
        if (guard && isKey(e, {Qt::Key_Return, Qt::Key_Enter})) {
            ui->btStart->click();
            return true;
        }
        return escCloses(e);
    });
}

void MainWindow::syncFtFocus()
{
    if (ftSyncing)
        return;
    const FtFocus now = focusOf(*ui);
    if (now == ft.focus())
        return;
    ft.setFocus(now);
    showFtState();
}

void MainWindow::showFtState()
{
    Ui::MainWindow& f = *ui;
    // Pushing a field's text back fires its change signal; the calculator already holds it.
    ftSyncing = true;
    auto put = [](SpinField* w, const FieldModel& m) {
        if (w->text() != m.text())
            w->setValue(m.value());
    };
    put(f.seF, ft.seF());
    put(f.seTime, ft.seTime());
    put(f.seSamples, ft.seSamples());
    ftSyncing = false;

    if (ft.divisors()) {
        const TrueValues& t = ft.trueValues();
        f.lbF->setText(t.lbF);
        f.lbT->setText(t.lbT);
        f.lbMinutes->setText(t.lbMinutes);
        f.lbDly->setText(t.lbDly);
    }
    const ErrorLabel& e = ft.lErrIn();
    f.lErrIn->setText(e.text);
    f.lErrIn->setVisible(e.visible);
    if (e.blinking && !TimErrColor.isActive())
        TimErrColor.start();
    else if (!e.blinking)
        TimErrColor.stop();
}

void MainWindow::setChooseFCaption(bool open)
{
    QToolButton* b = ui->btChooseF;
    b->setText(open ? ChooseFCaptions.on : ChooseFCaptions.off);
    SetCaptionColour(b, open ? QColor(Qt::red) : QColor(Qt::black));
}

void MainWindow::btChooseFClick()
{
    Ui::MainWindow& f = *ui;
    if (!f.gbFT->isHidden()) {
        f.gbFT->hide();
        setChooseFCaption(false);
        return;
    }
    floatingPanels_->show(f.gbFT);
    setChooseFCaption(true);
    f.gbAx->hide();
    f.seTime->setFocus(Qt::OtherFocusReason);
    f.seTime->selectAll();
    // With the duration field focused, the change handler recomputes everything from it.
    syncFtFocus();
    ft.seTimeChange();
    showFtState();
}

void MainWindow::seFChange()
{
    if (ftSyncing)
        return;
    syncFtFocus();
    // The starts run this handler without a change of text; it still acts while focused.
    if (ui->seF->text() != ft.seF().text())
        ft.typeText(FtField::seF, ui->seF->text());
    else
        ft.seFChange();
    showFtState();
}

void MainWindow::seTimeChange()
{
    if (ftSyncing)
        return;
    syncFtFocus();
    // The starts run this handler without a change of text; it still acts while focused.
    if (ui->seTime->text() != ft.seTime().text())
        ft.typeText(FtField::seTime, ui->seTime->text());
    else
        ft.seTimeChange();
    showFtState();
}

void MainWindow::seSamplesChange()
{
    if (ftSyncing)
        return;
    syncFtFocus();
    // No typing reaches this field: its text changes by steps, always a whole number.
    ft.setValue(FtField::seSamples, ui->seSamples->value());
    showFtState();
}

void MainWindow::seFExit()
{
    syncFtFocus();
}

void MainWindow::seTimeExit()
{
    syncFtFocus();
}

}  // namespace korvel
