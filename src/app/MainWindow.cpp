#include "app/MainWindow.h"

#include "app/CaptionColour.h"
#include "app/EventHook.h"
#include "app/FileDialogs.h"
#include "app/FloatingPanels.h"
#include "app/HelpWindow.h"
#include "app/StatusPanel.h"
#include "app/SwitchCaptions.h"
#include "app/ToolStrip.h"
#include "chart/PlottedSignal.h"
#include "chartview/PlaceOnScreen.h"
#include "chartview/SecondaryChartWindow.h"
#include "device/Acquisition.h"
#include "device/OutputRules.h"
#include "device/RealTimeCycle.h"
#include "serial/SerialPort.h"
#include "text/Messages.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWhatsThis>
#include <QWindow>

// The resources live in a static library; the linker keeps them only when asked by name.
static void initResources()
{
    Q_INIT_RESOURCE(korvel);
}

namespace korvel {

MainWindow::MainWindow(const QString& settingsPath, Messages& messages, BoardAccess board,
                       QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                              | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                              | Qt::WindowContextHelpButtonHint),
      ui(std::make_unique<Ui::MainWindow>()),
      messages_(messages),
      port_(std::move(board.port)),
      findPort_(std::move(board.findPort)),
      settingsPath_(settingsPath)
{
    initResources();
    ui->setupUi(this);
    createStatusPanels();
    createToolStrip();
    createFloatingPanels();

    pmChart_ = new QMenu(this);
    pmChart_->setObjectName(QStringLiteral("pmChart"));
    N1_ = pmChart_->addAction(QStringLiteral("Копировать"));
    N1_->setObjectName(QStringLiteral("N1"));
    ui->Chart1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->Chart1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { pmChart_->popup(ui->Chart1->mapToGlobal(p)); });

    // The input error label is red; its blink alternates with yellow.
    QPalette errPalette = ui->lErrIn->palette();
    errPalette.setColor(QPalette::WindowText, Qt::red);
    ui->lErrIn->setPalette(errPalette);

    Timer2.setInterval(250);
    TimErrColor.setInterval(300);
    connect(&TimErrColor, &QTimer::timeout, this, &MainWindow::TimErrColorTimer);

    connect(ui->btExtrn, &QToolButton::clicked, this, &MainWindow::btExtrnClick);
    connect(ui->seFExtrn, &SpinField::changed, this, &MainWindow::seFExtrnChange);
    connect(ui->seSamplesFExtrn, &SpinField::changed, this, &MainWindow::seSamplesFExtrnChange);

    // A click on the free area of the window spreads or restores it.
    ui->centralwidget->installEventFilter(this);
    addHelpKey(this);

    wireBoard();
    // Measurement handlers.
    wireMeasurements();

    // Chart, options and conditions panel handlers.
    wireChartPanels();

    // Data file and folder handlers.
    wireDataFiles();

    // Real-time and accelerometer handlers.
    wireRealTime();
    wireAccel();

    // Chart interaction handlers.
    wireInteraction();
    wireSpectrum();
    wireNavigation();
    wireRecentFiles();
    wireSpectrogram();

    FormCreate();
    TimErrColor.start();
}

MainWindow::~MainWindow() = default;

void MainWindow::createStatusPanels()
{
    // The panels are placed by hand, not by the status bar's layout: each is exactly a third
    // of the window, and fixed widths inside a layout would stop the window from shrinking.
    ui->status->setSizeGripEnabled(false);
    ui->status->setFixedHeight(22);
    for (int i = 0; i < 3; ++i) {
        auto* l = new StatusPanel(ui->status);
        l->setObjectName(QStringLiteral("statusPanel%1").arg(i));
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        statusPanels_[i] = l;
    }
}

void MainWindow::createToolStrip()
{
    Ui::MainWindow& f = *ui;
    using Cells = QList<QList<QWidget*>>;
    toolStrip_ = new ToolStrip(
        f.Header, f.ControlBar1,
        {{f.lbHeadFile, f.tbFile,
          Cells{{f.btSave}, {f.btLoadFile}, {f.btCopy}, {f.btShowCmnt}, {f.btPrevFile},
                {f.btNextFile}, {f.btPrint}}},
         {f.lbHeadF, f.tbGoBtns, Cells{{f.btChooseF}}},
         {f.lbHeadStart, f.tbGoBtns, Cells{{f.bt1MHz}, {f.bt07MHz}, {f.btStartFExtrn}, {f.btExtrn}}},
         {f.lbHeadResult, f.tbGoBtns, Cells{{f.btSingle}, {f.pnlA, f.pnlT}}},
         {f.lbHeadUsb, f.tbGoBtns, Cells{{f.btUSB}, {f.btRd}}},
         {f.lbHeadMode, f.tbOptions, Cells{{f.btOptions}}},
         {f.lbHeadAccel, f.tbADXL, Cells{{f.btADXL}}}});
    for (const auto& [button, captions] :
         {std::pair{f.btChooseF, ChooseFCaptions}, std::pair{f.btOptions, OptionsCaptions},
          std::pair{f.btADXL, AdxlCaptions}, std::pair{f.btSingle, SingleCaptions}})
        toolStrip_->reserveCaptions(button, {captions.off, captions.on});
    for (const auto& [indicator, line] :
         {std::pair{f.pnlA, OutputLine::Signal}, std::pair{f.pnlT, OutputLine::Temperature}})
        toolStrip_->reserveCaptions(indicator, {OutputIndicatorCaption(line, OutputResult::High),
                                                OutputIndicatorCaption(line, OutputResult::Low)});
}

void MainWindow::createFloatingPanels()
{
    Ui::MainWindow& f = *ui;
    const int belowToolBars = f.ControlBar1->y() + f.ControlBar1->height() + 2;
    floatingPanels_ = std::make_unique<FloatingPanels>(
        f.centralwidget, QList<QWidget*>{f.gbFT, f.gbAx, f.gbOptions, f.gbCtlPrm}, f.Panel1,
        f.btCancelRun, belowToolBars);
    // The cancel button lies over the progress panel but above every floating panel, and is
    // there exactly while the progress panel is.
    f.btCancelRun->setVisible(!f.Panel1->isHidden());
    // Panels open when a run starts make room for it; they stay where they are after it. The
    // comment list, which shares the chart with it, goes under it.
    new EventHook(f.Panel1, [this](QEvent* e) {
        if (e->type() == QEvent::ShowToParent) {
            ui->Panel1->raise();
            ui->btCancelRun->show();
            floatingPanels_->placeOpenPanels();
        } else if (e->type() == QEvent::HideToParent) {
            ui->btCancelRun->hide();
        }
        return false;
    });
}

void MainWindow::layOutStatusPanels()
{
    const int w = width() / 3;
    for (int i = 0; i < 3; ++i)
        statusPanels_[i]->setGeometry(i * w, 1, w, ui->status->height() - 2);
}

void MainWindow::FormCreate()
{
    // 1. Start state; the chart margins are the class constants.
    scaling.CoefficientsFromFile = false;
    ui->btSaveChart->move(ui->btSaveChart->x(), ui->Chart1->height() - 26);
    ui->btExtrn->setIcon(QIcon(QStringLiteral(":/icons/exrise.svg")));

    // 2. The window's size and place, then the layout that follows from them.
    const LoadedSettings loaded = LoadSettings(settingsPath_);
    const SettingsValues& values = loaded.values;
    reportSettingsProblems(loaded);
    applyGeometry(values);
    FormResize();

    // 3. Every other key, in reading order, with the steps that follow some of them.
    applySettings(values);

    // 4. QCustomPlot takes a whole array in one call (QCPGraph::data()->set), so the series
    //    need no growth step.

    // 5. The acquisition object (made by wireBoard) starts with an empty SampleBuffer and
    //    BlockCount 8.
    // 6. A board that is not found is reported and does not stop the start.
    ConnectBoard();

    // 7. The accelerometer's list, first for one channel, then for the boxes as checked; the
    //    acquisition starts with the period 0.0007 s.
    FillAccelDurations();
    accel.AccelDurationIndex = 0;
    cbXClick();

    // 8. The channel boxes wear the colours of their series.
    SetCaptionColour(ui->cbX, ui->Chart1->seriesColor(ui->Chart1->Series1()));
    SetCaptionColour(ui->cbY, ui->Chart1->seriesColor(ui->Chart1->Series2()));

    // 9. The block code table is a constant of the board's command set.

    // 10.
    ui->btRd->setEnabled(false);
    layOutStatusPanels();
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
    followWithSecondaryWindow();
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    followWithSecondaryWindow();
}

void MainWindow::FormResize()
{
    Ui::MainWindow& f = *ui;
    const int chartW = width() - ChartWidthMargin;
    const int chartH = height() - ChartHeightMargin;
    f.Chart1->resize(chartW, chartH);
    f.gbFile->resize(chartW, f.gbFile->height());
    f.Panel1->resize(chartW, f.Panel1->height());
    f.gbAllCmnt->resize(chartW, chartH);
    f.progressBar->resize(chartW - 20, f.progressBar->height());
    f.mComment->resize(f.gbFile->width() - 16, f.mComment->height());
    f.MAllCmnt->resize(f.mComment->width(),
                       f.gbAllCmnt->height() - f.pSearch->height() - f.MAllCmnt->y() - 10);
    f.pSearch->setGeometry(f.pSearch->x(), f.gbAllCmnt->height() - f.pSearch->height() - 5,
                           f.gbAllCmnt->width() - 20, f.pSearch->height());
    f.btSaveChart->move(f.btSaveChart->x(), chartH - 26);
    layOutStatusPanels();
    toolStrip_->fitTo(width());
    floatingPanels_->placeOpenPanels();
}

void MainWindow::FormClick()
{
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect work = s->availableGeometry();
    const int workBottom = work.y() + work.height();
    const int screenWidth = s->geometry().width();
    // Spreading is judged and done on the outer frame, so that the title bar fits the work
    // area too; sizes kept and restored are those of the window itself.
    const QRect frame = frameGeometry();
    const int frameW = frame.width() - width();
    const int frameH = frame.height() - height();

    if (frame.height() >= workBottom && frame.width() >= screenWidth) {
        if (savedGeometry.height == 0)
            savedGeometry = {480, 620, 0, 0};
        resize(savedGeometry.width, savedGeometry.height);
        move(savedGeometry.left, savedGeometry.top);
    } else {
        savedGeometry = {height(), width(), x(), y()};
        resize(screenWidth - frameW, workBottom - frameH);
        move(0, 0);
    }
    FormResize();
}

bool MainWindow::event(QEvent* event)
{
    // The window manager has framed the window: with the title bar the restored window may no
    // longer fit, and the status bar would be the part left off the screen.
    const bool placed = event->type() == QEvent::Move || event->type() == QEvent::Resize;
    if (placed && frameFitPending && windowHandle() && !windowHandle()->frameMargins().isNull()) {
        frameFitPending = false;
        QTimer::singleShot(0, this, [this] { PlaceOnScreen(this, x(), y(), width(), height()); });
    }
    // The title bar's help button (where the platform draws one) opens the help directly.
    if (event->type() == QEvent::EnterWhatsThisMode) {
        QWhatsThis::leaveWhatsThisMode();
        showHelpFor(this);
        return true;
    }
    return QMainWindow::event(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->centralwidget && event->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton && !ui->centralwidget->childAt(me->position().toPoint())) {
            FormClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::addHelpKey(QWidget* window)
{
    // F1 asks for the topic of the area under the mouse, or of the window it was pressed in.
    auto* f1 = new QShortcut(QKeySequence::HelpContents, window);
    connect(f1, &QShortcut::activated, this, [this, window] {
        const QWidget* under = QApplication::widgetAt(QCursor::pos());
        showHelpFor(under && window->isAncestorOf(under) ? under : window);
    });
}

void MainWindow::showHelpFor(const QWidget* w)
{
    if (!help_)
        help_ = new HelpWindow(this);
    help_->showTopic(HelpTopicOf(w));
}

void MainWindow::attachSecondaryWindow(SecondaryChartWindow* w)
{
    secondary_ = w;
    const ChartView* c = ui->Chart1;
    w->FormCreate(c->seriesColor(c->SeriDgt1()), c->seriesColor(c->SeriDgt2()),
                  c->seriesColor(c->SeriDgt3()));
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();  // a settings file that cannot be written must not keep the window open
}

void MainWindow::FormClose()
{
    // Nothing may run after the sample data is gone: stop every timer and close the port
    // (no more receive events) before the buffer is released.
    Timer2.stop();
    TimErrColor.stop();
    realTimeCycle_->stop();
    acquisition_->timRx().stop();
    acquisition_->timSendCmd().stop();
    acquisition_->trailingQuiet().stop();
    port_->close();

    acquisition_->loadRecording(Recording());

    writeSettings();

    if (secondary_)
        secondary_->hide();
    if (help_)
        help_->close();
}

void MainWindow::writeSettings()
{
    if (!settingsRefused_)
        SaveSettings(settingsPath_, collectSettings(), messages_);
}

}  // namespace korvel
