// The spectrum window from the main window: opened from the pop-up menu and the button, it
// follows a zoom, a display-mode change and new data, and keeps its choices in the settings;
// the save dialog's open formats take an accelerometer record; with no printer its print goes
// into a PDF file as the chart's does.
#include "ChartMouse.h"
#include "PdfPaintedArea.h"
#include "WindowRig.h"

#include "app/FileDialogs.h"
#include "app/HelpWindow.h"
#include "chartview/ChartGeometry.h"
#include "chartview/SpectrogramWindow.h"
#include "chartview/SpectrumChart.h"
#include "chartview/SpectrumWindow.h"
#include "chartview/ZoomGesture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QPrinter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <cmath>
#include <numbers>

using namespace korvel;
using namespace korvel::testing;
using Origin = MainWindow::ChartOrigin;

namespace {

// cycles periods of a sine over 4000 samples 1 µs apart, in ADC units over sample numbers.
void showSine(WindowRig& w, int cycles)
{
    QByteArray data;
    for (int i = 0; i < 4000; ++i)
        data += Words({quint16(std::lrint(2048 + 900 * std::sin(2 * std::numbers::pi * cycles * i / 4000)))});
    w.setData(data);
    choose(w.f().cbShowK, 1);
    w.window->ShowChart(Origin::timRx);
    QCoreApplication::processEvents();   // the spectrum follows after the replot
}

double peakHz(const SpectrumWindow* s)
{
    const auto& peak = s->analysis().channels.at(0).spectrum.peak;
    return peak ? peak->frequencyHz : -1.0;
}

}  // namespace

TEST(SpectrumFromTheWindow, FollowsZoomDisplayModeAndNewDataAndKeepsItsChoices)
{
    WindowRig w;
    w.window->show();   // the chart lays itself out for its size
    showSine(w, 50);
    QAction* item = w.window->pmChart()->actions().value(1);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->text(), QStringLiteral("Спектр"));
    item->trigger();
    SpectrumWindow* s = w.window->spectrumWindow();
    ASSERT_TRUE(s->isVisible());
    EXPECT_NEAR(peakHz(s), 12500.0, 1.0);   // 50 periods in 4 ms
    EXPECT_EQ(s->analysis().channels[0].range.count, 4000);
    EXPECT_EQ(s->chart()->yAxis->label(), QStringLiteral("единицы АЦП"));

    // A zoom of the main chart: the spectrum of the visible points only.
    const QSize area = w.chart().axisRect()->rect().size();
    dragOnChart(w.chart(), {area.width() / 4, 5}, {area.width() / 2, area.height() - 5});
    QCoreApplication::processEvents();
    ASSERT_TRUE(w.chart().zoomGesture()->isZoomed());
    const int visible = lastVisibleIndex(w.chart().Series1()) - firstVisibleIndex(w.chart().Series1()) + 1;
    EXPECT_LT(visible, 4000);
    EXPECT_EQ(s->analysis().channels[0].range.count, visible);

    // Values on the Y axis: the amplitude takes the chart's title (none here).
    choose(w.f().cbShowK, 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(s->chart()->yAxis->label(), QStringLiteral("Амплитуда"));

    // New data; a closed window comes back with the button.
    s->close();
    w.f().btSpectrum->click();
    ASSERT_TRUE(s->isVisible());
    showSine(w, 80);
    dragOnChart(w.chart(), {area.width() / 2, area.height() / 2}, {area.width() / 4, 10});
    QCoreApplication::processEvents();
    EXPECT_NEAR(peakHz(s), 20000.0, 1.0);

    SpectrumSettings choices;
    choices.window = 2;
    choices.segment = 1024;
    s->applyChoices(choices);
    w.window->close();
    const SpectrumSettings saved = LoadSettings(w.settingsPath()).values.spectrum;
    EXPECT_EQ(saved.window, 2);
    EXPECT_EQ(saved.segment, 1024);
    EXPECT_EQ(saved.width, s->width());
}

TEST(SpectrumFromTheWindow, SaveDialogOffersTheOpenFormatsAndAnAccelerometerRecordGoesToCsv)
{
    WindowRig w;
    auto dialogs = std::make_shared<ScriptedFileDialogs>();
    w.window->setFileDialogs(dialogs);
    w.acq().loadRecording({.SampleBuffer = Words({0x8000 | 1000, 3000, 0x8000 | 1001, 3001}),
                           .ModeCommand = QByteArray::fromHex("1a0003"),
                           .BlockCount = 1});
    w.f().btADXL->click();
    choose(w.f().cbShowK, 1);
    w.window->ShowChart(Origin::timRx);

    const QString path = w.dir.filePath(QStringLiteral("ax.csv"));
    dialogs->answers << path;
    w.f().btSave->click();
    ASSERT_EQ(dialogs->asked.size(), 1);
    EXPECT_TRUE(dialogs->asked[0].filter.startsWith(
        QStringLiteral("ADC files (*.dtw);;Save to Text file (*.txt);;All files (*.*);;")));
    EXPECT_TRUE(dialogs->asked[0].filter.endsWith(QStringLiteral("(*.wav)")));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    // The channels' offsets (-15, +77) are in the values as the chart plots them.
    EXPECT_EQ(QString::fromUtf8(f.readAll()),
              QStringLiteral("Выборки,единицы АЦП (X),единицы АЦП (Y)\n0,985,3077\n1,986,3078\n"));
    EXPECT_TRUE(w.messages.said.isEmpty());
}

TEST(SpectrumFromTheWindow, WithNoPrinterThePrintGoesIntoAPdfFileAsTheChartsDoes)
{
    WindowRig w;
    auto dialogs = std::make_shared<ScriptedFileDialogs>();
    w.window->setFileDialogs(dialogs);
    w.window->setPrinterSource([] { return std::unique_ptr<QPrinter>(); });
    showSine(w, 50);
    w.f().btSpectrum->click();
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("spectrum.pdf"));
    dialogs->answers << path;

    w.window->spectrumWindow()->btPrintClick();
    ASSERT_EQ(dialogs->asked.size(), 1);
    EXPECT_EQ(dialogs->asked[0].filter, QStringLiteral("PDF (*.pdf)"));
    EXPECT_GT(pdf::paintedAreaOfFile(path).paintOps, 0);
    EXPECT_TRUE(w.messages.said.isEmpty());
}

TEST(SpectrumFromTheWindow, OpensOnTheScreenWhateverPlaceAndSizeTheSettingsGive)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // A place off the screen, and none (beside the main window), both with a size too large.
    for (const QPoint place : {QPoint(5000, 4000), QPoint(-1, -1)}) {
        SettingsValues saved;
        saved.spectrum.width = 3200;
        saved.spectrum.height = 2000;
        saved.spectrum.left = place.x();
        saved.spectrum.top = place.y();
        WindowRig w(StartedOn(saved));
        w.window->show();
        w.f().btSpectrum->click();
        const QRect shown = w.window->spectrumWindow()->frameGeometry();
        EXPECT_TRUE(screen.contains(shown)) << place.x() << ": " << shown.x() << ',' << shown.y()
                                            << ' ' << shown.width() << 'x' << shown.height();
    }
}

TEST(SpectrumFromTheWindow, F1InItOpensTheSpectrumTopic)
{
    WindowRig w;
    w.window->show();
    showSine(w, 50);
    w.f().btSpectrum->click();
    SpectrumWindow* s = w.window->spectrumWindow();
    s->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(s));
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), s);
    QTest::keyClick(s, Qt::Key_F1);
    auto* help = w.window->findChild<HelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->source().toString(), HelpPageUrl(SpectrumHelpTopic).toString());
    EXPECT_TRUE(help->toPlainText().contains(QStringLiteral("Спектр")));

    // The spectrogram is described on the same page.
    help->setSource(HelpPageUrl(WindowHelpTopic));
    s->findChild<QToolButton*>(QStringLiteral("btSpectrogram"))->click();
    SpectrogramWindow* g = w.window->spectrogramWindow();
    g->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(g));
    QCoreApplication::processEvents();
    QTest::keyClick(g, Qt::Key_F1);
    EXPECT_EQ(help->source().toString(), HelpPageUrl(SpectrumHelpTopic).toString());
    EXPECT_TRUE(help->toPlainText().contains(QStringLiteral("Спектрограмма")));
}
