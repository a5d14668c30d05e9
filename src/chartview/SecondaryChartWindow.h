#pragma once
// The secondary window: the three digital lines of the real-time mode as stacked traces in a
// see-through window that lines up under the main chart.

#include <QWidget>
#include <memory>

class QCPGraph;
class QCustomPlot;
class QScrollBar;

namespace Ui {
class SecondaryChartWindow;
}

namespace korvel {

class SecondaryChartWindow : public QWidget {
    Q_OBJECT

public:
    explicit SecondaryChartWindow(QWidget* parent = nullptr);
    ~SecondaryChartWindow() override;

    QCustomPlot* chart() const;
    QCPGraph* SeriDgt1() const { return series_[0]; }
    QCPGraph* SeriDgt2() const { return series_[1]; }
    QCPGraph* SeriDgt3() const { return series_[2]; }

    // Takes the digital lines' colours of the main window; run once the main window has its
    // settings applied.
    void FormCreate(const QColor& dgt1, const QColor& dgt2, const QColor& dgt3);

    // The window's blending, 120 (most transparent) to 255 (opaque).
    int transparency() const;
    void setTransparency(int value);
    QScrollBar* sbTransparency() const;

    // Lines the window up under the main window: same left edge and width, the left axis line
    // at mainLeftAxisX and the plotting area ending at mainRightAxisX (both in the main
    // window's coordinates), the transparency bar right of the chart.
    void alignWith(int windowLeft, int windowWidth, int mainLeftAxisX, int mainRightAxisX,
                   const QString& bottomTitle);
    // The visible time window of the main chart; replots.
    void showTimeRange(double lower, double upper);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormResize();
    void sbTransparencyChange(int value);

    std::unique_ptr<Ui::SecondaryChartWindow> ui;
    std::array<QCPGraph*, 3> series_{};
};

}  // namespace korvel
