#pragma once
// The secondary window: the three digital lines of the real-time mode as stacked traces in a
// see-through window that lines up under the main chart.

#include <QMargins>
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

    // Puts the window's outer top edge on the main window's outer bottom edge.
    void placeUnder(const QWidget* mainWindow);
    // Lines the window up with the main window: same outer left edge and width, the left axis
    // line at mainLeftAxisX and the plotting area ending at mainRightAxisX (both in the main
    // window's coordinates), the transparency bar right of the chart.
    void alignWith(const QWidget* mainWindow, int mainLeftAxisX, int mainRightAxisX,
                   const QString& bottomTitle);
    // The visible time window of the main chart; replots.
    void showTimeRange(double lower, double upper);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormResize();
    void sbTransparencyChange(int value);
    // The left title shrinks until it fits the height of the plotting area.
    void fitLeftTitle();
    // The frame the window manager draws round the window. Until it has framed this window,
    // the main window's frame stands in for it: both get the same title bar and borders.
    QMargins frame() const;
    void expectFrameOf(const QWidget* mainWindow);
    void setOuterGeometry(const QRect& outer);

    std::unique_ptr<Ui::SecondaryChartWindow> ui;
    std::array<QCPGraph*, 3> series_{};
    QMargins expectedFrame_;
};

}  // namespace korvel
