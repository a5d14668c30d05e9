// The accelerometer panel in the window against a scripted port: the panel button, the channel
// choice and its duration list, the start bytes and estimates, and the list rebuilt from the
// period the board reports.
#include "WindowRig.h"
#include "chartview/ChartView.h"
#include "device/Commands.h"
#include "serial/ScriptedPort.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

struct AccelRig : WindowRig {
    AccelRig() : WindowRig(OnScriptedPortWithoutGreeting()) {}

    QStringList entries() const { return window->rgAxItems(); }
    // The board's status reply with a period of `ticks`, handled as the receive timer would.
    void statusReply(int ticks)
    {
        port->feed(cmd::bytes({cmd::StatusReadyAccel, static_cast<quint8>(ticks),
                               static_cast<quint8>(ticks >> 8)}));
        acq().timRxTimer();
    }
};

QStringList list(std::initializer_list<int> seconds)
{
    QStringList out;
    for (int s : seconds)
        out.append(QString::number(s) + QLatin1Char('c'));
    return out;
}

const QStringList OneChannelAtStart = list({21, 42, 63, 84, 105, 126, 147, 168});
const QStringList TwoChannelsAtStart = list({10, 21, 31, 42, 52, 63, 73, 84});

}  // namespace

TEST(AccelWindow, StartsWithTheTwoChannelListOfTheNominalPeriod)
{
    AccelRig r;
    EXPECT_EQ(r.acq().recording().AccelPeriod, 0.0007);
    EXPECT_EQ(r.entries(), TwoChannelsAtStart);
    EXPECT_EQ(r.w().rgAxItemIndex(), 0);
    EXPECT_EQ(r.w().accelState().AccelChannels, 2);
    EXPECT_EQ(r.w().accelState().AccelBlockSeconds, 21);
    EXPECT_EQ(r.w().accelState().AccelDurationIndex, 0);
}

TEST(AccelWindow, PanelButtonOpensAndClosesTheModeOthersOnlyHideThePanel)
{
    AccelRig r;
    Ui::MainWindow& f = r.f();
    r.window->show();
    f.btADXL->click();
    EXPECT_TRUE(r.w().accelerometerMode());
    EXPECT_TRUE(f.gbAx->isVisible());
    EXPECT_EQ(f.btADXL->text(), QStringLiteral("Закрыть"));
    EXPECT_EQ(f.btADXL->palette().color(QPalette::ButtonText), QColor(Qt::red));

    f.btADXL->click();
    EXPECT_FALSE(r.w().accelerometerMode());
    EXPECT_FALSE(f.gbAx->isVisible());
    EXPECT_EQ(f.btADXL->text(), QStringLiteral("ADXL"));
    EXPECT_EQ(f.btADXL->palette().color(QPalette::ButtonText), QColor(Qt::black));

    f.btADXL->click();
    f.btSingle->click();  // the real-time start closes the panel and the mode, not the caption
    EXPECT_FALSE(f.gbAx->isVisible());
    EXPECT_FALSE(r.w().accelerometerMode());
    EXPECT_EQ(f.btADXL->text(), QStringLiteral("Закрыть"));
}

TEST(AccelWindow, BothChannelsFor42SecondsStartAndFetch480Packets)
{
    AccelRig r;
    Ui::MainWindow& f = r.f();
    r.window->show();
    f.btADXL->click();
    f.rgAxItem3->click();
    ASSERT_EQ(f.rgAxItem3->text(), QStringLiteral("42c"));
    f.btRd->setEnabled(false);

    f.btAxGo->click();
    EXPECT_EQ(r.written(), QList<QByteArray>{QByteArray::fromHex("1a8003")});
    EXPECT_EQ(r.acq().ModeCommand(), QByteArray::fromHex("1a8003"));
    EXPECT_EQ(r.acq().MeasureTimeMs(), 42000.0);
    EXPECT_EQ(r.acq().TransferStatusText(), QStringLiteral("ПЕРЕДАЧА МАССИВА, 4с"));
    EXPECT_EQ(r.acq().BlockCount(), 4);
    EXPECT_EQ(r.acq().SamplePeriod(), static_cast<double>(14.0L / 14.7456L));
    EXPECT_EQ(r.w().accelState().AccelDurationIndex, 3);
    EXPECT_EQ(r.w().progressTotalSeconds(), 42);  // the measurement estimate is shown
    EXPECT_FALSE(f.Panel1->isHidden());
    EXPECT_TRUE(r.w().accelerometerMode());
    EXPECT_FALSE(f.gbAx->isVisible());
    EXPECT_TRUE(f.btRd->isEnabled());
    EXPECT_EQ(f.btADXL->text(), QStringLiteral("ADXL"));

    r.statusReply(cmd::TypicalAccelPeriodTicks);
    EXPECT_EQ(r.acq().PacketsLeft(), 480);
    EXPECT_EQ(r.window->statusPanel(0)->text(), QStringLiteral("ПЕРЕДАЧА МАССИВА, 4с"));
    EXPECT_EQ(r.window->statusPanel(1)->text(), QStringLiteral("10322"));
    // The rebuilt list keeps the entry of the last start.
    EXPECT_EQ(r.w().rgAxItemIndex(), 3);
}

TEST(AccelWindow, ChannelYAloneRecordsTheFirstEntryInOneChannelTime)
{
    AccelRig r;
    Ui::MainWindow& f = r.f();
    f.rgAxItem5->setChecked(true);
    f.cbX->click();
    ASSERT_FALSE(f.cbX->isChecked());
    EXPECT_EQ(r.entries(), OneChannelAtStart);
    EXPECT_EQ(r.w().rgAxItemIndex(), 0);
    EXPECT_EQ(r.w().accelState().AccelChannels, 1);

    f.btAxGo->click();
    EXPECT_EQ(r.written(), QList<QByteArray>{QByteArray::fromHex("1ae002")});
    EXPECT_EQ(r.acq().MeasureTimeMs(), 21000.0);
    EXPECT_EQ(r.acq().TransferStatusText(), QStringLiteral("ПЕРЕДАЧА МАССИВА, 1с"));
}

TEST(AccelWindow, OneChannelAlwaysStaysChosen)
{
    AccelRig r;
    Ui::MainWindow& f = r.f();
    f.cbY->click();  // X alone
    f.rgAxItem2->setChecked(true);
    f.cbX->click();  // would leave none: Y takes over, one channel, first entry
    EXPECT_TRUE(f.cbY->isChecked());
    EXPECT_EQ(r.entries(), OneChannelAtStart);
    EXPECT_EQ(r.w().rgAxItemIndex(), 0);

    f.cbY->click();  // and the other way round
    EXPECT_TRUE(f.cbX->isChecked());
    EXPECT_FALSE(f.cbY->isChecked());
}

TEST(AccelWindow, ExternalTriggerStartTakesNoPeriodFromTheBoard)
{
    AccelRig r;
    r.f().btExtrn->click();
    ASSERT_EQ(r.w().triggerType(), 1);
    r.f().btAxGo->click();
    EXPECT_EQ(r.written(), QList<QByteArray>{QByteArray::fromHex("3ae003")});

    r.statusReply(14746);
    EXPECT_EQ(r.acq().recording().AccelPeriod, 0.0007);
    EXPECT_EQ(r.entries(), TwoChannelsAtStart);
    EXPECT_EQ(r.w().accelState().AccelBlockSeconds, 21);
    EXPECT_EQ(r.acq().PacketsLeft(), 120);  // the transfer itself goes on
}

TEST(AccelWindow, ReportedPeriodsRebuildTheListsAndTheBlockSeconds)
{
    AccelRig r;
    Ui::MainWindow& f = r.f();
    f.btAxGo->click();
    r.statusReply(10322);
    EXPECT_EQ(r.entries(), list({11, 21, 32, 42, 53, 63, 74, 84}));
    EXPECT_EQ(r.w().accelState().AccelBlockSeconds, 21);
    f.cbY->click();
    EXPECT_EQ(r.entries(), OneChannelAtStart);

    f.btAxGo->click();
    r.statusReply(14746);
    EXPECT_EQ(r.entries(), list({30, 60, 90, 120, 150, 180, 210, 240}));
    EXPECT_EQ(r.w().accelState().AccelBlockSeconds, 30);
    f.cbY->click();
    EXPECT_EQ(r.entries(), list({15, 30, 45, 60, 75, 90, 105, 120}));

    // The next start estimates with the reported period: 30 s a block, halved for two channels.
    f.rgAxItem1->setChecked(true);
    f.btAxGo->click();
    EXPECT_EQ(r.acq().MeasureTimeMs(), 30000.0);
}

TEST(AccelWindow, SignalReturnsToBlackAfterAChannelYPlot)
{
    AccelRig r;
    ChartView* c = r.f().Chart1;
    r.f().cbX->click();  // Y alone
    const QByteArray words = QByteArray::fromHex("10002000");
    r.acq().loadRecording({.SampleBuffer = words, .ModeCommand = QByteArray::fromHex("1ae002")});
    r.w().ShowChart(MainWindow::ChartOrigin::timRx);
    ASSERT_EQ(c->seriesColor(c->Series1()), c->seriesColor(c->Series2()));
    // The read-out steps by the accelerometer's sample spacing in the X unit (µs here).
    EXPECT_DOUBLE_EQ(r.w().chartState().ReadoutStep, 0.0007 * 1000000);

    r.acq().loadRecording({.SampleBuffer = words, .ModeCommand = QByteArray::fromHex("11e0")});
    r.w().ShowChart(MainWindow::ChartOrigin::timRx);
    EXPECT_EQ(c->seriesColor(c->Series1()), QColor(Qt::black));
}
