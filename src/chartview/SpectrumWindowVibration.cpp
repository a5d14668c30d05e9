// The spectrum window's vibration part: the second row of choices, the band's RMS and the peak
// list beside the measurements, and the note on an integration.
#include "chartview/SpectrumChoices.h"
#include "chartview/SpectrumWindow.h"
#include "ui_SpectrumWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace korvel {

void SpectrumWindow::addVibrationControls()
{
    choices_ = new SpectrumChoices(this);
    ui->layout->insertWidget(1, choices_);
    connect(choices_, &SpectrumChoices::changed, this, [this] { recompute(); });
    connect(choices_->btSpectrogram, &QToolButton::clicked, this, &SpectrumWindow::spectrogramRequested);
    connect(choices_->btReport, &QToolButton::clicked, this, &SpectrumWindow::reportRequested);

    // The measurements, the band and the peaks stand in one column at the right; compact rows,
    // so that all three fit beside the chart.
    auto* side = new QVBoxLayout;
    side->setSpacing(4);
    ui->body->removeWidget(ui->tbMeasurements);
    side->addWidget(ui->tbMeasurements);
    ui->tbMeasurements->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    band_ = new QLabel(this);
    band_->setObjectName(QStringLiteral("lbBand"));
    band_->setWordWrap(true);
    band_->setVisible(false);
    side->addWidget(band_);
    peaks_ = new QTableWidget(this);
    peaks_->setObjectName(QStringLiteral("tbPeaks"));
    peaks_->setColumnCount(3);
    peaks_->verticalHeader()->setVisible(false);
    peaks_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    peaks_->setSelectionMode(QAbstractItemView::NoSelection);
    peaks_->setFocusPolicy(Qt::NoFocus);
    peaks_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    peaks_->setToolTip(QStringLiteral("Наибольшие пики: частота, значение, порядок относительно наибольшего"));
    peaks_->setVisible(false);
    side->addWidget(peaks_, 1);
    side->addStretch(0);
    ui->body->addLayout(side);
    for (QTableWidget* t : {ui->tbMeasurements, peaks_}) {
        t->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    }

    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("lbNote"));
    // A long note wraps rather than widening the window past the screen.
    note_->setWordWrap(true);
    note_->setVisible(false);
    // Above the footer, the form's last row.
    ui->layout->insertWidget(ui->layout->count() - 1, note_);
}

void SpectrumWindow::showVibrationValues()
{
    // The measurements never scroll: as tall as their rows.
    QTableWidget* m = ui->tbMeasurements;
    m->setFixedHeight(m->horizontalHeader()->sizeHint().height() + m->verticalHeader()->length()
                      + 2 * m->frameWidth());
    choices_->enableFor(analysis_.options);

    const std::optional<MeasurementRow> band = BandRow(analysis_);
    band_->setVisible(band.has_value());
    if (band) {
        QStringList lines{band->caption + ':'};
        for (size_t c = 0; c < size_t(band->values.size()); ++c) {
            const QString name = ChannelName(analysis_, c);
            lines << (name.isEmpty() ? QString() : name + QStringLiteral(": ")) + band->values[qsizetype(c)];
        }
        band_->setText(lines.join('\n'));
    }

    const QString note = IntegrationNote(analysis_);
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
    note_->setStyleSheet(analysis_.unit.known ? QString() : QStringLiteral("color: #b05000"));

    const bool listed = analysis_.options.peaks > 0;
    peaks_->setVisible(listed);
    if (!listed) {
        band_->setFixedWidth(m->width());
        return;
    }
    const QString unit = ValueUnit(analysis_);
    peaks_->setHorizontalHeaderLabels({QStringLiteral("f"), unit.isEmpty() ? QStringLiteral("Значение") : unit,
                                       QStringLiteral("Порядок")});
    int rows = 0;
    for (size_t c = 0; c < analysis_.channels.size(); ++c)
        rows += int(analysis_.channels[c].peaks.size());
    peaks_->setRowCount(rows);
    int r = 0;
    for (size_t c = 0; c < analysis_.channels.size(); ++c) {
        const QString name = ChannelName(analysis_, c);
        for (const PeakRow& p : PeakRows(analysis_, c)) {
            const QString texts[] = {(name.isEmpty() ? QString() : name + QStringLiteral(": ")) + p.frequency,
                                     p.value, p.order};
            for (int col = 0; col < 3; ++col) {
                auto* item = new QTableWidgetItem(texts[col]);
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                peaks_->setItem(r, col, item);
            }
            ++r;
        }
    }
    // The column is as wide as the wider table, room for the peaks' scroll bar kept.
    peaks_->resizeColumnsToContents();
    const int width = std::max(m->width(), peaks_->horizontalHeader()->length() + 2 * peaks_->frameWidth()
                                               + peaks_->verticalScrollBar()->sizeHint().width() + 4);
    for (QWidget* w : std::initializer_list<QWidget*>{m, band_, peaks_})
        w->setFixedWidth(width);
}

}  // namespace korvel
