#include "PlotFixture.h"

#include "chartview/ChartGeometry.h"
#include "chartview/ChartPrint.h"
#include "text/NumberFormat.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

using namespace korvel;
using namespace korvel::testing;

namespace {

const QColor green(0, 160, 0);

struct PrintFixture : ::testing::Test {
    TestPlot t{600, 300};
    QTemporaryDir dir;

    PrintFixture()
    {
        fillGraph(t.graphs.Series1, makeSeries(200, [](int i) { return std::sin(i * 0.1); }));
        autoscaleAxes(t.plot.get());
        setChartBackgroundColor(t.plot.get(), green);
        t.plot->replot();
    }

    // A white page with the chart drawn into its upper half, as the printer path does.
    QImage printedPage(QSize size, int dpi)
    {
        QImage page(size, QImage::Format_RGB32);
        page.fill(Qt::white);
        page.setDotsPerMeterX(static_cast<int>(Round(dpi / 0.0254)));
        page.setDotsPerMeterY(static_cast<int>(Round(dpi / 0.0254)));
        QPainter painter(&page);
        drawChartInto(t.plot.get(), painter, upperHalfRect(page));
        return page;
    }
};

int darkPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.red() + c.green() + c.blue() < 150;
        }
    }
    return n;
}

TEST_F(PrintFixture, ChartFillsTheUpperHalfAndNothingElse)
{
    const QImage page = printedPage(QSize(1000, 1401), 96);
    const QRect target = upperHalfRect(page);
    EXPECT_EQ(target, QRect(0, 0, 999, 700));
    // The chart's background reaches every corner of the rectangle and stops there.
    for (QPoint corner : {target.topLeft(), target.topRight(), target.bottomLeft(), target.bottomRight()})
        EXPECT_EQ(page.pixelColor(corner), green) << corner.x() << "," << corner.y();
    EXPECT_EQ(page.pixelColor(target.right() + 1, 10), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(10, target.bottom() + 1), QColor(Qt::white));
}

TEST_F(PrintFixture, DrawingLooksTheSameAtAPrinterResolution)
{
    // Three times the pixels at three times the resolution, scaled back down: the black of
    // texts, ticks and axis lines covers about as much as on the screen-resolution page.
    // Texts sized for the resolution and then scaled with the drawing would cover far more
    // (nine times their area); the axes' unsmoothed lines, as on screen, darken it somewhat.
    const QImage screen = printedPage(QSize(600, 800), 96);
    const QImage printer = printedPage(QSize(1800, 2400), 288)
                               .scaled(600, 800, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const double ratio = static_cast<double>(darkPixels(printer)) / darkPixels(screen);
    EXPECT_GT(ratio, 0.6);
    EXPECT_LT(ratio, 2.0);
}

TEST_F(PrintFixture, AZoomedCurveStaysInsideTheAxesOnThePage)
{
    // The sine of amplitude 1 on an axis of ±0.2: most of the curve lies outside the axis
    // rectangle, where the chart shows nothing of it.
    t.graphs.Series1->setPen(QPen(Qt::red, 2));
    t.plot->yAxis->setRange(-0.2, 0.2);
    t.plot->replot();
    const QImage page = printedPage(QSize(601, 600), 96);
    const QRect axes = t.plot->axisRect()->rect();   // the page's half holds the chart 1:1 here
    int outside = 0;
    for (int y = 0; y < upperHalfRect(page).bottom(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (!axes.adjusted(-2, -2, 2, 2).contains(x, y) && page.pixelColor(x, y).red() > 200
                && page.pixelColor(x, y).green() < 80)
                ++outside;
    EXPECT_EQ(outside, 0);
}

TEST_F(PrintFixture, JobIntoAPdfFile)
{
    const QString path = dir.filePath(QStringLiteral("chart.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);

    EXPECT_EQ(printChart(t.plot.get(), printer), QString());
    EXPECT_EQ(printer.docName(), QStringLiteral("Chart1"));
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_GT(bytes.size(), 1000);
}

TEST_F(PrintFixture, FailedJobIsAbortedAndReportsAnError)
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("missing/folder/chart.pdf")));
    EXPECT_FALSE(printChart(t.plot.get(), printer).isEmpty());
    EXPECT_NE(printer.printerState(), QPrinter::Active);
    EXPECT_FALSE(QFile::exists(printer.outputFileName()));
}

}  // namespace
