#pragma once
// The spectrum window ("Спектр"): the amplitude spectrum and the measurements of the signal the
// main chart shows over its visible X range, with the window function, the averaging and a dB
// scale to choose, a read-out of f and amplitude under the mouse, copy and print.

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

private:
    void recompute();
    void showMeasurements();

    std::unique_ptr<Ui::SpectrumWindow> ui;
    PlottedSignal signal_;
    QString amplitudeTitle_;
    std::vector<QColor> colours_;
    double from_ = 0.0;
    double to_ = 0.0;
    SignalAnalysis analysis_;
    SpectrumCursorView* cursorView_ = nullptr;
};

}  // namespace korvel
