// Zoom and undo in the window (the redraw with digital lines, the secondary window following),
// the double click, the picture on the clipboard and the printout.
#include "ChartMouse.h"
#include "PdfPaintedArea.h"
#include "WindowRig.h"

#include "app/FileDialogs.h"
#include "chartview/ChartGeometry.h"
#include "chartview/ChartPicture.h"
#include "chartview/ZoomGesture.h"
#include "device/Commands.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPrinter>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;
using Origin = MainWindow::ChartOrigin;

namespace {

const QString Drawn = QStringLiteral("ПОСТРОЕНИЕ ГРАФИКА");

QRect plotArea(WindowRig& w)
{
    return w.chart().axisRect()->rect();
}

// Twelve real-time replies as the receiver stores them, none drawn yet.
template <class Word>
void storeRealTime(WindowRig& w, Word word)
{
    w.window->show();
    Recording r{.ModeCommand = cmd::cmdSample(), .SamplePeriod = 1000000.0};
    for (int i = 0; i < 12; ++i)
        r.RealTimeSignal.push_back(static_cast<quint16>(word(i)));
    w.acq().loadRecording(r);
}

}  // namespace

TEST(ChartZoomWindow, DigitalLevelsFollowAZoomOnlyWhileALineIsShown)
{
    WindowRig w;
    showRamp(w);
    const QSize area = plotArea(w).size();
    w.window->statusPanel(0)->setText(QStringLiteral("ждём"));

    // No digital line: the chart zooms, the program does not redraw.
    dragOnChart(w.chart(), {area.width() / 4, area.height() / 4},
                {area.width() / 2, area.height() / 2});
    ASSERT_TRUE(w.chart().zoomGesture()->isZoomed());
    EXPECT_FALSE(w.window->chartState().ChartZoomed);
    EXPECT_EQ(w.status0(), QStringLiteral("ждём"));

    // A line checked afterwards takes its levels from the whole signal.
    w.f().cbDgt1->click();
    EXPECT_EQ(w.status0(), Drawn);
    EXPECT_DOUBLE_EQ(w.window->chartState().DigitalCentre, 1999.5);

    // With the line shown a zoom redraws and the levels move into the zoomed window.
    w.window->statusPanel(0)->setText(QStringLiteral("ждём"));
    dragOnChart(w.chart(), {area.width() / 4, area.height() / 4},
                {area.width() / 2, area.height() / 2});
    EXPECT_TRUE(w.window->chartState().ChartZoomed);
    EXPECT_EQ(w.status0(), Drawn);
    const AxisLimits left = axisLimits(w.chart().leftAxis());
    EXPECT_LT(left.maximum - left.minimum, 3000.0);
    EXPECT_NEAR(w.window->chartState().DigitalCentre, (left.minimum + left.maximum) / 2, 1e-9);
    for (int i : {0, 3999}) {
        EXPECT_GT(w.y(w.chart().SeriDgt1(), i), left.minimum);
        EXPECT_LT(w.y(w.chart().SeriDgt1(), i), left.maximum);
    }

    // A drag to the left undoes it: automatic axes, levels of the whole signal again.
    w.window->statusPanel(0)->setText(QStringLiteral("ждём"));
    dragOnChart(w.chart(), {area.width() / 2, area.height() / 2}, {area.width() / 4, 10});
    EXPECT_FALSE(w.window->chartState().ChartZoomed);
    EXPECT_EQ(w.status0(), Drawn);
    EXPECT_DOUBLE_EQ(w.window->chartState().DigitalCentre, 1999.5);
    EXPECT_EQ(axisLimits(w.chart().bottomAxis()).maximum, 3999.0);
}

TEST(ChartZoomWindow, SecondaryAxisFollowsZoomAndUndoAndADoubleClickNeverShowsIt)
{
    WindowRig w;
    storeRealTime(w, [](int i) { return (i % 2 ? 0x2000 : 0) | (100 * i); });
    w.f().cbDgt1->setChecked(true);
    for (int i = 0; i < 12; ++i)
        w.window->ShowChart(Origin::timRx);
    ASSERT_TRUE(w.secondary.isVisible());
    QCPAxis* second = w.secondary.chart()->xAxis;
    const QRect area = plotArea(w);

    dragOnChart(w.chart(), {area.width() / 3, 5}, {area.width() * 2 / 3, area.height() - 5});
    const AxisLimits zoomed = axisLimits(w.chart().bottomAxis());
    ASSERT_GT(zoomed.minimum, w.x(w.chart().Series1(), 0));
    EXPECT_EQ(axisLimits(second).minimum, zoomed.minimum);
    EXPECT_EQ(axisLimits(second).maximum, zoomed.maximum);

    dragOnChart(w.chart(), {area.width() * 2 / 3, 5}, {area.width() / 3, 5});
    const double first = w.x(w.secondary.SeriDgt1(), 0);
    const double last = w.x(w.secondary.SeriDgt1(), 11);
    EXPECT_EQ(axisLimits(second).minimum, first);
    EXPECT_EQ(axisLimits(second).maximum, last);
    EXPECT_EQ(axisLimits(w.chart().bottomAxis()).minimum, first);
    EXPECT_EQ(axisLimits(w.chart().bottomAxis()).maximum, last);

    // With no digital line shown nothing is redrawn, and the window's axis follows all the same.
    w.f().cbDgt1->setChecked(false);
    dragOnChart(w.chart(), {area.width() / 4, 5}, {area.width() / 2, area.height() - 5});
    EXPECT_EQ(axisLimits(second).minimum, axisLimits(w.chart().bottomAxis()).minimum);
    EXPECT_EQ(axisLimits(second).maximum, axisLimits(w.chart().bottomAxis()).maximum);
    dragOnChart(w.chart(), {area.width() / 2, 5}, {area.width() / 4, 5});
    EXPECT_EQ(axisLimits(second).minimum, first);
    EXPECT_EQ(axisLimits(second).maximum, last);

    // Closed by the user: a zoom leaves its axis alone and a double click does not bring it
    // back. (With a digital line shown the zoom would redraw, and a real-time redraw shows it.)
    w.secondary.hide();
    dragOnChart(w.chart(), {area.width() / 3, 5}, {area.width() * 2 / 3, area.height() - 5});
    EXPECT_EQ(axisLimits(second).minimum, first);
    sendMouse(&w.chart(), QEvent::MouseButtonDblClick, QPointF(area.center()), Qt::LeftButton);
    EXPECT_FALSE(w.secondary.isVisible());

    w.secondary.show();
    sendMouse(&w.chart(), QEvent::MouseButtonDblClick, QPointF(area.center()), Qt::LeftButton);
    EXPECT_TRUE(w.secondary.isVisible());
}

TEST(ChartZoomWindow, ARealTimeZoomStaysWhilePointsArriveUntilTheAxesAreFittedAgain)
{
    WindowRig w;
    storeRealTime(w, [](int i) { return 100 * i; });
    for (int i = 0; i < 10; ++i)
        w.window->ShowChart(Origin::timRx);
    const QRect area = plotArea(w);
    dragOnChart(w.chart(), {area.width() / 4, area.height() / 4},
                {area.width() / 2, area.height() / 2});
    const AxisLimits bottom = axisLimits(w.chart().bottomAxis());
    const AxisLimits left = axisLimits(w.chart().leftAxis());

    w.window->ShowChart(Origin::timRx);  // no digital line checked
    EXPECT_EQ(w.points(w.chart().Series1()), 11);
    EXPECT_EQ(axisLimits(w.chart().bottomAxis()).minimum, bottom.minimum);
    EXPECT_EQ(axisLimits(w.chart().bottomAxis()).maximum, bottom.maximum);
    EXPECT_EQ(axisLimits(w.chart().leftAxis()).minimum, left.minimum);
    EXPECT_EQ(axisLimits(w.chart().leftAxis()).maximum, left.maximum);

    // A new measurement fits the axes to itself; real-time points after it are fitted too.
    const Recording realTime = w.acq().recording();
    showRamp(w);
    w.acq().loadRecording(realTime);
    w.window->ShowChart(Origin::cbShowK);
    ASSERT_EQ(w.points(w.chart().Series1()), 11);
    EXPECT_EQ(axisLimits(w.chart().bottomAxis()).maximum, 10.0);
}

TEST(ChartPictureWindow, CopyPutsAWhitePictureOnTheClipboardAndKeepsTheChartColour)
{
    WindowRig w;
    showRamp(w);
    const QColor green(0, 160, 0);
    setChartBackgroundColor(&w.chart(), green);
    w.chart().replot();
    QClipboard* clipboard = QGuiApplication::clipboard();

    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(way);
        clipboard->clear();
        if (way == 0)
            w.f().btSaveChart->click();
        else
            w.window->N1()->trigger();
        const QMimeData* mime = clipboard->mimeData();
        ASSERT_NE(mime, nullptr);
        const QByteArray svg = mime->data(QString::fromLatin1(SvgMimeType));
        EXPECT_TRUE(svg.contains("<svg"));
        EXPECT_FALSE(svg.contains("#00a000"));
        const QImage image = qvariant_cast<QImage>(mime->imageData());
        ASSERT_EQ(image.size(), w.chart().size());
        EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::white));
        EXPECT_EQ(image.pixelColor(image.width() - 2, image.height() - 2), QColor(Qt::white));
        EXPECT_EQ(chartBackgroundColor(&w.chart()), green);
    }
}

TEST(ChartPrintWindow, PrintLandsInTheUpperHalfOfThePageAtFullWidth)
{
    WindowRig w;
    showRamp(w);
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("chart.pdf"));
    w.window->setPrinterSource([&] {
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(path);
        p->setFullPage(true);  // device pixels start at the page's corner
        return p;
    });

    w.f().btPrint->click();
    EXPECT_TRUE(w.messages.said.isEmpty());
    const pdf::PaintedArea painted = pdf::paintedAreaOfFile(path);
    ASSERT_GT(painted.paintOps, 0);
    const QRectF page = painted.mediaBox;
    ASSERT_GT(page.height(), 0.0);
    // PDF points grow upward: the upper half is y from half the height to the top.
    const double tolerance = 0.5;
    EXPECT_NEAR(painted.box.left(), page.left(), tolerance);
    EXPECT_NEAR(painted.box.right(), page.right(), tolerance);
    EXPECT_NEAR(painted.box.bottom(), page.bottom(), tolerance);
    EXPECT_NEAR(painted.box.top(), page.top() + page.height() / 2, tolerance);
}

TEST(ChartPrintWindow, AFailedJobIsReportedAsAnError)
{
    WindowRig w;
    showRamp(w);
    QTemporaryDir out;
    w.window->setPrinterSource([&] {
        auto p = std::make_unique<QPrinter>();
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(out.filePath(QStringLiteral("no/such/folder/chart.pdf")));
        return p;
    });
    w.f().btPrint->click();
    ASSERT_EQ(w.messages.said.size(), 1);
    EXPECT_EQ(w.messages.said[0].kind, Messages::Kind::Error);
    EXPECT_FALSE(w.messages.said[0].text.isEmpty());
}

TEST(ChartPrintWindow, WithNoPrinterThePageGoesIntoAPdfFileChosenByTheUser)
{
    WindowRig w;
    showRamp(w);
    auto dialogs = std::make_shared<ScriptedFileDialogs>();
    w.window->setFileDialogs(dialogs);
    w.window->setPrinterSource([] { return std::unique_ptr<QPrinter>(); });
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("chart.pdf"));
    dialogs->answers << path;

    w.f().btPrint->click();
    ASSERT_EQ(dialogs->asked.size(), 1);
    EXPECT_EQ(dialogs->asked[0].kind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(dialogs->asked[0].filter, QStringLiteral("PDF (*.pdf)"));
    EXPECT_TRUE(w.messages.said.isEmpty());
    const pdf::PaintedArea painted = pdf::paintedAreaOfFile(path);
    ASSERT_GT(painted.paintOps, 0);
    // The printer's layout: the upper half of the page (PDF points grow upward), across its
    // printable width.
    const QRectF page = painted.mediaBox;
    EXPECT_GE(painted.box.top(), page.top() + page.height() / 2 - 0.5);
    EXPECT_GT(painted.box.width(), page.width() * 0.8);
}
