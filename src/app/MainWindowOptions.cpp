// The options panel (coefficients, X unit, smoothing, digital lines and their colours) and the
// conditions panel of the control outputs: the handlers that read these controls and redraw.
#include "app/CaptionColour.h"
#include "app/MainWindow.h"
#include "app/FloatingPanels.h"
#include "app/SwitchCaptions.h"

#include "chart/ControlThresholds.h"
#include "chart/ScaleControls.h"
#include "chart/Scaling.h"
#include "chartview/ChartView.h"
#include "chartview/SecondaryChartWindow.h"
#include "device/Acquisition.h"
#include "text/Messages.h"
#include "text/NumberFormat.h"
#include "ui_MainWindow.h"

#include <QColorDialog>
#include <QKeyEvent>
#include <QMouseEvent>

namespace korvel {

namespace {

// A left double click on a widget.
class DoubleClickHandler : public QObject {
public:
    DoubleClickHandler(QWidget* target, std::function<void()> action)
        : QObject(target), action_(std::move(action))
    {
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::MouseButtonDblClick
            || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        action_();
        return true;
    }

private:
    std::function<void()> action_;
};

// A left click on a widget (where accepts() says so). The press is taken too: a label ignores
// presses, and the release then goes to whichever parent took the press instead.
class ClickHandler : public QObject {
public:
    ClickHandler(QWidget* target, std::function<bool(QPoint)> accepts,
                 std::function<void()> action)
        : QObject(target), accepts_(std::move(accepts)), action_(std::move(action))
    {
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        const QEvent::Type t = event->type();
        if (t != QEvent::MouseButtonPress && t != QEvent::MouseButtonRelease)
            return false;
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() != Qt::LeftButton || !accepts_(me->position().toPoint()))
            return false;
        if (t == QEvent::MouseButtonRelease)
            action_();
        return true;
    }

private:
    std::function<bool(QPoint)> accepts_;
    std::function<void()> action_;
};

void onClick(QWidget* w, std::function<void()> action)
{
    new ClickHandler(w, [](QPoint) { return true; }, std::move(action));
}

// emExtShift/emExtScale take only what can make a number, with either key for the separator.
class ScaleKeyFilter : public QObject {
public:
    explicit ScaleKeyFilter(QLineEdit* edit) : QObject(edit), edit_(edit)
    {
        edit->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        // The editing shortcuts type control characters; they are commands, not input.
        for (QKeySequence::StandardKey k :
             {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut,
              QKeySequence::Paste, QKeySequence::Undo, QKeySequence::Redo}) {
            if (key->matches(k))
                return false;
        }
        const QString typed = key->text();
        // Keys that type nothing (arrows, Delete, Home) move or edit, they are not characters.
        if (typed.size() != 1)
            return false;
        const QChar passed = FilterScaleKey(typed.at(0));
        if (passed.isNull())
            return true;
        if (passed != typed.at(0)) {
            edit_->insert(QString(passed));
            return true;
        }
        return false;
    }

private:
    QLineEdit* edit_;
};

}  // namespace

void MainWindow::wireChartPanels()
{
    Ui::MainWindow& f = *ui;
    ColorDlg = [this](const QColor& initial) { return QColorDialog::getColor(initial, this); };

    // activated: only the user's choice redraws, not a selection made by the program.
    connect(f.cbShowK, &QComboBox::activated, this, [this] { cbShowKClick(); });
    for (QComboBox* box : {f.cbRgm, f.cbXscale, f.cbTCondition1, f.cbTCondition2, f.cbTLevel1,
                           f.cbTLevel2, f.cbACondition1, f.cbACondition2, f.cbALevel1,
                           f.cbALevel2})
        connect(box, &QComboBox::activated, this, [this] { cbRgmChange(); });
    connect(f.cbExtShift, &QComboBox::activated, this, [this] { cbExtShiftChange(); });
    connect(f.cbExtScale, &QComboBox::activated, this, [this] { cbExtScaleChange(); });
    new ScaleKeyFilter(f.emExtShift);
    new ScaleKeyFilter(f.emExtScale);
    connect(f.cbInt, &QCheckBox::clicked, this, [this] { cbIntClick(); });
    onClick(f.pLdFile, [this] { pLdFileClick(); });
    onClick(f.lbScales1, [this] { lbScales1Click(); });
    onClick(f.lbScales2, [this] { lbScales2Click(); });
    connect(f.btOptions, &QToolButton::clicked, this, [this] { btOptionsClick(); });
    // Only the panel's free area: a click that a child let through arrives here too.
    new ClickHandler(
        f.gbOptions, [this](QPoint p) { return !ui->gbOptions->childAt(p); },
        [this] { gbOptionsClick(); });
    connect(f.cbDgt1, &QCheckBox::clicked, this, [this] { cbDgt1Click(); });
    connect(f.cbDgt2, &QCheckBox::clicked, this, [this] { cbDgt2Click(); });
    connect(f.cbDgt3, &QCheckBox::clicked, this, [this] { cbDgt3Click(); });
    connect(f.cbTermo, &QCheckBox::clicked, this, [this] { cbDgt3Click(); });
    new DoubleClickHandler(f.GroupBox3, [this] { GroupBox3DblClick(); });
    onClick(f.lbCtlPrm, [this] { lbCtlPrmClick(); });
    connect(f.btCloseCtlPrm, &QPushButton::clicked, this, [this] { btCloseCtlPrmClick(); });

    connect(&acquisition(), &Acquisition::chartFlagsReset, this, [this] {
        scaling.CoefficientsFromFile = false;
        chart.ChartZoomed = false;
    });
    connect(&acquisition(), &Acquisition::drawChart, this,
            [this] { ShowChart(ChartOrigin::timRx); });
}

void MainWindow::cbShowKClick()
{
    Ui::MainWindow& f = *ui;
    ScaleControlsEnabled now;
    now.cbRgm = f.cbRgm->isEnabled();
    now.cbExtShift = f.cbExtShift->isEnabled();
    now.cbExtScale = f.cbExtScale->isEnabled();
    now.eYTitle = f.eYTitle->isEnabled();
    now.emExtShift = f.emExtShift->isEnabled();
    now.emExtScale = f.emExtScale->isEnabled();
    const ScaleControlsEnabled e = cbShowKEnabling(
        f.cbShowK->currentIndex(), f.cbExtShift->currentIndex(), f.cbExtScale->currentIndex(), now);
    f.cbRgm->setEnabled(e.cbRgm);
    f.cbExtShift->setEnabled(e.cbExtShift);
    f.cbExtScale->setEnabled(e.cbExtScale);
    f.eYTitle->setEnabled(e.eYTitle);
    f.emExtShift->setEnabled(e.emExtShift);
    f.emExtScale->setEnabled(e.emExtScale);
    if (chartHasPoints())
        ShowChart(ChartOrigin::cbShowK);
}

void MainWindow::cbRgmChange()
{
    cbShowKClick();
}

void MainWindow::cbExtShiftChange()
{
    ui->emExtShift->setEnabled(ExtEditEnabled(ui->cbExtShift->currentIndex()));
    cbShowKClick();
}

void MainWindow::cbExtScaleChange()
{
    ui->emExtScale->setEnabled(ExtEditEnabled(ui->cbExtScale->currentIndex()));
    cbShowKClick();
}

void MainWindow::cbIntClick()
{
    if (chartHasPoints())
        ShowChart(ChartOrigin::cbInt);
}

void MainWindow::pLdFileClick()
{
    // The next redraw takes the coefficients from the controls again.
    ui->pLdFile->hide();
    scaling.CoefficientsFromFile = false;
}

void MainWindow::lbScales1Click()
{
    pLdFileClick();
}

void MainWindow::lbScales2Click()
{
    pLdFileClick();
}

namespace {

void setOptionsCaption(QToolButton* b, bool open)
{
    b->setText(open ? OptionsCaptions.on : OptionsCaptions.off);
    SetCaptionColour(b, open ? QColor(Qt::red) : QColor(Qt::black));
}

}  // namespace

void MainWindow::btOptionsClick()
{
    Ui::MainWindow& f = *ui;
    if (!f.gbOptions->isHidden()) {  // the panel's own state, even while the window is not shown
        f.gbOptions->hide();
        setOptionsCaption(f.btOptions, false);
        return;
    }
    if (!scaling.CoefficientsFromFile)
        f.pLdFile->hide();
    floatingPanels_->show(f.gbOptions);
    btCloseCtlPrmClick();
    setOptionsCaption(f.btOptions, true);
}

void MainWindow::gbOptionsClick()
{
    ui->gbOptions->hide();
    setOptionsCaption(ui->btOptions, false);
}

void MainWindow::cbDgt1Click()
{
    if (chartHasPoints())
        ShowChart(ChartOrigin::cbDgt1);
}

void MainWindow::cbDgt2Click()
{
    if (chartHasPoints())
        ShowChart(ChartOrigin::cbDgt2);
}

void MainWindow::cbDgt3Click()
{
    if (chartHasPoints())
        ShowChart(ChartOrigin::cbDgt3);
}

void MainWindow::GroupBox3DblClick()
{
    Ui::MainWindow& f = *ui;
    ChartView* c = f.Chart1;
    struct Line {
        const char* text;
        QCPGraph* main;
        QCheckBox* box;
        QCPGraph* secondary;
    };
    const Line lines[3] = {
        {"Выберите цвет графика цифрового сигнала XP2/конт.2", c->SeriDgt1(), f.cbDgt1,
         secondary_ ? secondary_->SeriDgt1() : nullptr},
        {"Выберите цвет графика цифрового сигнала XP2/конт.3", c->SeriDgt2(), f.cbDgt2,
         secondary_ ? secondary_->SeriDgt2() : nullptr},
        {"Выберите цвет графика цифрового сигнала XP3/конт.8", c->SeriDgt3(), f.cbDgt3,
         secondary_ ? secondary_->SeriDgt3() : nullptr},
    };
    for (const Line& line : lines) {
        if (!messages().askOkCancel(QString::fromUtf8(line.text)))
            continue;
        const QColor picked = ColorDlg(c->seriesColor(line.main));
        if (!picked.isValid())
            continue;
        c->setSeriesColor(line.main, picked);
        SetCaptionColour(line.box, picked);
        if (line.secondary) {
            QPen pen = line.secondary->pen();
            pen.setColor(picked);
            line.secondary->setPen(pen);
        }
    }
    c->replot();
    if (secondary_)
        secondary_->chart()->replot();
}

void MainWindow::lbCtlPrmClick()
{
    floatingPanels_->show(ui->gbCtlPrm);
}

bool MainWindow::btCloseCtlPrmClick()
{
    Ui::MainWindow& f = *ui;
    f.gbCtlPrm->hide();
    try {
        thresholds = ReadControlThresholds(
            {f.eTOn->text(), f.eTOff->text(), f.eAOn->text(), f.eAOff->text()}, [this] {
                GetScaleParams();
                return ScaleCoefficients{scaling.ScaleK, scaling.ScaleShift};
            });
        return true;
    } catch (const ConversionError& e) {
        // All four stay in force: a half-read set would switch the outputs on mixed rules.
        messages().error(e.message());
        return false;
    }
}

}  // namespace korvel
