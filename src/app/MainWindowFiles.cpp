// Saving and loading data files and the text export. The formats are the core's; this file
// reads the controls and the acquisition state into plain values, and takes what the core
// hands back into the window's state in one piece.
#include "app/MainWindow.h"

#include "app/ButtonKey.h"
#include "app/FileDialogs.h"
#include "app/LongText.h"
#include "chart/Scaling.h"
#include "chartview/ChartGeometry.h"
#include "chartview/ChartView.h"
#include "chartview/SecondaryChartWindow.h"
#include "device/Acquisition.h"
#include "files/DataFileIo.h"
#include "files/OpenExport.h"
#include "record/BoardWords.h"
#include "text/Messages.h"
#include "text/NumberFormat.h"
#include "ui_MainWindow.h"

#include <QFileInfo>
#include <QLabel>
#include <optional>

namespace korvel {

namespace {

// The accelerometer layout splits the words by bit 15, which in any other data is a digital
// line: the flag alone (it stays set after an accelerometer run, through a later load or while
// the panel is merely open) would strip and reorder ordinary data.
bool savesAccelerometerData(bool AccelerometerMode, const QByteArray& ModeCommand)
{
    return AccelerometerMode && ModeOf(ModeCommand) == ModeKind::Accelerometer;
}

QString fileCaption(const QString& path)
{
    return QStringLiteral("ФАЙЛ ") + QFileInfo(path).fileName();
}

}  // namespace

void MainWindow::wireDataFiles()
{
    Ui::MainWindow& f = *ui;
    connect(f.btSave, &QToolButton::clicked, this, &MainWindow::btSaveClick);
    connect(f.btLoadFile, &QToolButton::clicked, this, &MainWindow::btLoadFileClick);
    // The keys every editor has for these, though the buttons' hints do not name them.
    AddButtonKey(f.btSave, QKeySequence::Save);
    AddButtonKey(f.btLoadFile, QKeySequence::Open);
    AddButtonKey(f.btPrint, QKeySequence::Print);
    for (QPlainTextEdit* box : {f.mComment, f.MAllCmnt, f.mClipBoard})
        WrapAnywhereForLongWords(box);
    wireFolderBrowsing();
}

FileDialogs& MainWindow::dialogs()
{
    if (!fileDialogs)
        fileDialogs = std::make_shared<WidgetFileDialogs>(this);
    return *fileDialogs;
}

void MainWindow::btSaveClick()
{
    const QString name = dialogs().fileName(SaveDlg());
    if (name.isEmpty())
        return;
    try {
        const bool accelerometer =
            savesAccelerometerData(AccelerometerMode, acquisition().ModeCommand());
        switch (const SaveFormat format = ChooseSaveFormat(name, accelerometer)) {
        case SaveFormat::TextExport:
            writeTextExport(name);
            break;
        case SaveFormat::DataFile:
            writeDataFile(name);
            break;
        case SaveFormat::Csv:
        case SaveFormat::Npy:
        case SaveFormat::Wav:
            writeOpenExport(name, format);
            break;
        }
    } catch (const ConversionError& e) {
        // A coefficient text that does not convert ends the save before the disk is touched.
        messages().error(e.message());
    }
}

void MainWindow::writeDataFile(const QString& fileName)
{
    Ui::MainWindow& f = *ui;
    const Acquisition& a = acquisition();

    DataFileSaveInput in;
    in.AccelerometerMode = savesAccelerometerData(AccelerometerMode, a.ModeCommand());
    ScaleCoefficients coefficients{scaling.ScaleK, scaling.ScaleShift};
    std::optional<ScaleParams> controls;
    if (!in.AccelerometerMode) {
        // ScaleK and ScaleShift come from the controls, whatever a loaded file brought; the
        // chart's axis titles stay as they are.
        controls = korvel::GetScaleParams(scaleInputsOfControls());
        coefficients = controls->coefficients;
    }
    in.termoHasPoints = f.Chart1->SeriTermo()->dataCount() > 0;
    in.ScaleK = coefficients.ScaleK;
    in.ScaleShift = coefficients.ScaleShift;
    in.AxisXName = data.AxisXName;
    in.eYTitle = f.eYTitle->text();
    in.comment = f.mComment->toPlainText();

    const DataFileSaveResult r = SaveDataFile(fileName, a.recording(), in);
    if (!r.output) {
        // The file that was there stays as it was.
        messages().error(r.error);
        return;
    }
    const DataFileSaveOutput& o = *r.output;
    if (controls) {
        scaling.ScaleK = coefficients.ScaleK;
        scaling.ScaleShift = coefficients.ScaleShift;
        f.pRgm->setText(controls->pRgmCaption);
    }
    statusPanel(2)->setText(o.statusText);
    acquisition().recordSavedAs(o.header.DataKind);
    data.Variant = o.header.Variant;
    data.SampleBytes = o.header.SampleBytes;
    data.AxisXName = o.AxisXName;
    data.AxisYName = o.AxisYName;
    f.gbFile->setTitle(fileCaption(fileName));
    rememberRecentFile(fileName);
}

void MainWindow::writeTextExport(const QString& fileName)
{
    Ui::MainWindow& f = *ui;
    const ScaleParams controls = korvel::GetScaleParams(scaleInputsOfControls());

    TextExportInput in;
    in.ScaleK = controls.coefficients.ScaleK;
    in.ScaleShift = controls.coefficients.ScaleShift;
    in.eYTitle = f.eYTitle->text();
    in.AxisXName = data.AxisXName;
    in.cbTxtSaveX = f.cbTxtSaveX->currentIndex();
    in.cbTxtSaveY = f.cbTxtSaveY->currentIndex();
    in.cbTermo = f.cbTermo->isChecked();
    in.cbDgt1 = f.cbDgt1->isChecked();
    in.cbDgt2 = f.cbDgt2->isChecked();
    in.cbDgt3 = f.cbDgt3->isChecked();
    in.CoefficientsFromFile = scaling.CoefficientsFromFile;
    in.first = firstVisibleIndex(f.Chart1->Series1());
    in.last = lastVisibleIndex(f.Chart1->Series1());

    const TextExportSaveResult saved = SaveTextExport(fileName, acquisition().recording(), in);
    if (!saved.output) {
        messages().error(saved.error);
        return;
    }
    scaling.ScaleK = controls.coefficients.ScaleK;
    scaling.ScaleShift = controls.coefficients.ScaleShift;
    f.pRgm->setText(controls.pRgmCaption);
    data.AxisYName = saved.output->AxisYName;
    f.gbFile->setTitle(fileCaption(fileName));
}

void MainWindow::writeOpenExport(const QString& fileName, SaveFormat format)
{
    // The visible points as the chart plots them, without smoothing; the window's state stays.
    const ChartView* c = ui->Chart1;
    const AxisLimits x = axisLimits(c->bottomAxis());
    const PlottedSignal signal = plottedSignal();
    QString yName = c->leftAxis()->label();
    if (yName.isEmpty())
        yName = signal.kind == PlotKind::Ordinary || signal.kind == PlotKind::RealTime
                    ? SignalAxisName()
                    : AccelerationAxisName();
    QByteArray bytes;
    if (format == SaveFormat::Wav) {
        bytes = ToWav(signal, x.minimum, x.maximum);
    } else {
        const ExportTable t = BuildExportTable(signal, x.minimum, x.maximum,
                                               c->bottomAxis()->label(), yName);
        bytes = format == SaveFormat::Csv ? ToCsv(t) : ToNpy(t);
    }
    const QString error = WriteFileAtomically(fileName, bytes);
    if (!error.isEmpty())
        messages().error(error);
}


void MainWindow::btLoadFileClick()
{
    ui->gbFT->hide();
    SearchLine = 0;
    const QString path = dialogs().fileName(OpenDlg());
    if (!path.isEmpty())
        openDataFile(path);
}

bool MainWindow::openDataFile(const QString& name)
{
    const QString path = QFileInfo(name).absoluteFilePath();
    dialogs().remember(path);
    Ui::MainWindow& f = *ui;
    f.gbFT->hide();
    SearchLine = 0;
    if (secondary_)
        secondary_->close();

    // The whole file is read and checked before any of the window's state changes; a refused
    // file does not become the current one either.
    const DataFileLoadResult r = LoadDataFile(path);
    if (!r.file) {
        if (r.error->kind == DataFileLoadError::Kind::ForeignFile)
            messages().information(r.error->message);
        else
            messages().error(r.error->message);
        return false;
    }
    const LoadedDataFile& file = *r.file;
    // The chart writes panels 0 and 2; panel 1's text belonged to the run or file before.
    statusPanel(1)->clear();
    data.CurrentDataFile = path;
    refusedStep = {};
    rememberRecentFile(path);
    newRecordShown();

    f.Chart1->rightAxis()->setVisible(file.record.DataKind == DataKindWithTemperature);
    data.Variant = file.Variant;
    data.SampleBytes = quint32(file.record.SampleBuffer.size());
    acquisition().loadRecording(file.record);
    if (file.Variant == VariantOrdinary) {
        scaling.ScaleK = file.ScaleK;
        scaling.ScaleShift = file.ScaleShift;
    }
    data.AxisXName = file.AxisXName;
    data.AxisYName = file.AxisYName;
    // The text box keeps its own line breaks; the file's are CR LF.
    QString comment = file.comment;
    comment.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    SetLongText(f.mComment, comment);
    scaling.CoefficientsFromFile = true;

    f.gbFile->setTitle(fileCaption(data.CurrentDataFile));
    f.btPrevFile->setEnabled(true);
    f.btNextFile->setEnabled(true);

    if (file.Variant == VariantOrdinary)
        chart.ChartZoomed = false;
    ShowChart(ChartOrigin::btLoadFile);
    return true;
}

}  // namespace korvel
