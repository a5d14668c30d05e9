// The spectrogram window and the measurement report. The spectrogram opens from the spectrum
// window's button and the chart's pop-up menu and follows the chart as the spectrum does; the
// report takes the record's texts from the window, the charts as they are shown.
#include "app/MainWindow.h"

#include "app/HelpWindow.h"
#include "chart/PlottedSignal.h"
#include "chartview/ChartGeometry.h"
#include "chartview/ChartView.h"
#include "chartview/MeasurementReport.h"
#include "chartview/PlaceOnScreen.h"
#include "chartview/SpectrogramWindow.h"
#include "chartview/SpectrumChart.h"
#include "chartview/SpectrumWindow.h"
#include "spectrum/ReportText.h"
#include "text/Messages.h"
#include "ui_MainWindow.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QPrinter>
#include <QScreen>
#include <QWindow>
#include <algorithm>

namespace korvel {

void MainWindow::wireSpectrogram()
{
    spectrogram_ = new SpectrogramWindow(this);
    spectrogram_->setAttribute(Qt::WA_QuitOnClose, false);
    // Its help is on the spectrum's page.
    spectrogram_->setProperty("helpTopic", SpectrumHelpTopic);
    addHelpKey(spectrogram_);
    N3_ = pmChart_->addAction(QStringLiteral("Спектрограмма"));
    N3_->setObjectName(QStringLiteral("N3"));
    connect(N3_, &QAction::triggered, this, [this] { btSpectrogramClick(); });
    connect(spectrum_, &SpectrumWindow::spectrogramRequested, this, [this] { btSpectrogramClick(); });
    connect(spectrum_, &SpectrumWindow::reportRequested, this, [this] { btReportClick(); });
}

void MainWindow::btSpectrogramClick()
{
    if (!spectrogramPlaced_) {
        spectrogramPlaced_ = true;
        const SpectrogramSettings& s = spectrogramPlace_;
        QPoint place(s.left, s.top);
        if (s.left < 0 || s.top < 0) {
            // Under the spectrum's usual place: beside the main window, lower down.
            const QRect main = frameGeometry();
            place = BesideWindow(main, screen()->availableGeometry(), s.width, s.height,
                                 main.top() + main.height() / 2);
        }
        PlaceOnScreen(spectrogram_, place.x(), place.y(), s.width, s.height,
                      windowHandle() ? windowHandle()->frameMargins() : QMargins());
    }
    spectrogram_->show();
    spectrogram_->raise();
    spectrogram_->activateWindow();
    spectrogramKey_ = 0;
    syncAnalysisWindows();
}

void MainWindow::btReportClick()
{
    ReportRecord record;
    record.fileName = data.CurrentDataFile;
    if (!data.CurrentDataFile.isEmpty())
        record.recorded = QFileInfo(data.CurrentDataFile).lastModified();
    record.comment = ui->mComment->toPlainText();
    record.ScaleK = scaling.ScaleK;
    record.ScaleShift = scaling.ScaleShift;
    // The file's names when it has them, otherwise the chart's titles.
    record.AxisXName = data.AxisXName.isEmpty() ? ui->Chart1->bottomAxis()->label() : data.AxisXName;
    record.AxisYName = data.AxisYName.isEmpty() ? ui->Chart1->leftAxis()->label() : data.AxisYName;
    const ReportText text = BuildReportText(record, spectrum_->analysis(), QDateTime::currentDateTime());
    const std::unique_ptr<QPrinter> printer = printerOrPdfFile();
    if (!printer)
        return;
    const QString error = printMeasurementReport(*printer, text, ui->Chart1, spectrum_->chart());
    if (!error.isEmpty())
        messages().error(error);
}

}  // namespace korvel
