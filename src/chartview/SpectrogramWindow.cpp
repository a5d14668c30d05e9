#include "chartview/SpectrogramWindow.h"

#include "chartview/ChartPicture.h"
#include "chartview/SpectrogramChart.h"
#include "text/NumberFormat.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

namespace korvel {

namespace {

QList<int> segmentItems()
{
    QList<int> items;
    for (int n = MinimumSegment; n <= MaximumSegment; n *= 2)
        items << n;
    return items;
}

QString significant(double v)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(v, 'g', 5);
}

}  // namespace

SpectrogramWindow::SpectrogramWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      from_(-std::numeric_limits<double>::infinity()),
      to_(std::numeric_limits<double>::infinity())
{
    setObjectName(QStringLiteral("SpectrogramWindow"));
    setWindowTitle(QStringLiteral("Спектрограмма"));
    resize(820, 520);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 4);
    layout->setSpacing(4);
    auto* row = new QHBoxLayout;
    layout->addLayout(row);
    const auto combo = [&](const QString& label, const QString& name, const QStringList& items) {
        if (!label.isEmpty())
            row->addWidget(new QLabel(label, this));
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        c->addItems(items);
        row->addWidget(c);
        connect(c, &QComboBox::currentIndexChanged, this, [this] { recompute(); });
        return c;
    };
    QStringList segments;
    for (int n : segmentItems())
        segments << QStringLiteral("%1 точек").arg(n);
    cbSegment = combo(QStringLiteral("Сегмент:"), QStringLiteral("cbSegment"), segments);
    QStringList overlaps;
    for (int p : Overlaps)
        overlaps << QStringLiteral("%1 %").arg(p);
    cbOverlap = combo(QStringLiteral("Перекрытие:"), QStringLiteral("cbOverlap"), overlaps);
    QStringList windows;
    for (WindowFunction f : WindowFunctions)
        windows << WindowFunctionName(f);
    cbWindow = combo(QStringLiteral("Окно:"), QStringLiteral("cbWindow"), windows);
    QStringList scales;
    for (SpectrumScale s : SpectrumScales)
        scales << ScaleName(s);
    cbScale = combo(QStringLiteral("Шкала:"), QStringLiteral("cbScale"), scales);
    cbDecibels = new QCheckBox(QStringLiteral("дБ"), this);
    cbDecibels->setObjectName(QStringLiteral("cbDecibels"));
    cbDecibels->setChecked(true);
    row->addWidget(cbDecibels);
    connect(cbDecibels, &QCheckBox::toggled, this, [this] { recompute(); });
    cbChannel = combo(QString(), QStringLiteral("cbChannel"),
                      {QStringLiteral("канал X"), QStringLiteral("канал Y")});
    cbChannel->setVisible(false);
    row->addStretch(1);
    auto* copy = new QToolButton(this);
    copy->setText(QStringLiteral("Копировать"));
    copy->setToolTip(QStringLiteral("Копировать спектрограмму в буфер обмена"));
    row->addWidget(copy);
    connect(copy, &QToolButton::clicked, this, [this] { copyChartToClipboard(chart_); });

    chart_ = new SpectrogramChart(this);
    layout->addWidget(chart_, 1);
    auto* footer = new QHBoxLayout;
    readout_ = new QLabel(this);
    info_ = new QLabel(this);
    footer->addWidget(readout_, 1);
    footer->addWidget(info_);
    layout->addLayout(footer);

    cbSegment->setCurrentIndex(segmentItems().indexOf(1024));
    cbOverlap->setCurrentIndex(1);
    chart_->setMouseTracking(true);
    connect(chart_, &QCustomPlot::mouseMove, this,
            [this](QMouseEvent* e) { chartMouseMove(e->position().x(), e->position().y()); });
}

void SpectrogramWindow::setSignal(PlottedSignal signal, const QString& amplitudeTitle, double from,
                                  double to)
{
    signal_ = std::move(signal);
    amplitudeTitle_ = amplitudeTitle;
    from_ = from;
    to_ = to;
    cbChannel->setVisible(signal_.channels.size() > 1);
    recompute();
}

void SpectrogramWindow::setRange(double from, double to)
{
    if (from == from_ && to == to_)
        return;
    from_ = from;
    to_ = to;
    recompute();
}

SpectrogramOptions SpectrogramWindow::options() const
{
    SpectrogramOptions o;
    o.segment = segmentItems().value(cbSegment->currentIndex(), 1024);
    o.overlapPercent = Overlaps[std::clamp(cbOverlap->currentIndex(), 0, 2)];
    o.window = WindowFunctions[std::clamp(cbWindow->currentIndex(), 0, 2)];
    o.scale = static_cast<SpectrumScale>(std::clamp(cbScale->currentIndex(), 0, 3));
    o.decibels = cbDecibels->isChecked();
    return o;
}

void SpectrogramWindow::applyChoices(const SpectrogramSettings& s)
{
    {
        const QSignalBlocker a(cbSegment), b(cbOverlap), c(cbWindow), d(cbScale), e(cbDecibels);
        // A length typed into the spectrum window has no item here: the nearest power of two.
        const int log2 = std::clamp(int(std::lround(std::log2(double(s.segment)))), 8, 16);
        cbSegment->setCurrentIndex(segmentItems().indexOf(1 << log2));
        cbOverlap->setCurrentIndex(s.overlap == 0 ? 0 : s.overlap == 75 ? 2 : 1);
        cbWindow->setCurrentIndex(s.window);
        cbScale->setCurrentIndex(s.scale);
        cbDecibels->setChecked(s.decibels);
    }
    recompute();
}

SpectrogramSettings SpectrogramWindow::settings() const
{
    SpectrogramSettings s;
    s.left = pos().x();
    s.top = pos().y();
    s.width = width();
    s.height = height();
    const SpectrogramOptions o = options();
    s.segment = o.segment;
    s.overlap = o.overlapPercent;
    s.window = cbWindow->currentIndex();
    s.scale = cbScale->currentIndex();
    s.decibels = o.decibels;
    return s;
}

void SpectrogramWindow::recompute()
{
    frames_ = {};
    const size_t channel = signal_.channels.size() > 1 ? size_t(std::max(0, cbChannel->currentIndex())) : 0;
    const double rate = signal_.samplePeriodSeconds > 0.0 ? 1.0 / signal_.samplePeriodSeconds : 0.0;
    IndexRange range;
    if (channel < signal_.channels.size()) {
        const PointSeries& points = signal_.channels[channel].points;
        range = PointsWithin(points, from_, to_);
        frames_ = ComputeSpectrogram(std::span(points.y.constData() + range.first, size_t(range.count)),
                                     rate, options());
    }
    start_ = range.first * signal_.samplePeriodSeconds;
    // The frequency axis and the level's unit as the spectrum window names them.
    const SpectrogramOptions o = options();
    const SpectrogramAxes axes = SpectrogramAxesFor(rate, o.scale, o.decibels, amplitudeTitle_);
    axis_ = axes.frequency;
    chart_->showSpectrogram({&frames_, start_, axis_.hzPerUnit, axis_.title, axes.levelTitle, o.decibels});
    chart_->replot();
    readout_->clear();
    if (frames_.frames == 0) {
        info_->setText(QStringLiteral("Нет данных для спектрограммы"));
        return;
    }
    info_->setText(QStringLiteral("Кадров: %1, шаг: %2 с, разрешение: %3 Гц")
                       .arg(frames_.frames)
                       .arg(significant(frames_.timeStepS), significant(frames_.resolutionHz)));
}

void SpectrogramWindow::chartMouseMove(double pixelX, double pixelY)
{
    if (frames_.frames == 0)
        return;
    const double t = chart_->xAxis->pixelToCoord(pixelX);
    const double f = chart_->yAxis->pixelToCoord(pixelY) * axis_.hzPerUnit;
    const long long frame = Round((t - start_ - frames_.firstTimeS) / frames_.timeStepS);
    const long long bin = Round(f / frames_.resolutionHz);
    if (frame < 0 || frame >= frames_.frames || bin < 0 || bin >= frames_.bins) {
        readout_->clear();
        return;
    }
    const double level = frames_.at(int(frame), int(bin));
    readout_->setText(QStringLiteral("t = %1 с, f = %2, %3 %4")
                          .arg(significant(start_ + frames_.timeOf(int(frame))),
                               FrequencyText(axis_, frames_.frequencyOf(int(bin))),
                               options().decibels ? FormatFixed(level, 1) : significant(level),
                               options().decibels ? QStringLiteral("дБ") : QString()));
}

}  // namespace korvel
