#pragma once
// The spectrum window's second row: the scale, the Welch overlap and averaging, the quantity
// (acceleration, or velocity and displacement by integration with a low cut-off), the band
// whose RMS is shown, the peak list, and the buttons for the spectrogram and the report.

#include "settings/SpectrumSettings.h"
#include "spectrum/SignalAnalysis.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;
class QToolButton;

namespace korvel {

class SpectrumChoices : public QWidget {
    Q_OBJECT

public:
    explicit SpectrumChoices(QWidget* parent = nullptr);

    // Everything but the window function and the segment, which the first row holds.
    void fillOptions(AnalysisOptions& o) const;
    void applyChoices(const SpectrumSettings& s);
    void storeChoices(SpectrumSettings& s) const;
    // Only what acts on the analysis is enabled: the overlap and averaging with segments, the
    // cut-off with an integration, the band's and the list's fields when they are shown.
    void enableFor(const AnalysisOptions& o);

    QComboBox* cbScale;
    QComboBox* cbOverlap;
    QComboBox* cbAverage;
    QComboBox* cbQuantity;
    QDoubleSpinBox* seLowCut;
    QCheckBox* cbBand;
    QDoubleSpinBox* seBandFrom;
    QDoubleSpinBox* seBandTo;
    QCheckBox* cbPeaks;
    QSpinBox* sePeakCount;
    QToolButton* btSpectrogram;
    QToolButton* btReport;

signals:
    // Any choice changed; the window recomputes.
    void changed();
};

}  // namespace korvel
