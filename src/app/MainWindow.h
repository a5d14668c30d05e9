#pragma once
// TForm1, the main window: it holds every control (MainWindow.ui) and is the glue between the
// controls and the core. Its implementation is split by job: MainWindow.cpp (creation, resize,
// click, close, help), MainWindowSettings.cpp (settings in and out), MainWindowControls.cpp
// (trigger selector, external-clock label, error blink), MainWindowBoard.cpp (the port, the
// acquisition object and the connection to the board).

#include "chart/Calibration.h"
#include "chart/ControlThresholds.h"
#include "device/PortLocator.h"
#include "files/DataFileIo.h"
#include "serial/SerialPort.h"
#include "settings/RecentFiles.h"
#include "settings/Settings.h"
#include "timing/FtCalculator.h"

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

class QLabel;
class QMenu;
class QPrinter;

namespace Ui {
class MainWindow;
}

namespace korvel {

class Acquisition;
class FileDialogs;
class FloatingPanels;
class HelpWindow;
class Messages;
class RealTimeCycle;
class SecondaryChartWindow;
class SpectrumWindow;
class SpectrogramWindow;
class ToolStrip;
struct PlottedSignal;

// The port the window talks to the board through, and how ConnectBoard finds the board.
// Without a port the window uses the platform's serial port and looks for the bridge.
struct BoardAccess {
    std::unique_ptr<SerialPort> port;
    PortFinder findPort;
};

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // Runs the window's creation: reads settingsPath and applies it. The settings are written
    // back to the same path when the window closes.
    MainWindow(const QString& settingsPath, Messages& messages, BoardAccess board = {},
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // What the window's size leaves around the chart: the chart takes the rest.
    static constexpr int ChartHeightMargin = 169;
    static constexpr int ChartWidthMargin = 22;

    // The controls, by the names of the form.
    Ui::MainWindow* form() const { return ui.get(); }
    QLabel* statusPanel(int index) const { return statusPanels_.at(index); }
    QMenu* pmChart() const { return pmChart_; }
    QAction* N1() const { return N1_; }
    Messages& messages() const { return messages_; }
    const QString& settingsPath() const { return settingsPath_; }

    // The secondary chart window, created after this one; it takes the digital colours here.
    void attachSecondaryWindow(SecondaryChartWindow* w);
    SecondaryChartWindow* secondaryWindow() const { return secondary_; }

    // The acquisition state and the receive handler; the port it talks through.
    Acquisition& acquisition() const { return *acquisition_; }
    SerialPort& port() const { return *port_; }

    // The platform's file dialogs, colour dialog and default printer unless replaced: tests and
    // unattended runs put in their own, which never block.
    void setFileDialogs(std::shared_ptr<FileDialogs> dialogs) { fileDialogs = std::move(dialogs); }
    // An invalid colour means cancelled.
    void setColorDialog(std::function<QColor(const QColor&)> dialog)
    {
        ColorDlg = std::move(dialog);
    }
    // No printer (a null pointer): the page is offered as a PDF file instead.
    void setPrinterSource(std::function<std::unique_ptr<QPrinter>()> source)
    {
        CurrentPrinter = std::move(source);
    }

    // --- State the handlers share ---
    // The coefficients the chart is drawn with and the calibration of the ranges.
    struct ScaleState {
        Calibration calibration;
        double ScaleK = 0.0;
        int ScaleShift = 0;
        bool CoefficientsFromFile = false;
    };
    // The header of the data last read or written, and where it came from.
    struct DataHeader {
        int Variant = 1;           // 2: accelerometer file
        quint32 SampleBytes = 0;
        QString AxisXName;
        QString AxisYName;
        QString CurrentDataFile;
    };
    // What the chart shows and how the user looks at it.
    struct ChartState {
        bool ChartZoomed = false;
        bool ReadoutOn = false;
        double XStep = 1.0;
        // The X distance of one sample of the last plot, for the read-out: XStep, or the
        // accelerometer's own spacing, which the accelerometer plots do not write into XStep.
        double ReadoutStep = 1.0;
        double DigitalCentre = 0.0;
        int XUnitFactor = 1;
        int PrevXUnitFactor = 1;
        QString XUnitName;
        bool plotInterrupted = false;  // the last redraw stopped at a conversion error
    };
    // The accelerometer panel: seconds per block, channels, the duration of the last start.
    struct AccelState {
        int AccelBlockSeconds = 21;
        int AccelChannels = 1;
        quint16 AccelDurationIndex = 0;
    };

    // Read-only: only the window's handlers change this state, so whoever checks it sees what
    // the user's actions and the board made of it.
    const ScaleState& scaleState() const { return scaling; }
    const DataHeader& dataHeader() const { return data; }
    const ChartState& chartState() const { return chart; }
    const AccelState& accelState() const { return accel; }
    // Thresholds of the control outputs in force: °C, and ADC units for the analogue ones.
    const ControlThresholds& controlThresholds() const { return thresholds; }
    const FtCalculator& ftCalculator() const { return ft; }
    int triggerType() const { return TriggerType; }
    bool accelerometerMode() const { return AccelerometerMode; }
    qint32 progressTotalSeconds() const { return ProgressTotalS; }
    const QTimer& timer2() const { return Timer2; }
    const QTimer& timErrColor() const { return TimErrColor; }

    // Loads path without a dialog (the command line, the file manager, previous/next) the way
    // the open button loads a chosen one, and makes it the current data file; false, with
    // nothing changed (caption included), when the file is refused. The next file dialog
    // starts from its folder.
    bool openDataFile(const QString& path);

    // Writes the settings file now, as the close does (a session that may end next asks this);
    // a file that was refused at start is left alone, as the start said.
    void writeSettings();

    // Finds the board, opens its port and greets it; switches the eight board buttons.
    void ConnectBoard();
    void btUSBClick();

    // The window's own handlers.
    void FormResize();
    void FormClick();
    void showHelpFor(const QWidget* w);

    // Small handlers of controls placed here.
    void btExtrnClick();
    void seFExtrnChange();
    void seSamplesFExtrnChange();
    void TimErrColorTimer();

    // --- Measurements (MainWindowMeasurement.cpp, MainWindowFrequency.cpp) ---
    // The starts of the tool bar and the F/T window; each ends in BeginAcquisition.
    void bt1MHzClick();
    void bt07MHzClick();
    void ControlBar1DblClick();
    void btStartClick();
    void btStartFExtrnClick();
    void btRdClick();
    // The window's steps of the common start, then the acquisition's own.
    void BeginAcquisition();
    // The window's steps of an array transfer (the acquisition's transferStarted).
    void GetDataShown(double transferTimeMs);
    // The progress panel Panel1, driven by Timer2.
    void startProgress(double durationMs);
    void Timer2Timer();
    // Esc or the panel's "Отмена": stop waiting for the board. Its late replies are dropped;
    // the next start begins afresh.
    void btCancelRunClick();
    // A start is about to change the record: how the window shows it is remembered, and shown
    // so again with the record when the run brings no whole array.
    void keepShownRecord();
    void showRestoredRecord();

    // The F/T window: open/close and the handlers of its three fields. They act on the field
    // that really holds the keyboard focus.
    void btChooseFClick();
    void seFChange();
    void seTimeChange();
    void seFExit();
    void seTimeExit();
    void seSamplesChange();

    // --- Chart, options and conditions panels (MainWindowChart.cpp, MainWindowOptions.cpp) ---
    enum class ChartOrigin { timRx, btLoadFile, cbShowK, cbInt, cbDgt1, cbDgt2, cbDgt3, Chart1 };

    // Fills the series from the data of the current mode and replots. A coefficient text that
    // does not convert ends the redraw with an error box; the cleared series stay empty.
    void ShowChart(ChartOrigin Origin);
    // XUnitFactor and XUnitName from cbXscale.
    void CalcScales();
    // ScaleK, ScaleShift, the pRgm caption and the axis titles from the controls. Throws
    // ConversionError when a selected external coefficient or shift does not convert.
    void GetScaleParams();

    void cbShowKClick();
    void cbRgmChange();
    void cbExtShiftChange();
    void cbExtScaleChange();
    void cbIntClick();
    void pLdFileClick();
    void lbScales1Click();
    void lbScales2Click();
    void btOptionsClick();
    void gbOptionsClick();
    void cbDgt1Click();
    void cbDgt2Click();
    void cbDgt3Click();
    void GroupBox3DblClick();
    void lbCtlPrmClick();
    // Hides the conditions panel and reads the four thresholds; false (after the error box)
    // when a text does not convert, all four thresholds then stay as they were.
    bool btCloseCtlPrmClick();

    // --- Data files and folder browsing (MainWindowFiles.cpp, MainWindowFolder.cpp) ---
    // Saving writes a data file, or the text export for a name ending exactly in ".txt".
    void btSaveClick();
    // The open dialog, then openDataFile.
    void btLoadFileClick();

    void btPrevFileClick();
    void btNextFileClick();
    void btShowCmntClick();
    // A double click or Enter in MAllCmnt, or btOpenFind: the file of the comment under the
    // text cursor.
    void MAllCmntOpen();
    void btFindClick();
    void btPathClick();
    void btCancelClick();
    void btCopyClick();

    // --- Real-time and accelerometer modes (MainWindowRealTime.cpp, MainWindowAccel.cpp) ---
    // The polling chain and the output commands it writes; the request asks for the
    // temperature when cbTermo is checked at that moment.
    RealTimeCycle& realTimeCycle() const { return *realTimeCycle_; }

    void btSingleClick();
    void btTemperatureClick();
    // One output's decision from CurrentSignal (XP2/8) or CurrentTemperature (XP2/7): the
    // summary in status panel 1 or 2, the indicator, and the command sent from then on.
    void DecideOutput(bool signalOutput);

    void btADXLClick();
    void cbXClick();
    void cbYClick();
    void FillAccelDurations();
    void btAxGoClick();
    // rgAx: the eight entries are the radio buttons rgAxItem0..7; -1 when none is chosen.
    int rgAxItemIndex() const;
    QStringList rgAxItems() const;

    // --- Chart interaction (MainWindowInteraction.cpp) ---
    // Zoom and undo (the chart's gesture), the read-out under the mouse and its switch on the
    // status bar, the double click, the picture on the clipboard and the printout.
    void Chart1Zoom();
    void Chart1UndoZoom();
    // pixelX: the mouse's X in the chart's own pixels.
    void Chart1MouseMove(double pixelX);
    void statusClick();
    void Chart1DblClick();
    void btSaveChartClick();
    void N1Click();
    void btPrintClick();
    // The printer, or with none installed one writing the PDF file the user names; nothing
    // when the user cancels. The chart and the spectrum print through it.
    std::unique_ptr<QPrinter> printerOrPdfFile();

    // --- Looking round the chart (MainWindowNavigation.cpp) ---
    // The pop-up menu's items: one step back in the zoom history, the cursors A and B, their
    // values to the clipboard, the legend.
    QAction* previousZoomItem() const { return previousZoomItem_; }
    QAction* cursorsItem() const { return cursorsItem_; }
    QAction* copyCursorsItem() const { return copyCursorsItem_; }
    QAction* legendItem() const { return legendItem_; }
    void copyCursorReadout();

    // --- Recent files and dropped files (MainWindowRecent.cpp) ---
    // The open button's drop-down: data files opened or saved, newest first.
    QMenu* recentMenu() const { return recentMenu_; }
    const RecentFileList& recentFiles() const { return recentFiles_; }
    // As the open button opens a chosen file; a file that is gone leaves the list.
    void openRecentFile(const QString& path);

    // --- The spectrum window (MainWindowSpectrum.cpp) ---
    SpectrumWindow* spectrumWindow() const { return spectrum_; }
    QAction* N2() const { return N2_; }
    // btSpectrum and the pop-up menu's item N2: shows the window and brings it up to date.
    void btSpectrumClick();

    // --- The spectrogram window and the report (MainWindowSpectrogram.cpp) ---
    SpectrogramWindow* spectrogramWindow() const { return spectrogram_; }
    QAction* N3() const { return N3_; }
    // The spectrum window's button and the pop-up menu's item N3.
    void btSpectrogramClick();
    // The spectrum window's "Протокол": the one-page report on the printer or into a PDF file.
    void btReportClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    // F1 in a window of the program opens the help topic of the area under the mouse.
    void addHelpKey(QWidget* window);
    void FormClose();
    void createStatusPanels();
    // The column titles and tool bars, fitted to their captions and to the window's width.
    void createToolStrip();
    // The F/T, accelerometer, options and control-output panels, and the cancel button of a
    // run, which no panel may cover.
    void createFloatingPanels();
    void wireBoard();
    void setBoardButtonsEnabled(bool enabled);
    // btUSB's colour and tool tip: the port of the board, or no link (an empty device).
    void showLinkState(const QString& device);
    void layOutStatusPanels();

    // Settings: the window geometry first, then everything else in reading order.
    void applyGeometry(const SettingsValues& v);
    void applySettings(const SettingsValues& v);
    SettingsValues collectSettings() const;
    // Says once what the reader could not take from the settings file, or that it was UTF-8.
    void reportSettingsProblems(const LoadedSettings& loaded);

    // Each part of the window connects its own controls and acquisition signals.
    void wireMeasurements();
    void wireFrequencyWindow();
    void wireChartPanels();
    void wireDataFiles();
    void wireFolderBrowsing();
    void wireRealTime();
    void wireAccel();
    void wireInteraction();
    void wireSpectrum();
    void wireSpectrogram();
    void wireNavigation();
    void wireRecentFiles();

    // A new record is on the chart (a measurement received, a file loaded, the real-time mode
    // started): the zoom history and the cursors belong to the old one.
    void newRecordShown();
    void showCursorReadout();
    void rememberRecentFile(const QString& path);
    // Everything the plotted signal depends on, the bytes by their hash.
    size_t plottedSignalKey() const;
    // The plotted signal, computed again only when its key changed since the last replot.
    const PlottedSignal& chartSignal();

    // "Закрыть" in red while the F/T window is open, "F/T" in black otherwise.
    void setChooseFCaption(bool open);
    // Tells the calculator where the focus is now (running the exit handler of a field left)
    // and shows what it holds.
    void syncFtFocus();
    void showFtState();

    // What the coefficient controls hold, as the scaling model takes it.
    struct ScaleInputs scaleInputsOfControls() const;
    // Series1 shows at least one point: the handlers that redraw on a change do so only then.
    bool chartHasPoints() const;
    void showRealTimePlot(ChartOrigin Origin);
    void fillSecondaryWindow(const struct RealTimePlot& plot);
    // Width, left edge and axis lines of the secondary window as this window's.
    void alignSecondaryWindow();
    void followWithSecondaryWindow();

    // The file dialogs in force, the window's own QFileDialog when none was set.
    FileDialogs& dialogs();
    void writeDataFile(const QString& fileName);
    void writeTextExport(const QString& fileName);
    // A file previous/next stepped onto from the current one and that was refused: the next
    // step goes on from there, so that the user can step past a damaged file.
    QString folderPosition() const;
    void stepOnto(const QString& path);
    // The comment list: shown and emptied, then filled from the current file's folder (the
    // open dialog when it holds no data file) or from a folder the user chooses.
    void openCommentList();
    void listFolderOfCurrentFile();
    void listChosenFolder();
    void showCommentList(const QString& folder, const QStringList& entries);

    void writeOpenExport(const QString& fileName, SaveFormat format);

    // The signal as the chart plots it, without smoothing: the spectrum's and the open
    // exports' input.
    PlottedSignal plottedSignal() const;
    // The spectrum and the spectrogram take the chart's signal (when what it depends on changed)
    // and range.
    void syncAnalysisWindows();

    // A real-time reply was stored: with the temperature the outputs are decided first, then
    // the chart adds the point.
    void realTimeReplyStored(bool withTemperature);
    // The real-time record cannot take another point: the mode ends.
    void realTimeRecordFull();

    void setRgAxItemIndex(int index);

    std::unique_ptr<Ui::MainWindow> ui;
    Messages& messages_;
    std::unique_ptr<SerialPort> port_;
    PortFinder findPort_;
    std::unique_ptr<Acquisition> acquisition_;
    std::unique_ptr<RealTimeCycle> realTimeCycle_;
    QString settingsPath_;
    // The settings file was there and was not read: it is left as it is at close.
    bool settingsRefused_ = false;
    std::array<QLabel*, 3> statusPanels_{};
    ToolStrip* toolStrip_ = nullptr;
    std::unique_ptr<FloatingPanels> floatingPanels_;
    QMenu* pmChart_ = nullptr;
    QAction* N1_ = nullptr;
    SecondaryChartWindow* secondary_ = nullptr;
    HelpWindow* help_ = nullptr;
    SpectrumWindow* spectrum_ = nullptr;
    QAction* N2_ = nullptr;
    SpectrumSettings spectrumPlace_;   // as read; the window is placed at its first showing
    bool spectrumPlaced_ = false;
    bool spectrumSyncQueued_ = false;
    size_t spectrumKey_ = 0;
    SpectrogramWindow* spectrogram_ = nullptr;
    QAction* N3_ = nullptr;
    SpectrogramSettings spectrogramPlace_;
    bool spectrogramPlaced_ = false;
    size_t spectrogramKey_ = 0;

    QAction* previousZoomItem_ = nullptr;
    QAction* cursorsItem_ = nullptr;
    QAction* copyCursorsItem_ = nullptr;
    QAction* legendItem_ = nullptr;
    std::unique_ptr<PlottedSignal> chartSignal_;
    size_t chartSignalKey_ = 0;
    bool chartSignalChecked_ = false;   // its key was compared since the last replot began
    QMenu* recentMenu_ = nullptr;
    RecentFileList recentFiles_;

    std::shared_ptr<FileDialogs> fileDialogs;
    std::function<QColor(const QColor&)> ColorDlg;
    std::function<std::unique_ptr<QPrinter>()> CurrentPrinter;

    ScaleState scaling;
    DataHeader data;
    ChartState chart;
    AccelState accel;
    // How the record before the running start was shown: what a start changes besides the
    // chart's curves, which are drawn again from the record.
    struct ShownRecord {
        bool temperatureAxis = false;
        bool AccelerometerMode = false;
        QString caption;
        std::array<QString, 3> status;
    } shownBefore_;
    ControlThresholds thresholds;
    // The F/T window's state and logic; its three fields mirror into it.
    FtCalculator ft;
    // Pushing the calculator's values back into the F/T fields must not run their handlers.
    bool ftSyncing = false;
    int TriggerType = 0;
    bool AccelerometerMode = false;

    qint32 ProgressTotalS = 0;
    qint32 ProgressElapsedS = 0;
    qint32 ProgressRestS = 0;
    quint16 ProgressPercent = 0;

    // The comment list line the next search starts at, and the folder the list shows.
    int SearchLine = 0;
    QString listedFolder;
    struct {
        QString from, to;
    } refusedStep;

    // The Y lists the read-out reads, copied from the chart at the first move after a replot.
    // Every change of the series ends in a replot, which drops them.
    struct ReadoutLists {
        bool valid = false;
        QVector<double> Series1;
        std::array<QVector<double>, 3> SeriDgt;   // SeriDgt1..SeriDgt3
    } readoutLists;

    // Geometry before the window was spread over the work area; height 0: none saved yet.
    struct SavedGeometry {
        int height = 0;
        int width = 0;
        int left = 0;
        int top = 0;
    } savedGeometry;
    // The restored geometry is fitted again, frame included, once the frame is known.
    bool frameFitPending = false;

    // Timers owned by the window; the acquisition timers live with the acquisition object.
    QTimer Timer2;
    QTimer TimErrColor;
};

}  // namespace korvel
