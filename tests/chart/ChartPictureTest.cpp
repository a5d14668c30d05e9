#include "PlotFixture.h"

#include "chart/ChartGeometry.h"
#include "chart/ChartPicture.h"

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

    PictureFixture()
    {
        fillGraph(t.graphs.Series1, makeSeries(100, [](int i) { return i % 10; }));
        autoscaleAxes(t.plot.get());
        setChartBackgroundColor(t.plot.get(), grey);
        t.plot->replot();
    }
};

TEST_F(PictureFixture, ClipboardGetsVectorAndBitmapOnWhite)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    ASSERT_NE(clipboard, nullptr);
    clipboard->clear();
    copyChartToClipboard(t.plot.get());

    const QMimeData* mime = clipboard->mimeData();
    ASSERT_NE(mime, nullptr);
    ASSERT_TRUE(mime->hasFormat(QString::fromLatin1(SvgMimeType)));
    const QByteArray svg = mime->data(QString::fromLatin1(SvgMimeType));
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains("</svg>"));
    // The background rectangle of the drawing is white, never the chart's grey.
    EXPECT_TRUE(svg.contains("#ffffff"));
    EXPECT_FALSE(svg.contains("#404040"));

    ASSERT_TRUE(mime->hasImage());
    const QImage image = qvariant_cast<QImage>(mime->imageData());
    EXPECT_EQ(image.size(), QSize(400, 300));
    // Corners lie outside the plotting area: pure background.
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(398, 1), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(398, 298), QColor(Qt::white));
}

TEST_F(PictureFixture, ChartKeepsItsColoursAfterTheCopy)
{
    QCPAxisRect* area = t.plot->axisRect();
    area->setBackground(QBrush(QColor(0, 0, 90)));
    const ChartPicture picture = renderChartPicture(t.plot.get());

    // The filled plotting area was white in the copy too.
    const QPoint inside = area->rect().center();
    const QColor copied = picture.image.pixelColor(inside);
    EXPECT_NE(copied, QColor(0, 0, 90));

    EXPECT_EQ(chartBackgroundColor(t.plot.get()), grey);
    EXPECT_EQ(area->backgroundBrush().color(), QColor(0, 0, 90));
    const QImage screen = t.plot->toPixmap().toImage();
    EXPECT_EQ(screen.pixelColor(1, 1), grey);
    EXPECT_EQ(screen.pixelColor(inside), QColor(0, 0, 90));
}

TEST_F(PictureFixture, ChartWithoutBackgroundComesOutWhiteAndStaysUnfilled)
{
    setChartBackgroundColor(t.plot.get(), QColor());
    const ChartPicture picture = renderChartPicture(t.plot.get());
    EXPECT_EQ(picture.image.pixelColor(1, 1), QColor(Qt::white));
    EXPECT_FALSE(chartBackgroundColor(t.plot.get()).isValid());
}

}  // namespace
