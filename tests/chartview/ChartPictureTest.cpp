#include "PlotFixture.h"

#include "chartview/ChartGeometry.h"
#include "chartview/ChartPicture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

struct PictureFixture : ::testing::Test {
    TestPlot t{400, 300};
    const QColor grey{64, 64, 64};
    const QColor navy{0, 0, 90};

    PictureFixture()
    {
        fillGraph(t.graphs.Series1, makeSeries(100, [](int i) { return i % 10; }));
        autoscaleAxes(t.plot.get());
        setChartBackgroundColor(t.plot.get(), grey);
        t.plot->axisRect()->setBackground(QBrush(navy));
        t.plot->replot();
    }
};

TEST_F(PictureFixture, ClipboardGetsVectorAndBitmapOnWhite)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    copyChartToClipboard(t.plot.get());

    const QMimeData* mime = clipboard->mimeData();
    ASSERT_NE(mime, nullptr);
    const QByteArray svg = mime->data(QString::fromLatin1(SvgMimeType));
    EXPECT_TRUE(svg.contains("<svg") && svg.contains("</svg>"));
    EXPECT_TRUE(svg.contains("#ffffff"));
    EXPECT_FALSE(svg.contains("#404040") || svg.contains("#00005a"));

    ASSERT_TRUE(mime->hasImage());
    const QImage image = qvariant_cast<QImage>(mime->imageData());
    EXPECT_EQ(image.size(), QSize(400, 300));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::white));              // outside the axes
    EXPECT_EQ(image.pixelColor(398, 298), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(t.plot->axisRect()->rect().topLeft() + QPoint(3, 3)),
              QColor(Qt::white));                                      // the filled area
}

TEST_F(PictureFixture, ChartKeepsItsColoursAfterTheCopy)
{
    renderChartPicture(t.plot.get());
    EXPECT_EQ(chartBackgroundColor(t.plot.get()), grey);
    EXPECT_EQ(t.plot->axisRect()->backgroundBrush().color(), navy);
    const QImage screen = t.plot->toPixmap().toImage();
    EXPECT_EQ(screen.pixelColor(1, 1), grey);

    // A chart with no fill of its own still copies on white and stays unfilled.
    setChartBackgroundColor(t.plot.get(), QColor());
    EXPECT_EQ(renderChartPicture(t.plot.get()).image.pixelColor(1, 1), QColor(Qt::white));
    EXPECT_FALSE(chartBackgroundColor(t.plot.get()).isValid());
}

}  // namespace
