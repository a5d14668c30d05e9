// The measurement cursors, the legend and the recent files in the window: cursors dragged onto
// samples of a known sine and read out, kept through a zoom, gone with new data, on the
// clipboard and the picture; the legend's entries and its switch kept in Korvel.ini; the open
// button's list kept there too, a vanished file dropped from it; a data file dropped on the
// window opened.
#include "ChartMouse.h"
#include "WindowRig.h"

#include "app/FileDialogs.h"
#include "chartview/ChartHeader.h"
#include "chartview/ChartLegend.h"
#include "chartview/ChartPicture.h"
#include "chartview/PlotCursors.h"
#include "chartview/ZoomGesture.h"
#include "record/BoardWords.h"
#include "settings/Settings.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace korvel;
using namespace korvel::testing;
using Origin = MainWindow::ChartOrigin;

namespace {

int sineAt(int i)
{
    return static_cast<int>(std::nearbyint(1000.0 * std::sin(2 * std::numbers::pi * i / 100)));
}

// A block of readings 2048 + 1000·sin(2π i / 100), 2 µs apart, in ADC units over time (display
// mode 3, unit µs); line 1 high on the first half of each period.
void showSine(WindowRig& w)
{
    w.window->show();
    QByteArray data;
    for (int i = 0; i < 30000; ++i)
        data += Words({static_cast<quint16>((2048 + sineAt(i))
                                            | (i % 100 < 50 ? DigitalLineBits[0] : 0))});
    w.setData(data, 2.0, 1);
    choose(w.f().cbXscale, 0);
    choose(w.f().cbShowK, 3);
    w.f().cbDgt1->setChecked(true);
    w.window->ShowChart(Origin::timRx);
}

// A left drag of a cursor from where it stands to the bottom-axis value x.
void dragCursor(ChartView& c, int cursor, double x)
{
    const double y = c.axisRect()->rect().center().y();
    const QPointF from(c.bottomAxis()->coordToPixel(c.cursors()->cursorX(cursor)) + 2, y);
    sendMouse(&c, QEvent::MouseButtonPress, from, Qt::LeftButton);
    sendMouse(&c, QEvent::MouseMove, QPointF(pixelFor(c.bottomAxis(), x), y), Qt::LeftButton);
    sendMouse(&c, QEvent::MouseButtonRelease, QPointF(pixelFor(c.bottomAxis(), x), y), Qt::LeftButton);
}

bool hasColour(const QImage& image, const QColor& colour, const QRect& within)
{
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

}  // namespace

TEST(ChartCursorsWindow, CursorsSnapToSamplesOfASineAndReadItsPeriod)
{
    WindowRig w;
    showSine(w);
    ChartView& c = w.chart();
    PlotCursors* k = c.cursors();

    // Shown at a third and two thirds of the visible 0 .. 300 µs.
    const ViewRanges whole = c.zoomGesture()->ranges();
    c.zoomGesture()->showView({{0.0, 300.0}, whole.left, whole.right});
    w.window->cursorsItem()->trigger();
    ASSERT_TRUE(k->isShown());
    EXPECT_EQ(k->indexA(), 50);
    EXPECT_EQ(k->indexB(), 100);
    EXPECT_TRUE(w.window->copyCursorsItem()->isEnabled());

    // 51,3 µs is nearest sample 26 (X 52). The drag is the cursor's, not the rectangle zoom's.
    const ViewRanges view = c.zoomGesture()->ranges();
    dragCursor(c, 0, 51.3);
    EXPECT_EQ(k->indexA(), 26);
    dragCursor(c, 0, 50.0);
    dragCursor(c, 1, 250.0);
    EXPECT_EQ(k->indexA(), 25);
    EXPECT_EQ(k->indexB(), 125);
    EXPECT_EQ(c.zoomGesture()->ranges(), view);
    EXPECT_EQ(c.zoomGesture()->history().size(), 1u);

    const QStringList lines = k->readout();
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], QStringLiteral("A: X = 50 мкс; Y = %1,0; XP2/конт.2 H").arg(2048 + sineAt(25)));
    EXPECT_EQ(lines[1], QStringLiteral("B: X = 250 мкс; Y = %1,0; XP2/конт.2 H").arg(2048 + sineAt(125)));
    EXPECT_EQ(lines[2], QStringLiteral("Δt = 200 мкс; 1/Δt = 5000,00 Гц"));
    EXPECT_EQ(lines[3], QStringLiteral("ΔY = 0,0"));
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("Между A и B: мин 1048,0; макс 3048,0; размах 2000,0")));

    // A zoom moves the view, not the cursors.
    c.zoomGesture()->zoomTo(QRectF(c.axisRect()->rect()).adjusted(10, 10, -100, -10));
    EXPECT_EQ(k->indexA(), 25);
    EXPECT_DOUBLE_EQ(k->cursorX(1), 250.0);
    EXPECT_EQ(k->readout(), lines);

    // The values to the clipboard; the cursors on the copied picture.
    w.window->copyCursorsItem()->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), lines.join(u'\n'));
    const ChartPicture picture = renderChartPicture(&c);
    EXPECT_TRUE(hasColour(picture.image, PlotCursors::ColourB, c.axisRect()->rect()));

    // A new measurement: the cursors go.
    emit w.acq().chartFlagsReset();
    w.window->ShowChart(Origin::timRx);
    EXPECT_FALSE(k->isShown());
    EXPECT_FALSE(w.window->cursorsItem()->isChecked());
}

TEST(ChartCursorsWindow, TheReadOutSitsAboveTheTracesAndBreaksItsLinesOnANarrowChart)
{
    WindowRig w;
    showSine(w);
    ChartView& c = w.chart();
    const int plotTop = c.axisRect()->rect().top();
    w.window->cursorsItem()->trigger();
    const QRect box = c.header()->readoutRect();
    ASSERT_FALSE(box.isEmpty());
    EXPECT_LT(box.bottom(), c.axisRect()->rect().top());
    EXPECT_EQ(c.header()->readoutLines(), c.cursors()->readout());

    // Too narrow for the measurements' line: it breaks after a "; ", and the box stays whole.
    w.window->resize(430, w.window->height());
    c.replot();
    const QStringList shown = c.header()->readoutLines();
    EXPECT_GT(shown.size(), c.cursors()->readout().size());
    const auto bare = [](QStringList lines) { return lines.join(QString()).remove(u' '); };
    EXPECT_EQ(bare(shown), bare(c.cursors()->readout()));
    EXPECT_LE(c.header()->readoutRect().right(), c.width());

    // Gone, and the plotting area has its room back.
    w.window->cursorsItem()->trigger();
    w.window->resize(800, w.window->height());
    c.replot();
    EXPECT_TRUE(c.header()->readoutRect().isEmpty());
    EXPECT_EQ(c.axisRect()->rect().top(), plotTop);
}

TEST(ChartLegendWindow, NamesEveryShownTraceGoesOnThePictureAndIsKept)
{
    SettingsValues saved;
    {
        WindowRig w;
        showSine(w);
        w.f().cbDgt3->setChecked(true);
        w.window->ShowChart(Origin::cbDgt3);
        const QImage without = renderChartPicture(&w.chart()).image;

        w.window->legendItem()->trigger();
        ChartLegend* legend = w.chart().chartLegend();
        EXPECT_EQ(legend->entries(),
                  (QStringList{QStringLiteral("единицы АЦП"), QStringLiteral("XP2/конт.2"),
                               QStringLiteral("XP3/конт.8")}));
        // Above the plotting area, where it covers no trace, and on the picture.
        const QRect box = w.chart().header()->legendRect();
        ASSERT_FALSE(box.isEmpty());
        EXPECT_LT(box.bottom(), w.chart().axisRect()->rect().top());
        EXPECT_NE(renderChartPicture(&w.chart()).image.copy(box), without.copy(box));

        w.window->writeSettings();
        saved = LoadSettings(w.settingsPath()).values;
    }
    EXPECT_TRUE(saved.ChartLegend);
    WindowRig again(StartedOn(saved));
    EXPECT_TRUE(again.window->legendItem()->isChecked());
    EXPECT_TRUE(again.chart().chartLegend()->isShown());
}

namespace {

struct RecentWindow : WindowRig {
    QTemporaryDir files;

    RecentWindow() : WindowRig(WithScriptedDialogs()) {}
    QString path(const QString& name) const { return files.filePath(name); }
    void save(const QString& name)
    {
        dialogs->answers << path(name);
        f().btSave->click();
    }
    QStringList listed()
    {
        emit window->recentMenu()->aboutToShow();
        QStringList out;
        for (const QAction* a : window->recentMenu()->actions())
            out << a->text();
        return out;
    }
    // A drag of one file from a file manager, and its drop when the window takes it.
    bool drop(const QString& file)
    {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(file)});
        const QPoint at = window->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &dropped);
        return dropped.isAccepted();
    }
};

}  // namespace

TEST(RecentFilesWindow, FilesSavedAndOpenedAreListedKeptAndAGoneOneLeaves)
{
    RecentWindow w;
    showSine(w);
    w.save(QStringLiteral("a.dtw"));
    w.save(QStringLiteral("b.dtw"));
    w.save(QStringLiteral("table.txt"));   // a text export is no data file
    const QString a = w.path(QStringLiteral("a.dtw"));
    const QString b = w.path(QStringLiteral("b.dtw"));
    EXPECT_EQ(w.listed(), (QStringList{QDir::toNativeSeparators(b), QDir::toNativeSeparators(a)}));

    // Picked from the list: opened as the open button opens a file, and first again.
    w.window->recentMenu()->actions().at(1)->trigger();
    EXPECT_EQ(w.f().gbFile->title(), QStringLiteral("ФАЙЛ a.dtw"));
    EXPECT_EQ(w.window->recentFiles()[0], a);

    w.window->writeSettings();
    const SettingsValues saved = LoadSettings(w.settingsPath()).values;
    EXPECT_EQ(saved.RecentFiles[0], a);
    EXPECT_EQ(saved.RecentFiles[1], b);
    EXPECT_TRUE(saved.RecentFiles[2].isEmpty());

    // A file gone since: the loader's own message, and it leaves the list.
    ASSERT_TRUE(QFile::remove(b));
    w.messages.said.clear();
    w.window->openRecentFile(b);
    ASSERT_EQ(w.messages.said.size(), 1);
    EXPECT_TRUE(w.messages.said[0].text.contains(QStringLiteral("b.dtw")));
    EXPECT_EQ(w.listed(), QStringList{QDir::toNativeSeparators(a)});
}

TEST(RecentFilesWindow, ADataFileDroppedOnTheWindowOpensAndOthersAreNotTaken)
{
    RecentWindow w;
    showSine(w);
    w.save(QStringLiteral("run.dtw"));
    w.save(QStringLiteral("table.txt"));
    w.f().gbFile->setTitle(QString());

    EXPECT_FALSE(w.drop(w.path(QStringLiteral("table.txt"))));
    EXPECT_TRUE(w.drop(w.path(QStringLiteral("run.dtw"))));
    EXPECT_EQ(w.f().gbFile->title(), QStringLiteral("ФАЙЛ run.dtw"));

    // A refused data file: the usual message, nothing else changes.
    QFile junk(w.path(QStringLiteral("junk.dtw")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a data file");
    junk.close();
    w.messages.said.clear();
    EXPECT_TRUE(w.drop(junk.fileName()));
    EXPECT_EQ(w.messages.said.size(), 1);
    EXPECT_EQ(w.f().gbFile->title(), QStringLiteral("ФАЙЛ run.dtw"));
}
