// The real-time and accelerometer modes of the window against the simulated board, on a short
// time scale: the polling cycle, the board's output lines switched by the thresholds, the data
// as the data file stores it, and a two-channel accelerometer run on the chart.
#include "app/WindowRig.h"
#include "chartview/ChartView.h"
#include "device/Commands.h"
#include "device/RealTimeCycle.h"
#include "files/DataFile.h"
#include "support/EventLoopWait.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

struct SimWindow : WindowRig {
    SimWindow() : WindowRig(OnQuickSimulatedBoard())
    {
        // A cycle well past the reply's handling, so each request is answered before the next.
        w().realTimeCycle().intervals = {1, 100, 2};
    }
    qsizetype requests() { return board().commands().count(cmd::cmdSampleTemp()); }
    // Lets replies already on their way arrive and be handled; nothing is measured.
    void settle() { QTest::qWait(150); }
};

QList<QPointF> pointsOf(QCPGraph* g)
{
    QList<QPointF> out;
    for (auto it = g->data()->constBegin(); it != g->data()->constEnd(); ++it)
        out.append({it->key, it->value});
    return out;
}

}  // namespace

TEST(RealTimeRun, ThresholdsSwitchTheBoardsLinesAndTheRecordSavesWithItsTemperature)
{
    SimWindow s;
    Ui::MainWindow& f = s.f();
    f.cbTermo->setChecked(true);
    // Room temperature below 155: XP2/7 high. A signal above -99999: XP2/8 low.
    f.cbTCondition1->setCurrentIndex(2);  // < 155 → +5В
    f.cbACondition1->setCurrentIndex(0);  // > 99999 → +5В, never
    f.cbACondition2->setCurrentIndex(0);  // > -99999 → 0В
    f.btSingle->click();
    ASSERT_TRUE(s.w().realTimeCycle().isRunning());
    ASSERT_TRUE(WaitUntil([&] {
        return s.board().temperatureLineHigh() == true && s.board().signalLineHigh() == false;
    }));
    EXPECT_EQ(f.pnlT->text(), QStringLiteral("T:+5В"));
    EXPECT_EQ(f.pnlA->text(), QStringLiteral("A:0В"));

    // The other way round; conditions are read at each decision.
    f.cbTCondition1->setCurrentIndex(0);  // > 155, never
    f.cbTCondition2->setCurrentIndex(0);  // > -55 → 0В
    f.cbACondition1->setCurrentIndex(2);  // < 99999 → +5В
    f.cbACondition2->setCurrentIndex(3);  // <= -99999, never
    ASSERT_TRUE(WaitUntil([&] {
        return s.board().temperatureLineHigh() == false && s.board().signalLineHigh() == true;
    }));

    // A couple more cycles in the new state before the stop.
    const qsizetype sofar = s.requests();
    ASSERT_TRUE(WaitUntil([&] { return s.requests() >= sofar + 2; }));
    f.btSingle->click();
    s.settle();
    const qsizetype replies = s.requests();
    ASSERT_GE(replies, 5);
    const int points = s.chart().Series1()->dataCount();
    EXPECT_EQ(points, replies - 1);
    EXPECT_EQ(s.acq().recording().RealTimeCount, points);
    ASSERT_EQ(s.chart().SeriTermo()->dataCount(), points);
    for (const QPointF& p : pointsOf(s.chart().SeriTermo()))
        EXPECT_NEAR(p.y(), 21.0, 3.5);

    // Stopped means stopped: nothing more goes out.
    const qsizetype commands = s.board().commands().size();
    s.settle();
    EXPECT_EQ(s.board().commands().size(), commands);

    DataFileSaveInput in;
    in.termoHasPoints = s.chart().SeriTermo()->dataCount() > 0;
    in.ScaleK = s.w().scaleState().ScaleK;
    in.ScaleShift = s.w().scaleState().ScaleShift;
    in.AxisXName = s.w().dataHeader().AxisXName;
    const DataFileSaveResult saved = BuildDataFile(s.acq().recording(), in);
    ASSERT_TRUE(saved.output.has_value()) << saved.error.toStdString();
    EXPECT_EQ(saved.output->header.DataKind, DataKindWithTemperature);
    EXPECT_EQ(saved.output->header.SampleBytes, quint32(points * 4));
    EXPECT_EQ(saved.output->header.SamplePeriod, 1000000.0);

    const DataFileLoadResult loaded = ParseDataFile(saved.output->bytes, QStringLiteral("rt.dtw"));
    ASSERT_TRUE(loaded.file.has_value());
    const QByteArray& words = loaded.file->record.SampleBuffer;
    ASSERT_EQ(words.size(), points * 4);
    for (int i = 0; i < points; ++i) {
        const auto at = [&](int k) {
            return quint16(quint8(words[2 * k]) | (quint8(words[2 * k + 1]) << 8));
        };
        EXPECT_EQ(at(i), s.acq().recording().RealTimeSignal[i]) << i;
        EXPECT_EQ(qint16(at(points + i)), s.acq().recording().RealTimeTemperature[i]) << i;
    }
}

TEST(AccelRun, BothChannelsAreDrawnAsTwoSeriesAndComeBackFromTheFileAlike)
{
    SimWindow s;
    Ui::MainWindow& f = s.f();
    f.btADXL->click();
    ASSERT_EQ(f.rgAxItem0->text(), QStringLiteral("10c"));
    f.btAxGo->click();
    ASSERT_TRUE(WaitUntil([&] {
        return s.acq().PacketsLeft() == 0 && s.acq().SampleBuffer().size() == 60000
               && s.chart().Series1()->dataCount() > 0;
    }));
    EXPECT_EQ(s.board().commands().at(1), QByteArray::fromHex("1ae003"));
    EXPECT_EQ(s.window->statusPanel(1)->text(), QString::number(cmd::TypicalAccelPeriodTicks));
    EXPECT_TRUE(s.w().accelerometerMode());

    const QList<QPointF> x = pointsOf(s.chart().Series1());
    const QList<QPointF> y = pointsOf(s.chart().Series2());
    ASSERT_GT(x.size(), 0);
    ASSERT_GT(y.size(), 0);
    EXPECT_EQ(x.size() + y.size(), 30000);
    EXPECT_NE(x, y);

    DataFileSaveInput in;
    in.AccelerometerMode = true;
    const DataFileSaveResult saved = BuildDataFile(s.acq().recording(), in);
    ASSERT_TRUE(saved.output.has_value()) << saved.error.toStdString();
    const DataFileLoadResult loaded = ParseDataFile(saved.output->bytes, QStringLiteral("ax.dtw"));
    ASSERT_TRUE(loaded.file.has_value());

    // What the loader hands to the window, then the redraw a load makes.
    s.acq().loadRecording(loaded.file->record);
    s.w().ShowChart(MainWindow::ChartOrigin::btLoadFile);
    EXPECT_EQ(pointsOf(s.chart().Series1()), x);
    EXPECT_EQ(pointsOf(s.chart().Series2()), y);
}
