#include "chartview/SpectrumWindow.h"

#include "chartview/ChartGeometry.h"
#include "chartview/ChartPicture.h"
#include "chartview/ChartPrint.h"
#include "chartview/SpectrumChart.h"
#include "chartview/SpectrumCursorView.h"
#include "chartview/SpectrumChoices.h"
#include "text/Messages.h"
#include "ui_SpectrumWindow.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpression>
#include <QMouseEvent>
#include <QPrinter>
#include <limits>

namespace korvel {

namespace {

// Item 0 is one transform; then the Welch segment lengths.
QList<int> segmentItems()
{
    QList<int> items{0};
    for (int n = MinimumSegment; n <= MaximumSegment; n *= 2)
        items << n;
    return items;
}

QString segmentText(int n)
{
    return n == 0 ? QStringLiteral("одно преобразование") : QStringLiteral("Уэлч, %1 точек").arg(n);
}

// The segment a typed text names: its first number, when it is a segment length.
int segmentOf(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("\\d+"));
    const QRegularExpressionMatch m = number.match(text);
    const int n = m.hasMatch() ? m.captured().toInt() : 0;
    return IsSegmentLength(n) ? n : 0;
}

}  // namespace

SpectrumWindow::SpectrumWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::SpectrumWindow>())
{
    ui->setupUi(this);
    for (WindowFunction f : WindowFunctions)
        ui->cbWindow->addItem(WindowFunctionName(f));
    cursorView_ = new SpectrumCursorView(chart(), analysis_);
    for (int n : segmentItems())
        ui->cbAveraging->addItem(segmentText(n));
    // Any length from 256 to 65536 may be typed in.
    ui->cbAveraging->setEditable(true);
    ui->cbAveraging->setInsertPolicy(QComboBox::NoInsert);
    connect(ui->cbAveraging->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        const int n = segmentOf(ui->cbAveraging->currentText());
        ui->cbAveraging->setEditText(segmentText(n));
        recompute();
    });
    ui->tbMeasurements->verticalHeader()->setVisible(false);
    ui->tbMeasurements->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui->tbMeasurements->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    from_ = -std::numeric_limits<double>::infinity();
    to_ = std::numeric_limits<double>::infinity();

    connect(ui->cbWindow, &QComboBox::currentIndexChanged, this, [this] { recompute(); });
    connect(ui->cbAveraging, &QComboBox::currentIndexChanged, this, [this] { recompute(); });
    connect(ui->cbDecibels, &QCheckBox::toggled, this, [this] { recompute(); });
    connect(ui->cbLogFrequency, &QCheckBox::toggled, this, [this](bool on) {
        chart()->setLogFrequency(on);
        recompute();
    });
    connect(ui->btCopy, &QToolButton::clicked, this, &SpectrumWindow::btCopyClick);
    connect(ui->btPrint, &QToolButton::clicked, this, &SpectrumWindow::btPrintClick);
    addVibrationControls();
    chart()->setMouseTracking(true);
    connect(chart(), &QCustomPlot::mouseMove, this,
            [this](QMouseEvent* e) { chartMouseMove(e->position().x()); });
}

SpectrumWindow::~SpectrumWindow() = default;

SpectrumChart* SpectrumWindow::chart() const
{
    return ui->chart;
}

QTableWidget* SpectrumWindow::measurementsTable() const
{
    return ui->tbMeasurements;
}

QLabel* SpectrumWindow::infoLabel() const
{
    return ui->lbInfo;
}

QLabel* SpectrumWindow::readoutLabel() const
{
    return ui->lbReadout;
}

void SpectrumWindow::setSignal(PlottedSignal signal, const QString& amplitudeTitle,
                               std::vector<QColor> colours, double from, double to)
{
    signal_ = std::move(signal);
    amplitudeTitle_ = amplitudeTitle;
    colours_ = std::move(colours);
    from_ = from;
    to_ = to;
    recompute();
}

void SpectrumWindow::setRange(double from, double to)
{
    if (from == from_ && to == to_)
        return;
    from_ = from;
    to_ = to;
    recompute();
}

SpectrumOptions SpectrumWindow::options() const
{
    SpectrumOptions o;
    o.window = WindowFunctions[std::clamp(ui->cbWindow->currentIndex(), 0, 2)];
    o.segment = segmentOf(ui->cbAveraging->currentText());
    return o;
}

AnalysisOptions SpectrumWindow::analysisOptions() const
{
    AnalysisOptions o;
    const SpectrumOptions first = options();
    o.spectrum.window = first.window;
    o.spectrum.segment = first.segment;
    choices_->fillOptions(o);
    o.decibels = decibels();
    return o;
}

bool SpectrumWindow::decibels() const
{
    return ui->cbDecibels->isChecked();
}

void SpectrumWindow::applyChoices(const SpectrumSettings& s)
{
    ui->cbWindow->setCurrentIndex(s.window);
    const int item = segmentItems().indexOf(s.segment);
    if (item >= 0)
        ui->cbAveraging->setCurrentIndex(item);
    else
        ui->cbAveraging->setEditText(segmentText(IsSegmentLength(s.segment) ? s.segment : 0));
    ui->cbDecibels->setChecked(s.decibels);
    ui->cbLogFrequency->setChecked(s.logFrequency);
    choices_->applyChoices(s);
}

SpectrumSettings SpectrumWindow::settings() const
{
    SpectrumSettings s;
    s.left = pos().x();
    s.top = pos().y();
    s.width = width();
    s.height = height();
    s.window = ui->cbWindow->currentIndex();
    s.segment = options().segment;
    s.decibels = decibels();
    s.logFrequency = ui->cbLogFrequency->isChecked();
    choices_->storeChoices(s);
    return s;
}

void SpectrumWindow::recompute()
{
    analysis_ = AnalyseSignal(signal_, from_, to_, analysisOptions(), amplitudeTitle_);
    chart()->showPlot(BuildSpectrumPlot(analysis_), colours_);
    cursorView_->refresh();
    showMeasurements();
    showVibrationValues();
    ui->lbReadout->clear();
    if (analysis_.channels.empty() || analysis_.channels.front().spectrum.amplitude.isEmpty()) {
        ui->lbInfo->setText(QStringLiteral("Нет данных для спектра"));
        return;
    }
    const Spectrum& s = analysis_.channels.front().spectrum;
    const FrequencyAxis axis = FrequencyAxisFor(analysis_);
    ui->lbInfo->setText(QStringLiteral("Точек: %1, разрешение: %2 %3, усреднений: %4")
                            .arg(analysis_.channels.front().range.count)
                            .arg(QLocale().toString(s.resolutionHz / axis.hzPerUnit, 'g', 4), axis.unit)
                            .arg(s.segments));
}

void SpectrumWindow::showMeasurements()
{
    const std::vector<MeasurementRow> rows = MeasurementRows(analysis_);
    QTableWidget* t = ui->tbMeasurements;
    const int channels = int(analysis_.channels.size());
    t->setRowCount(int(rows.size()));
    t->setColumnCount(1 + channels);
    const QString measured = MeasuredQuantity(analysis_);
    QStringList headers{measured.isEmpty() ? QStringLiteral("Видимый участок") : measured};
    for (int c = 0; c < channels; ++c) {
        const QString name = ChannelName(analysis_, size_t(c));
        headers << (name.isEmpty() ? QStringLiteral("Значение") : QStringLiteral("Канал ") + name);
    }
    t->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < int(rows.size()); ++r) {
        t->setItem(r, 0, new QTableWidgetItem(rows[size_t(r)].caption));
        for (int c = 0; c < channels; ++c) {
            auto* item = new QTableWidgetItem(rows[size_t(r)].values.value(c));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            t->setItem(r, 1 + c, item);
        }
    }
    // Wide enough for every column: two channels must not push a value out of sight.
    t->resizeColumnsToContents();
    t->setFixedWidth(t->horizontalHeader()->length() + 2 * t->frameWidth() + 4);
}

void SpectrumWindow::chartMouseMove(double pixelX)
{
    const double x = valueAtPixelX(chart()->xAxis, pixelX);
    QStringList parts;
    for (size_t c = 0; c < analysis_.channels.size(); ++c) {
        const QString text = ReadoutText(analysis_, c, x);
        const QString name = ChannelName(analysis_, c);
        if (!text.isEmpty())
            parts << (name.isEmpty() ? text : name + QStringLiteral(": ") + text);
    }
    ui->lbReadout->setText(parts.join(QStringLiteral("    ")));
}

void SpectrumWindow::btCopyClick()
{
    copyChartToClipboard(chart());
}

void SpectrumWindow::btPrintClick()
{
    const std::unique_ptr<QPrinter> printer = CurrentPrinter ? CurrentPrinter() : nullptr;
    if (!printer)
        return;
    const QString error = printChart(chart(), *printer, QStringLiteral("Спектр"));
    if (!error.isEmpty() && messages)
        messages->error(error);
}

}  // namespace korvel
