#pragma once
// The spectrum window ("Спектр"): the spectrum and the measurements of the signal the main chart
// shows over its visible X range, with the window function, the averaging, the scale (and dB),
// the quantity (velocity, displacement) to choose, a band's RMS and the peak list, a read-out
// of f and the value under the mouse, copy, print, and the spectrogram and report buttons.

#include "settings/SpectrumSettings.h"
#include "spectrum/SignalAnalysis.h"

#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QPrinter;
class QTableWidget;

namespace Ui {
class SpectrumWindow;
}

namespace korvel {

class Messages;
class SpectrumChart;
class SpectrumChoices;
class SpectrumCursorView;

class SpectrumWindow : public QWidget {
    Q_OBJECT

public:
    explicit SpectrumWindow(QWidget* parent = nullptr);
    ~SpectrumWindow() override;

    SpectrumChart* chart() const;
    QTableWidget* measurementsTable() const;
    QLabel* infoLabel() const;      // points, resolution, segments
    QLabel* readoutLabel() const;   // f and amplitude under the mouse
    SpectrumChoices* choices() const { return choices_; }
    QLabel* bandLabel() const { return band_; }          // the band's RMS
    QLabel* noteLabel() const { return note_; }          // what an integration did
    QTableWidget* peakTable() const { return peaks_; }   // f, value, order
    QString amplitudeTitle() const { return amplitudeTitle_; }
    const SignalAnalysis& analysis() const { return analysis_; }
    // Cursors A and B over the spectrum, from the chart's pop-up menu.
    SpectrumCursorView* cursorView() const { return cursorView_; }

    // The signal as the main chart plots it, its amplitude title (the chart's left title), the
    // colours of its channels and the chart's visible X range; recomputes.
    void setSignal(PlottedSignal signal, const QString& amplitudeTitle,
                   std::vector<QColor> colours, double from, double to);
    // A new visible X range of the same signal; recomputes when it differs.
    void setRange(double from, double to);

    SpectrumOptions options() const;
    AnalysisOptions analysisOptions() const;
    bool decibels() const;
    // The choices only; the caller places the window.
    void applyChoices(const SpectrumSettings& s);
    // The choices and the window's geometry.
    SpectrumSettings settings() const;

    // pixelX: the mouse's X in the chart's pixels.
    void chartMouseMove(double pixelX);
    void btCopyClick();
    void btPrintClick();
    // The printer btPrintClick prints on, and where its failure is told; set by the owner.
    std::function<std::unique_ptr<QPrinter>()> CurrentPrinter;
    Messages* messages = nullptr;

signals:
    void spectrogramRequested();
    void reportRequested();

private:
    void recompute();
    void showMeasurements();
    // The second row, the band and the peak list, beside what the form holds.
    void addVibrationControls();
    void showVibrationValues();

    std::unique_ptr<Ui::SpectrumWindow> ui;
    PlottedSignal signal_;
    QString amplitudeTitle_;
    std::vector<QColor> colours_;
    double from_ = 0.0;
    double to_ = 0.0;
    SignalAnalysis analysis_;
    SpectrumCursorView* cursorView_ = nullptr;
    SpectrumChoices* choices_ = nullptr;
    QLabel* band_ = nullptr;
    QLabel* note_ = nullptr;
    QTableWidget* peaks_ = nullptr;
};

}  // namespace korvel
