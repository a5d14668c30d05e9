#include "chartview/SpectrumWindow.h"

#include "chartview/ChartGeometry.h"
#include "chartview/ChartPicture.h"
#include "chartview/ChartPrint.h"
#include "chartview/SpectrumChart.h"
#include "chartview/SpectrumCursorView.h"
#include "text/Messages.h"
#include "ui_SpectrumWindow.h"

#include <QHeaderView>
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

constexpr WindowFunction WindowItems[] = {WindowFunction::Hann, WindowFunction::Rectangular,
                                          WindowFunction::FlatTop};

}  // namespace

SpectrumWindow::SpectrumWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::SpectrumWindow>())
{
    ui->setupUi(this);
    cursorView_ = new SpectrumCursorView(chart(), analysis_, [this] { return decibels(); });
    for (int n : segmentItems())
        ui->cbAveraging->addItem(n == 0 ? QStringLiteral("одно преобразование")
                                        : QStringLiteral("Уэлч, %1 точек").arg(n));
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
    o.window = WindowItems[std::clamp(ui->cbWindow->currentIndex(), 0, 2)];
    o.segment = segmentItems().value(ui->cbAveraging->currentIndex(), 0);
    return o;
}

bool SpectrumWindow::decibels() const
{
    return ui->cbDecibels->isChecked();
}

void SpectrumWindow::applyChoices(const SpectrumSettings& s)
{
    ui->cbWindow->setCurrentIndex(s.window);
    ui->cbAveraging->setCurrentIndex(std::max<int>(0, segmentItems().indexOf(s.segment)));
    ui->cbDecibels->setChecked(s.decibels);
    ui->cbLogFrequency->setChecked(s.logFrequency);
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
    return s;
}

void SpectrumWindow::recompute()
{
    analysis_ = AnalyseSignal(signal_, from_, to_, options());
    chart()->showPlot(BuildSpectrumPlot(analysis_, decibels(), amplitudeTitle_), colours_);
    cursorView_->refresh();
    showMeasurements();
    ui->lbReadout->clear();
    if (analysis_.channels.empty() || analysis_.channels.front().spectrum.amplitude.isEmpty()) {
        ui->lbInfo->setText(QStringLiteral("Нет данных для спектра"));
        return;
    }
    const Spectrum& s = analysis_.channels.front().spectrum;
    const FrequencyAxis axis = FrequencyAxisFor(analysis_);
    ui->lbInfo->setText(QStringLiteral("Точек: %1, разрешение: %2 %3, сегментов: %4")
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
    QStringList headers{QStringLiteral("Видимый участок")};
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
        const QString text = ReadoutText(analysis_, c, x, decibels());
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
