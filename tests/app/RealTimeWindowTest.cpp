// The real-time mode in the window against a scripted port: the start and the stop, the writes
// of one polling cycle, and the output decisions taken from real replies. The timers are
// stepped by hand, so a cycle is whatever the test says it is.
#include "OpenDataFile.h"
#include "WindowRig.h"
#include "chartview/ChartView.h"
#include "chartview/SecondaryChartWindow.h"
#include "device/Commands.h"
#include "device/RealTimeCycle.h"
#include "serial/ScriptedPort.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

// A reply to 0x15: the sample word, then the sensor's word in sixteenths of a degree.
QByteArray sampleAndTemperature(quint16 word, double celsius)
{
    const auto t = static_cast<quint16>(static_cast<qint16>(celsius * 16));
    return cmd::bytes({static_cast<quint8>(word), static_cast<quint8>(word >> 8),
                       static_cast<quint8>(t), static_cast<quint8>(t >> 8)});
}

struct RealTimeRig : WindowRig {
    RealTimeRig() : WindowRig(WithTheSecondaryWindow(OnScriptedPortWithoutGreeting())) {}

    int points() { return chart().Series1()->dataCount(); }
    RealTimeCycle& chain() { return w().realTimeCycle(); }

    // One second of the chain: both output commands, then the request.
    void cycle()
    {
        chain().timSingleTimer();
        chain().timAfterSendCTL1Timer();
        chain().timAfterSendCTL2Timer();
    }
    // The board's answer, handled as the receive timer would.
    void reply(const QByteArray& bytes)
    {
        port->feed(bytes);
        acq().timRxTimer();
    }
    // A cycle answered at the given temperature; returns what the cycle wrote.
    QList<QByteArray> cycleAt(double celsius, quint16 word = 0x0800)
    {
        port->writes.clear();
        cycle();
        const QList<QByteArray> sent = written();
        reply(sampleAndTemperature(word, celsius));
        return sent;
    }
    QColor colourOf(QLabel* l) { return l->palette().color(QPalette::Window); }
    QString panel(int i) { return window->statusPanel(i)->text(); }
};

const QByteArray Req15 = cmd::cmdSampleTemp();
const QByteArray Req14 = cmd::cmdSample();

}  // namespace

TEST(RealTimeWindow, StartPreparesTheModeAndStopUndoesIt)
{
    RealTimeRig r;
    openDataFile(r.w(), r.dir.filePath(QStringLiteral("f.dtw")));  // file coefficients
    r.f().btADXL->click();  // the accelerometer mode
    r.window->move(40, 50);
    r.window->resize(800, 500);  // room under it on the screen for the secondary window
    r.f().gbAx->show();
    r.f().gbFT->show();
    r.f().btRd->setEnabled(true);
    r.f().btOptions->click();  // the options panel is open
    r.w().lbCtlPrmClick();
    r.f().eTOn->setText(QStringLiteral("20,5"));
    r.chart().SeriTermo()->addData(1, 1);
    r.secondary.SeriDgt2()->addData(1, 1);

    r.f().btSingle->click();
    Ui::MainWindow& f = r.f();
    EXPECT_FALSE(f.pnlA->isHidden());
    EXPECT_FALSE(f.pnlT->isHidden());
    EXPECT_TRUE(f.gbCtlPrm->isHidden());
    EXPECT_DOUBLE_EQ(r.w().controlThresholds().ThermoLevelOn, 20.5);  // thresholds frozen at the start
    EXPECT_TRUE(f.gbOptions->isHidden());
    EXPECT_TRUE(f.gbAx->isHidden());
    EXPECT_TRUE(f.gbFT->isHidden());
    EXPECT_FALSE(f.btRd->isEnabled());
    EXPECT_FALSE(r.w().accelerometerMode());
    EXPECT_FALSE(r.w().scaleState().CoefficientsFromFile);
    EXPECT_EQ(r.acq().SamplePeriod(), 1000000.0);
    EXPECT_TRUE(r.chart().rightAxis()->visible());
    EXPECT_EQ(r.chart().SeriTermo()->dataCount(), 0);
    EXPECT_EQ(r.secondary.SeriDgt2()->dataCount(), 0);
    EXPECT_EQ(r.secondary.frameGeometry().top(),
              r.window->frameGeometry().top() + r.window->frameGeometry().height());
    EXPECT_EQ(f.cbXscale->currentText(), QStringLiteral("с"));
    EXPECT_EQ(f.btSingle->text(), QStringLiteral("ЗАВЕРШИТЬ"));
    EXPECT_EQ(f.btSingle->palette().color(QPalette::ButtonText), QColor(Qt::red));
    EXPECT_TRUE(r.chain().timSingle.isActive());
    EXPECT_EQ(r.chain().timSingle.interval(), 10);
    EXPECT_EQ(r.acq().recording().RealTimeCount, 0);
    EXPECT_EQ(r.acq().recording().realTimeState, Recording::RealTimeState::AwaitingFirstReply);
    EXPECT_TRUE(r.written().isEmpty());  // nothing goes out before the first tick

    r.chain().timSingleTimer();
    EXPECT_EQ(r.chain().timSingle.interval(), 1000);
    EXPECT_TRUE(r.chain().timAfterSendCTL1.isActive());

    // Stopped between the output commands: the request still queued must not go out.
    f.btSingle->click();
    EXPECT_FALSE(r.chain().timSingle.isActive());
    EXPECT_FALSE(r.chain().timAfterSendCTL1.isActive());
    EXPECT_FALSE(r.chain().timAfterSendCTL2.isActive());
    EXPECT_TRUE(f.pnlA->isHidden());
    EXPECT_TRUE(f.pnlT->isHidden());
    EXPECT_TRUE(cmd::IsIdle(r.acq().PendingCommand()));
    EXPECT_EQ(f.btSingle->text(), QStringLiteral("В реальном времени"));
    EXPECT_NE(f.btSingle->palette().color(QPalette::ButtonText), QColor(Qt::red));
}

TEST(RealTimeWindow, AThresholdThatDoesNotConvertRefusesTheStart)
{
    RealTimeRig r;
    r.f().eAOff->setText(QStringLiteral("1.5"));  // a point, not the comma of this locale
    r.f().btSingle->click();
    ASSERT_EQ(r.messages.said.size(), 1);
    EXPECT_EQ(r.messages.said[0].kind, RecordingMessages::Kind::Error);
    EXPECT_TRUE(r.messages.said[0].text.contains(QStringLiteral("1.5")));
    EXPECT_FALSE(r.chain().timSingle.isActive());
    EXPECT_TRUE(r.f().pnlA->isHidden());
    EXPECT_TRUE(r.f().pnlT->isHidden());
    EXPECT_EQ(r.f().btSingle->text(), QStringLiteral("В реальном времени"));

    // Mended, the next press starts.
    r.f().eAOff->setText(QStringLiteral("1,5"));
    r.f().btSingle->click();
    EXPECT_TRUE(r.chain().timSingle.isActive());
}

TEST(RealTimeWindow, DefaultConditionsHoldBothLinesAndSendNothingForThem)
{
    RealTimeRig r;
    r.f().cbTermo->setChecked(true);
    r.f().btSingle->click();
    EXPECT_EQ(r.cycleAt(21), QList<QByteArray>{Req15});
    EXPECT_EQ(r.points(), 0);  // the first reply after the start is dropped, undecided
    EXPECT_TRUE(r.panel(2).isEmpty());

    EXPECT_EQ(r.cycleAt(21), QList<QByteArray>{Req15});
    EXPECT_EQ(r.points(), 1);
    EXPECT_EQ(r.colourOf(r.f().pnlT), QColor(Qt::yellow));
    EXPECT_EQ(r.colourOf(r.f().pnlA), QColor(Qt::yellow));
    EXPECT_EQ(r.f().pnlT->text(), QStringLiteral("T"));
    EXPECT_TRUE(r.chain().TOutCommand.isEmpty());
    EXPECT_TRUE(r.chain().AOutCommand.isEmpty());
    EXPECT_EQ(r.panel(2),
              QStringLiteral("если T°C>=155,0: на XP2/7 +5В, T°C<=-55,0: на XP2/7 0В"));
    EXPECT_EQ(r.panel(1), QStringLiteral(
                              "сигнал>=99999,0: на XP2/8 +5В, сигнал<=-99999,0: на XP2/8 0В"));
    EXPECT_EQ(r.cycleAt(21), QList<QByteArray>{Req15});
}

TEST(RealTimeWindow, TemperatureSwitchesTheLineBelowAndAboveAndHoldsBetween)
{
    RealTimeRig r;
    Ui::MainWindow& f = r.f();
    f.cbTermo->setChecked(true);
    f.cbTCondition1->setCurrentIndex(2);  // <
    f.eTOn->setText(QStringLiteral("20"));
    f.cbTLevel1->setCurrentIndex(1);      // +5В
    f.cbTCondition2->setCurrentIndex(0);  // >
    f.eTOff->setText(QStringLiteral("22"));
    f.cbTLevel2->setCurrentIndex(0);      // 0В
    f.btSingle->click();
    r.cycleAt(19);  // dropped

    r.cycleAt(19);
    EXPECT_EQ(f.pnlT->text(), QStringLiteral("T:+5В"));
    EXPECT_EQ(r.colourOf(f.pnlT), QColor(Qt::red));
    EXPECT_EQ(r.panel(2), QStringLiteral("если T°C<20: на XP2/7 +5В, T°C>22: на XP2/7 0В"));
    EXPECT_EQ(r.cycleAt(21), (QList<QByteArray>{cmd::cmdTOutHigh(), Req15}));

    // 21 °C lies between: the line keeps +5 V and the command keeps going out.
    EXPECT_EQ(f.pnlT->text(), QStringLiteral("T:+5В"));
    EXPECT_EQ(r.colourOf(f.pnlT), QColor(Qt::yellow));
    EXPECT_EQ(r.cycleAt(23), (QList<QByteArray>{cmd::cmdTOutHigh(), Req15}));

    EXPECT_EQ(f.pnlT->text(), QStringLiteral("T:0В"));
    EXPECT_EQ(r.colourOf(f.pnlT), QColor(Qt::blue));
    EXPECT_EQ(r.cycleAt(23), (QList<QByteArray>{cmd::cmdTOutLow(), Req15}));
    EXPECT_EQ(r.points(), 4);
}

TEST(RealTimeWindow, BandCaseSetsTheSecondLevelListAndTheSignalIsJudgedWithoutItsLineBits)
{
    RealTimeRig r;
    Ui::MainWindow& f = r.f();
    f.cbTermo->setChecked(true);
    f.cbTCondition1->setCurrentIndex(0);  // > 20 or < 30: +5В
    f.eTOn->setText(QStringLiteral("20"));
    f.cbTCondition2->setCurrentIndex(2);
    f.eTOff->setText(QStringLiteral("30"));
    f.btSingle->click();
    r.w().lbCtlPrmClick();
    f.eAOn->setText(QStringLiteral("2000"));  // ScaleK 1, no shift: 2000 ADC units
    f.btCloseCtlPrm->click();
    f.cbACondition1->setCurrentIndex(0);  // > 2000: +5В
    r.cycleAt(25);

    r.cycleAt(25, 0x2000 | 2001);
    EXPECT_EQ(f.cbTLevel2->currentIndex(), 1);
    EXPECT_EQ(r.panel(2), QStringLiteral("если T°C>20 или <30: на XP2/7 +5В"));
    EXPECT_EQ(f.pnlT->text(), QStringLiteral("T:+5В"));
    EXPECT_EQ(f.pnlA->text(), QStringLiteral("A:+5В"));
    EXPECT_EQ(r.cycleAt(31, 0xE000 | 1999),
              (QList<QByteArray>{cmd::cmdTOutHigh(), cmd::cmdAOutHigh(), Req15}));
    EXPECT_EQ(f.pnlT->text(), QStringLiteral("T:0В"));
    EXPECT_EQ(r.colourOf(f.pnlA), QColor(Qt::yellow));
}

TEST(RealTimeWindow, WithoutTheTemperatureNothingIsDecidedButTheLastCommandsStillGoOut)
{
    RealTimeRig r;
    Ui::MainWindow& f = r.f();
    f.cbTermo->setChecked(true);
    f.cbTCondition1->setCurrentIndex(2);
    f.eTOn->setText(QStringLiteral("20"));
    f.btSingle->click();
    r.cycleAt(19);
    r.cycleAt(19);
    ASSERT_EQ(r.chain().TOutCommand, cmd::cmdTOutHigh());
    const QString summary = r.panel(2);

    f.cbTermo->setChecked(false);
    r.port->writes.clear();
    r.cycle();
    EXPECT_EQ(r.written(), (QList<QByteArray>{cmd::cmdTOutHigh(), Req14}));
    EXPECT_EQ(r.acq().ModeCommand(), Req14);
    r.reply(QByteArray::fromHex("4001"));  // a two-byte sample reply
    EXPECT_EQ(r.points(), 2);
    EXPECT_EQ(r.chain().TOutCommand, cmd::cmdTOutHigh());
    EXPECT_EQ(f.pnlT->text(), QStringLiteral("T:+5В"));
    EXPECT_EQ(r.panel(2), summary);

    r.port->writes.clear();
    r.cycle();
    EXPECT_EQ(r.written(), (QList<QByteArray>{cmd::cmdTOutHigh(), Req14}));
}

TEST(RealTimeWindow, TheFirstReplyAfterEveryStartStaysOffTheChart)
{
    RealTimeRig r;
    r.f().cbTermo->setChecked(true);
    r.f().btSingle->click();
    r.cycleAt(21, 100);
    r.cycleAt(22, 200);
    r.cycleAt(23, 300);
    ASSERT_EQ(r.points(), 2);
    EXPECT_EQ(r.acq().recording().RealTimeSignal[0], 200);
    EXPECT_EQ(r.chart().SeriTermo()->dataCount(), 2);

    r.f().btSingle->click();
    r.f().btSingle->click();
    EXPECT_EQ(r.points(), 0);
    r.cycleAt(24, 400);
    EXPECT_EQ(r.points(), 0);
    EXPECT_EQ(r.chart().SeriTermo()->dataCount(), 0);
    r.cycleAt(25, 500);
    ASSERT_EQ(r.points(), 1);
    EXPECT_EQ(r.acq().recording().RealTimeSignal[0], 500);

}

TEST(RealTimeWindow, AFullRecordEndsTheModeWithAStatusText)
{
    RealTimeRig r;
    r.f().cbTermo->setChecked(true);
    r.f().btSingle->click();
    r.cycleAt(21);
    while (r.acq().recording().RealTimeCount < Acquisition::RealTimeCapacity)
        r.acq().countRealTimePoint();
    r.cycleAt(21);
    EXPECT_FALSE(r.chain().timSingle.isActive());
    EXPECT_TRUE(r.f().pnlT->isHidden());
    EXPECT_EQ(r.f().btSingle->text(), QStringLiteral("В реальном времени"));
    EXPECT_TRUE(r.panel(0).contains(QStringLiteral("65536")));
}

TEST(RealTimeWindow, TheSecondaryWindowFollowsTheMainWindowAsAtTheStart)
{
    RealTimeRig r;
    r.window->move(40, 50);
    r.window->resize(700, 400);
    r.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(r.window.get()));
    r.f().cbDgt1->setChecked(true);
    r.f().cbTermo->setChecked(true);
    r.f().btSingle->click();
    r.cycleAt(21);
    r.cycleAt(21);
    ASSERT_TRUE(r.secondary.isVisible());

    auto hangsUnder = [&] {
        QApplication::processEvents();
        const QRect main = r.window->frameGeometry();
        const QRect second = r.secondary.frameGeometry();
        EXPECT_EQ(second.top(), main.top() + main.height());
        EXPECT_EQ(second.left(), main.left());
        EXPECT_EQ(second.width(), main.width());
    };
    hangsUnder();
    r.window->move(120, 30);
    hangsUnder();
    r.window->resize(760, 360);
    hangsUnder();
}

TEST(RealTimeWindow, ARunOrALoadClearsTheStatusTextsOfTheRunBefore)
{
    RealTimeRig r;
    auto accelerometerRun = [&] {
        r.f().btADXL->click();
        r.f().btAxGo->click();
        r.reply(cmd::bytes({cmd::StatusReadyAccel, 0x52, 0x28}));  // 10322 ticks
        ASSERT_EQ(r.panel(1), QStringLiteral("10322"));
        r.w().btCancelRunClick();
    };

    accelerometerRun();
    r.f().btStartFExtrn->click();
    EXPECT_EQ(r.panel(1).toStdString(), "") << "a later start";
    r.w().btCancelRunClick();

    accelerometerRun();
    r.f().btRd->click();
    EXPECT_EQ(r.panel(1).toStdString(), "") << "Read";
    r.w().btCancelRunClick();

    accelerometerRun();
    openDataFile(r.w(), r.dir.filePath(QStringLiteral("f.dtw")));
    EXPECT_EQ(r.panel(1).toStdString(), "") << "a file load";

    // The real-time summaries go with their run, too.
    r.f().cbTermo->setChecked(true);
    r.f().btSingle->click();
    r.cycleAt(21);
    r.cycleAt(21);
    ASSERT_TRUE(r.panel(1).contains(QStringLiteral("XP2/8")));
    ASSERT_TRUE(r.panel(2).contains(QStringLiteral("XP2/7")));
    r.f().btSingle->click();
    r.f().bt1MHz->click();
    EXPECT_EQ(r.panel(1).toStdString(), "") << "an ordinary measurement";
    EXPECT_EQ(r.panel(2).toStdString(), "") << "an ordinary measurement";
}

TEST(RealTimeWindow, LostPointsAreCountedInTheStatusWhileRunningAndAtTheStop)
{
    RealTimeRig r;
    r.f().cbTermo->setChecked(true);
    r.f().btSingle->click();
    r.cycleAt(21, 100);  // the first reply, dropped by design: not a loss
    r.cycleAt(22, 200);
    r.cycle();
    r.reply(QByteArray("\x01\x02\x03", 3));  // noise cut the reply short
    r.cycle();  // no reply at all before the next request
    r.cycleAt(23, 300);
    EXPECT_EQ(r.points(), 2);
    EXPECT_EQ(r.acq().lostRealTimePoints(), 2);
    EXPECT_EQ(r.panel(0), QStringLiteral("ПОТЕРЯНО ТОЧЕК: 2"));

    r.f().btSingle->click();
    EXPECT_EQ(r.panel(0), QStringLiteral("ОСТАНОВЛЕНО, ПОТЕРЯНО ТОЧЕК: 2"));

    // A new run counts afresh.
    r.f().btSingle->click();
    r.cycleAt(24, 400);
    r.cycleAt(25, 500);
    EXPECT_EQ(r.acq().lostRealTimePoints(), 0);
}
