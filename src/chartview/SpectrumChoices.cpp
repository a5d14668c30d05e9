#include "chartview/SpectrumChoices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace korvel {

namespace {

QDoubleSpinBox* frequencyField(QWidget* parent, double value, const QString& tip)
{
    auto* f = new QDoubleSpinBox(parent);
    f->setRange(0.0, 1e6);
    f->setDecimals(1);
    f->setSuffix(QStringLiteral(" Гц"));
    f->setValue(value);
    f->setToolTip(tip);
    f->setKeyboardTracking(false);
    return f;
}

}  // namespace

SpectrumChoices::SpectrumChoices(QWidget* parent) : QWidget(parent)
{
    // Two rows, so that the window still fits a small screen.
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(4);
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    rows->addLayout(row);
    const auto label = [&](const QString& text) { row->addWidget(new QLabel(text, this)); };

    label(QStringLiteral("Шкала:"));
    cbScale = new QComboBox(this);
    cbScale->setObjectName(QStringLiteral("cbScale"));
    for (SpectrumScale s : SpectrumScales)
        cbScale->addItem(ScaleName(s));
    cbScale->setToolTip(QStringLiteral(
        "Амплитуда: синус амплитуды A даёт A. СКЗ: A/√2. СПМ: спектральная плотность мощности, "
        "ед²/Гц, с поправкой на шумовую полосу окна — уровень шума не зависит от окна и "
        "сегмента. АСП: её корень, ед/√Гц."));
    row->addWidget(cbScale);

    label(QStringLiteral("Перекрытие:"));
    cbOverlap = new QComboBox(this);
    cbOverlap->setObjectName(QStringLiteral("cbOverlap"));
    for (int p : Overlaps)
        cbOverlap->addItem(QStringLiteral("%1 %").arg(p));
    cbOverlap->setToolTip(QStringLiteral("Перекрытие сегментов Уэлча"));
    row->addWidget(cbOverlap);

    cbAverage = new QComboBox(this);
    cbAverage->setObjectName(QStringLiteral("cbAverage"));
    cbAverage->addItems({QStringLiteral("среднее"), QStringLiteral("пиковое удержание")});
    cbAverage->setToolTip(QStringLiteral(
        "Среднее мощности по сегментам или наибольшее значение каждой частоты"));
    row->addWidget(cbAverage);

    cbQuantity = new QComboBox(this);
    cbQuantity->setObjectName(QStringLiteral("cbQuantity"));
    for (Quantity q : {Quantity::Acceleration, Quantity::Velocity, Quantity::Displacement})
        cbQuantity->addItem(QuantityName(q));
    cbQuantity->setToolTip(QStringLiteral(
        "Скорость и перемещение из ускорения интегрированием в частотной области: из м/с², "
        "м/с/с или g — в мм/с и мкм"));
    row->addWidget(cbQuantity);
    label(QStringLiteral("срез"));
    seLowCut = frequencyField(this, 10.0, QStringLiteral("Ниже этой частоты при интегрировании "
                                                         "ничего не остаётся"));
    seLowCut->setObjectName(QStringLiteral("seLowCut"));
    row->addWidget(seLowCut);
    row->addStretch(1);

    row = new QHBoxLayout;
    row->setSpacing(4);
    rows->addLayout(row);
    cbBand = new QCheckBox(QStringLiteral("СКЗ в полосе"), this);
    cbBand->setObjectName(QStringLiteral("cbBand"));
    cbBand->setToolTip(QStringLiteral("СКЗ сигнала между двумя частотами, по спектральной плотности"));
    row->addWidget(cbBand);
    seBandFrom = frequencyField(this, 10.0, QStringLiteral("Нижняя частота полосы"));
    seBandFrom->setObjectName(QStringLiteral("seBandFrom"));
    row->addWidget(seBandFrom);
    label(QStringLiteral("–"));
    seBandTo = frequencyField(this, 1000.0, QStringLiteral("Верхняя частота полосы"));
    seBandTo->setObjectName(QStringLiteral("seBandTo"));
    row->addWidget(seBandTo);

    cbPeaks = new QCheckBox(QStringLiteral("Пики"), this);
    cbPeaks->setObjectName(QStringLiteral("cbPeaks"));
    cbPeaks->setToolTip(QStringLiteral("Таблица наибольших пиков с порядками относительно наибольшего"));
    row->addWidget(cbPeaks);
    sePeakCount = new QSpinBox(this);
    sePeakCount->setObjectName(QStringLiteral("sePeakCount"));
    sePeakCount->setRange(1, 50);
    sePeakCount->setValue(5);
    sePeakCount->setKeyboardTracking(false);
    row->addWidget(sePeakCount);
    row->addStretch(1);

    btSpectrogram = new QToolButton(this);
    btSpectrogram->setObjectName(QStringLiteral("btSpectrogram"));
    btSpectrogram->setText(QStringLiteral("Спектрограмма"));
    btSpectrogram->setToolTip(QStringLiteral("Спектр во времени видимого участка"));
    row->addWidget(btSpectrogram);
    btReport = new QToolButton(this);
    btReport->setObjectName(QStringLiteral("btReport"));
    btReport->setText(QStringLiteral("Протокол"));
    btReport->setToolTip(QStringLiteral(
        "Протокол измерения на одну страницу: файл, дата, комментарий, масштаб, график, спектр, "
        "измерения, полоса и пики"));
    row->addWidget(btReport);

    for (QComboBox* c : {cbScale, cbOverlap, cbAverage, cbQuantity})
        connect(c, &QComboBox::currentIndexChanged, this, &SpectrumChoices::changed);
    for (QDoubleSpinBox* f : {seLowCut, seBandFrom, seBandTo})
        connect(f, &QDoubleSpinBox::valueChanged, this, &SpectrumChoices::changed);
    for (QCheckBox* c : {cbBand, cbPeaks})
        connect(c, &QCheckBox::toggled, this, &SpectrumChoices::changed);
    connect(sePeakCount, &QSpinBox::valueChanged, this, &SpectrumChoices::changed);
}

void SpectrumChoices::fillOptions(AnalysisOptions& o) const
{
    o.scale = static_cast<SpectrumScale>(std::max(0, cbScale->currentIndex()));
    o.spectrum.overlapPercent = Overlaps[std::clamp(cbOverlap->currentIndex(), 0, 2)];
    o.spectrum.averaging = cbAverage->currentIndex() == 1 ? Averaging::PeakHold : Averaging::Mean;
    o.spectrum.integration.quantity = static_cast<Quantity>(std::max(0, cbQuantity->currentIndex()));
    o.spectrum.integration.lowCutHz = seLowCut->value();
    o.band.reset();
    if (cbBand->isChecked())
        o.band = FrequencyBand{seBandFrom->value(), std::max(seBandFrom->value(), seBandTo->value())};
    o.peaks = cbPeaks->isChecked() ? sePeakCount->value() : 0;
}

void SpectrumChoices::enableFor(const AnalysisOptions& o)
{
    cbOverlap->setEnabled(o.spectrum.segment > 0);
    cbAverage->setEnabled(o.spectrum.segment > 0);
    seLowCut->setEnabled(o.spectrum.integration.quantity != Quantity::Acceleration);
    seBandFrom->setEnabled(o.band.has_value());
    seBandTo->setEnabled(o.band.has_value());
    sePeakCount->setEnabled(o.peaks > 0);
}

void SpectrumChoices::applyChoices(const SpectrumSettings& s)
{
    // One recomputation for the lot, not one per control.
    {
        const QSignalBlocker quiet(this);
        cbScale->setCurrentIndex(s.scale);
        cbOverlap->setCurrentIndex(std::max(0, int(std::find(std::begin(Overlaps), std::end(Overlaps), s.overlap)
                                                   - std::begin(Overlaps)) % 3));
        cbAverage->setCurrentIndex(s.averaging);
        cbQuantity->setCurrentIndex(s.quantity);
        seLowCut->setValue(s.lowCutHz);
        cbBand->setChecked(s.band);
        seBandFrom->setValue(s.bandFromHz);
        seBandTo->setValue(s.bandToHz);
        cbPeaks->setChecked(s.peaks);
        sePeakCount->setValue(s.peakCount);
    }
    emit changed();
}

void SpectrumChoices::storeChoices(SpectrumSettings& s) const
{
    s.scale = cbScale->currentIndex();
    s.overlap = Overlaps[std::clamp(cbOverlap->currentIndex(), 0, 2)];
    s.averaging = cbAverage->currentIndex();
    s.quantity = cbQuantity->currentIndex();
    s.lowCutHz = seLowCut->value();
    s.band = cbBand->isChecked();
    s.bandFromHz = seBandFrom->value();
    s.bandToHz = seBandTo->value();
    s.peaks = cbPeaks->isChecked();
    s.peakCount = sePeakCount->value();
}

}  // namespace korvel
