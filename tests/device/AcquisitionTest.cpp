#include "device/Acquisition.h"
#include "device/Commands.h"
#include "device/Decode.h"
#include "serial/ScriptedPort.h"
#include "support/EventLoopWait.h"
#include "support/Hex.h"

#include <QCoreApplication>
#include <QProperty>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::cmd;
using korvel::testing::hex;
using korvel::testing::WaitUntil;

namespace {

// A packet of 250 raw pairs carrying words first, first+1, ... and an unused last byte.
QByteArray packetOf(quint16 first, bool raw = true)
{
    QByteArray p(PacketBytes, '\x5A');
    for (int i = 0; i < PairsPerPacket; ++i) {
        const auto w = static_cast<quint16>((first + i) & 0xEFFF);
        quint8 L = 0, H = 0;
        if (raw) {
            EncodePair(w, i % 3 == 0, &L, &H);
        } else {
            L = static_cast<quint8>(w & 0xFF);
            H = static_cast<quint8>(w >> 8);
        }
        p[2 * i] = static_cast<char>(L);
        p[2 * i + 1] = static_cast<char>(H);
    }
    return p;
}

struct Rig {
    ScriptedPort port;
    Acquisition acq{port, nullptr, AcquisitionIntervals{5, 5}};
    QStringList panel[3];
    int draws = 0;

    Rig()
    {
        port.open("COM5");
        // As the window's status panels show them.
        QObject::connect(&acq, &Acquisition::stageText, [this](const QString& t) { panel[0] << t; });
        QObject::connect(&acq, &Acquisition::accelPeriodReported,
                         [this](int ticks) { panel[1] << QString::number(ticks); });
        for (auto s : {&Acquisition::receivedText, &Acquisition::temperatureRead})
            QObject::connect(&acq, s, [this](const QString& t) { panel[2] << t; });
        QObject::connect(&acq, &Acquisition::drawChart, [this] { ++draws; });
        acq.setDateTimeSource([] { return QStringLiteral("06.12.2026 19:58:23"); });
    }

    void start(const ModeStart& s)
    {
        acq.applyStart(s);
        acq.BeginAcquisition();
    }

    // Answers every array request with the next packet until the transfer is done, then lets
    // the line stay quiet after the last one.
    int servePackets()
    {
        int served = 0;
        const int expected = acq.PacketsLeft();
        while (served < expected && acq.PacketsLeft() > 0 && FirstByte(acq.PendingCommand()) >= 0x80) {
            port.feed(packetOf(static_cast<quint16>(served * PairsPerPacket)));
            ++served;
        }
        if (acq.PacketsLeft() == 0 && acq.trailingQuiet().isActive())
            acq.trailingQuietTimer();
        return served;
    }
};

}  // namespace

TEST(Acquisition, OneBlockRunFromStatusReplyToFullBuffer)
{
    Rig r;
    r.start(Start1MHz(0));
    EXPECT_EQ(r.port.writtenCommands(), QList<QByteArray>{hex("11e0")});
    EXPECT_EQ(r.panel[0].last(), QStringLiteral("ИЗМЕРЕНИЕ"));

    // A short status reply waits for timRx.
    r.port.feed(hex("0b"));
    EXPECT_TRUE(r.acq.timRx().isActive());
    ASSERT_TRUE(WaitUntil([&] { return r.acq.PacketsLeft() == 120; }));
    EXPECT_EQ(r.port.purges, 1);
    EXPECT_EQ(r.panel[0].last(), QStringLiteral("ПЕРЕДАЧА МАССИВА, 1с"));
    EXPECT_EQ(r.panel[2].last(), "0");
    EXPECT_EQ(r.draws, 0);

    // The array request is deferred, never written from the handler itself.
    EXPECT_EQ(r.port.writes.size(), 1);
    ASSERT_TRUE(WaitUntil([&] { return r.port.writes.size() == 2; }));
    EXPECT_EQ(r.port.writes.last().bytes, hex("80e0"));

    EXPECT_EQ(r.servePackets(), 120);
    EXPECT_EQ(r.acq.SampleBuffer().size(), 60000);
    EXPECT_EQ(r.draws, 1);
    EXPECT_EQ(r.port.writes.size(), 2 + 119);
    EXPECT_EQ(r.port.writes.last().bytes, hex("81"));
    for (int i = 0; i < 30000; i += 997)
        ASSERT_EQ(WordAt(r.acq.SampleBuffer().constData(), 2 * i), i & 0xEFFF) << i;

    r.acq.ShowChartFinished();
    EXPECT_TRUE(IsIdle(r.acq.PendingCommand()));
}

TEST(Acquisition, EightBlocksTake960Packets)
{
    Rig r;
    r.start(Start07MHz(0));
    r.acq.timRx().stop();
    r.port.incoming = hex("0b");
    r.acq.timRxTimer();
    EXPECT_EQ(r.acq.PacketsLeft(), 960);
    r.acq.timSendCmdTimer();
    EXPECT_EQ(r.port.writes.last().bytes, hex("8000"));
    EXPECT_EQ(r.servePackets(), 960);
    EXPECT_EQ(r.acq.SampleBuffer().size(), 480000);
    EXPECT_EQ(WordAt(r.acq.SampleBuffer().constData(), 2 * 239999), 239999 & 0xEFFF);
}

TEST(Acquisition, ReplyOfAnotherLengthHasTheArrayReadAgainTwiceThenEndsTheTransfer)
{
    const QByteArray previous(60000, '\x44');
    const QByteArray eighth = packetOf(7 * PairsPerPacket);
    const QByteArray last = packetOf(119 * PairsPerPacket);
    struct Case {
        int before;        // good packets ahead of the reply
        QByteArray reply;  // one run on the line
        int spoiled;       // attempts that get it
        const char* message;
    };
    const Case cases[] = {
        {7, eighth + '\xee', 1, nullptr},
        {7, eighth + '\xee', 3, "Ошибка передачи: пакет 8 из 120, получено 502 байта"},
        {7, eighth.left(500), 3, "Ошибка передачи: пакет 8 из 120, получено 500 байт"},
        {7, eighth + eighth, 3, "Ошибка передачи: пакет 8 из 120, получено 1002 байта"},
        {7, QByteArray(600, '\0'), 3, "Ошибка передачи: пакет 8 из 120, получено 600 байт"},
        // The last packet sent twice: the second one finds the array complete.
        {120, last, 3, "Ошибка передачи: пакет 120 из 120, получено 1002 байта"},
    };
    for (const Case& c : cases) {
        Rig r;
        QSignalSpy failed(&r.acq, &Acquisition::transferFailed);
        r.acq.loadRecording({.SampleBuffer = previous});
        r.start(Start1MHz(0));
        r.acq.GetData();
        for (int attempt = 0; failed.count() == 0 && r.draws == 0; ++attempt) {
            ASSERT_LT(attempt, 3);
            ASSERT_TRUE(r.acq.timSendCmd().isActive());
            r.acq.timSendCmdTimer();
            if (attempt >= c.spoiled) {
                r.servePackets();
                continue;
            }
            for (int k = 0; k < c.before; ++k)
                r.port.feed(packetOf(static_cast<quint16>(k * PairsPerPacket)));
            r.port.feed(c.reply);
            if (r.acq.timRx().isActive())
                r.acq.timRxTimer();
        }
        const int requests = r.port.writtenCommands().count(hex("80e0"));
        EXPECT_FALSE(r.acq.timRx().isActive());
        EXPECT_FALSE(r.acq.timSendCmd().isActive());
        if (!c.message) {
            EXPECT_EQ(requests, 2);
            EXPECT_EQ(r.draws, 1);
            ASSERT_EQ(r.acq.SampleBuffer().size(), 60000);
            EXPECT_EQ(WordAt(r.acq.SampleBuffer().constData(), 2 * 29999), 29999 & 0xEFFF);
            continue;
        }
        EXPECT_EQ(requests, 3) << c.message;
        EXPECT_EQ(r.draws, 0) << c.message;
        ASSERT_EQ(failed.count(), 1) << c.message;
        EXPECT_EQ(failed.at(0).at(0).toString(), QString::fromUtf8(c.message));
        EXPECT_EQ(r.acq.SampleBuffer(), previous) << c.message;
        EXPECT_TRUE(IsIdle(r.acq.PendingCommand()));
    }
}

TEST(Acquisition, NothingWaitingChangesNeitherBufferNorCount)
{
    Rig r;
    r.start(Start1MHz(0));
    r.acq.GetData();
    r.acq.timSendCmdTimer();
    r.port.feed(packetOf(0));
    const int writes = r.port.writes.size();
    r.acq.timRxTimer();
    EXPECT_EQ(r.acq.PacketsLeft(), 119);
    EXPECT_EQ(r.acq.SampleBuffer().size(), 500);
    EXPECT_EQ(r.port.writes.size(), writes);

    // Nor does it end a status exchange.
    r.start(Start1MHz(0));
    r.acq.timRxTimer();
    EXPECT_EQ(r.acq.PacketsLeft(), 1);
    EXPECT_EQ(r.draws, 0);
}

TEST(Acquisition, OtherStatusByteRedrawsTheUnchangedBuffer)
{
    Rig r;
    r.acq.loadRecording({.SampleBuffer = QByteArray(60000, '\x11')});
    r.start(Start1MHz(0));
    QSignalSpy flags(&r.acq, &Acquisition::chartFlagsReset);
    r.port.incoming = hex("07");
    r.acq.timRxTimer();
    EXPECT_EQ(r.acq.PacketsLeft(), 0);
    EXPECT_EQ(r.draws, 1);
    EXPECT_EQ(flags.count(), 1);
    EXPECT_EQ(r.acq.SampleBuffer(), QByteArray(60000, '\x11'));
    EXPECT_FALSE(r.acq.timSendCmd().isActive());
}

TEST(Acquisition, AccelerometerWithoutTriggerKeepsWordsAndTakesThePeriod)
{
    Rig r;
    r.start(StartADXL(0, 0, true, true, 21).start);
    QSignalSpy period(&r.acq, &Acquisition::accelPeriodReported);
    r.port.incoming = hex("0a5228");  // 0x2852 = 10322 ticks
    r.acq.timRxTimer();
    EXPECT_EQ(r.acq.AccelPeriodTicks(), 10322);
    EXPECT_DOUBLE_EQ(r.acq.recording().AccelPeriod, 10322 / 14745600.0);
    EXPECT_EQ(period.count(), 1);
    EXPECT_EQ(r.panel[1].last(), "10322");
    EXPECT_EQ(r.acq.PacketsLeft(), 120);
    r.acq.timSendCmdTimer();
    r.port.feed(packetOf(0x8000, false));
    EXPECT_EQ(WordAt(r.acq.SampleBuffer().constData(), 0), 0x8000);
    EXPECT_EQ(WordAt(r.acq.SampleBuffer().constData(), 2), 0x8001);
}

TEST(Acquisition, AccelerometerWithTriggerReordersAndTakesNoPeriod)
{
    Rig r;
    r.start(StartADXL(1, 0, true, true, 21).start);
    QSignalSpy period(&r.acq, &Acquisition::accelPeriodReported);
    r.port.incoming = hex("0a5228");
    r.acq.timRxTimer();
    EXPECT_EQ(period.count(), 0);
    EXPECT_EQ(r.acq.recording().AccelPeriod, 0.0007);
    EXPECT_EQ(r.acq.PacketsLeft(), 120);
    r.acq.timSendCmdTimer();
    r.port.feed(packetOf(0x8000, true));
    EXPECT_EQ(WordAt(r.acq.SampleBuffer().constData(), 2), 0x8001);
}

TEST(Acquisition, ReadBeforeAnyStartFetchesAllEightBlocks)
{
    Rig r;
    r.acq.Read();
    EXPECT_EQ(r.acq.PacketsLeft(), 960);
    EXPECT_EQ(r.acq.TransferTimeMs(), 6000);
    r.acq.timSendCmdTimer();
    EXPECT_EQ(r.port.writes.last().bytes, hex("8000"));
}

TEST(Acquisition, ReadAfterOneMegahertzStartAsksForItsBlock)
{
    Rig r;
    r.start(Start1MHz(0));
    r.acq.Read();
    EXPECT_EQ(r.acq.PacketsLeft(), 120);
    EXPECT_EQ(r.panel[0].last(), QStringLiteral("ПЕРЕДАЧА МАССИВА, 1с"));
    r.acq.timSendCmdTimer();
    EXPECT_EQ(r.port.writes.last().bytes, hex("80e0"));
}

TEST(Acquisition, ReadWithNoBlocksLeftByALoadedRecordingStillEnds)
{
    // After a real-time recording with the temperature, or a temperature reading, the replies
    // to the array request are still packets.
    for (const char* mode : {"15", "1e"}) {
        Rig r;
        r.acq.loadRecording({.ModeCommand = hex(mode), .BlockCount = 0});
        r.acq.Read();
        EXPECT_EQ(r.acq.PacketsLeft(), 960);
        r.acq.timSendCmdTimer();
        EXPECT_EQ(r.servePackets(), 960);
        EXPECT_EQ(r.acq.PacketsLeft(), 0) << mode;
        EXPECT_EQ(r.draws, 1) << mode;
        EXPECT_EQ(r.acq.SampleBuffer().size(), 480000) << mode;
    }
}

TEST(Acquisition, ArrayRequestAskedForAgainKeepsItsFirstStart)
{
    Rig r;
    r.start(Start1MHz(0));
    r.acq.GetData();
    int changes = 0;
    const QPropertyNotifier watch =
        r.acq.timSendCmd().bindableActive().addNotifier([&] { ++changes; });
    r.acq.Read();  // a restart would stop the timer and start it again
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(r.acq.timSendCmd().isActive());
}

TEST(Acquisition, NewStartCancelsADeferredArrayRequest)
{
    Rig r;
    r.start(Start1MHz(0));
    r.acq.GetData();
    r.start(Start07MHz(0));
    EXPECT_FALSE(r.acq.timSendCmd().isActive());
    QCoreApplication::processEvents();
    EXPECT_EQ(r.port.writtenCommands(), (QList<QByteArray>{hex("11e0"), hex("1200")}));
}

TEST(Acquisition, TemperatureReplies)
{
    Rig r;
    r.acq.clearPending();
    r.acq.requestTemperature();
    EXPECT_EQ(r.port.writes.last().bytes, hex("1e"));
    EXPECT_TRUE(IsIdle(r.acq.PendingCommand()));
    const char* words[] = {"9101", "5eff", "5000"};
    const char* texts[] = {"25,1", "-10,1", " 5,0"};
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            r.acq.requestTemperature();
        r.port.incoming = hex(words[i]);
        r.acq.timRxTimer();
        EXPECT_EQ(r.panel[2].last(), QString::fromUtf8(texts[i]) +
                                         QStringLiteral(" градусов на 06.12.2026 19:58:23"));
    }
    const int shown = r.panel[2].size();
    r.acq.timRxTimer();  // nothing arrived: nothing to show
    EXPECT_EQ(r.panel[2].size(), shown);
}

TEST(Acquisition, RealTimeDropsTheFirstReplyAndStoresQuarterDegrees)
{
    Rig r;
    QSignalSpy replies(&r.acq, &Acquisition::realTimeReply);
    QSignalSpy readout(&r.acq, &Acquisition::readoutOff);
    r.acq.beginRealTimeRecord();
    r.acq.sendRealTimeRequest(true);
    EXPECT_EQ(r.port.writes.last().bytes, hex("15"));
    r.port.incoming = hex("abcd5eff");
    r.acq.timRxTimer();
    EXPECT_EQ(r.acq.recording().RealTimeCount, 0);
    EXPECT_EQ(r.acq.recording().realTimeState, Recording::RealTimeState::Counting);
    EXPECT_EQ(replies.count(), 0);

    r.acq.sendRealTimeRequest(true);
    r.port.incoming = hex("ab");  // not four bytes: ignored
    r.acq.timRxTimer();
    r.acq.sendRealTimeRequest(true);
    r.port.incoming = hex("bf0a5eff");
    r.acq.timRxTimer();
    ASSERT_EQ(replies.count(), 1);
    EXPECT_TRUE(replies.at(0).at(0).toBool());
    EXPECT_EQ(r.acq.recording().RealTimeSignal[0], 0x0ABF);
    EXPECT_EQ(r.acq.recording().RealTimeTemperature[0], -41);
    EXPECT_DOUBLE_EQ(r.acq.CurrentTemperature(), -10.25);
    EXPECT_DOUBLE_EQ(r.acq.CurrentSignal(), 0xABF);
    EXPECT_EQ(readout.count(), 3);

    // Without the temperature.
    r.acq.beginRealTimeRecord();
    r.acq.sendRealTimeRequest(false);
    r.port.incoming = hex("0100");
    r.acq.timRxTimer();
    r.acq.sendRealTimeRequest(false);
    r.port.incoming = hex("02e0");
    r.acq.timRxTimer();
    EXPECT_EQ(r.acq.recording().RealTimeSignal[0], 0xE002);
    EXPECT_EQ(r.acq.recording().RealTimeTemperature[0], -41);
    EXPECT_EQ(replies.count(), 2);
    EXPECT_FALSE(replies.at(1).at(0).toBool());
}

TEST(Acquisition, ReplyOfAnotherLengthThanItsRequestIsIgnoredAndCounted)
{
    Rig r;
    QSignalSpy replies(&r.acq, &Acquisition::realTimeReply);
    r.acq.requestTemperature();
    r.port.incoming = hex("910100");  // three bytes: 1729,4 °C if taken
    r.acq.timRxTimer();
    EXPECT_TRUE(r.panel[2].isEmpty());

    for (const char* reply : {"bf0a5eff00", "bf0a5e"}) {
        r.acq.sendRealTimeRequest(true);
        r.port.incoming = hex(reply);
        r.acq.timRxTimer();
    }
    for (const char* reply : {"02e000", "02"}) {
        r.acq.sendRealTimeRequest(false);
        r.port.incoming = hex(reply);
        r.acq.timRxTimer();
    }
    EXPECT_EQ(replies.count(), 0);
    EXPECT_EQ(r.acq.lineErrors(), 5u);
}

TEST(Acquisition, BytesNobodyAskedForAreDroppedAsTheyCome)
{
    Rig r;
    r.acq.requestTemperature();
    r.port.feed(hex("9101"));
    r.acq.timRxTimer();
    r.port.feed(QByteArray(2000, '\x0b'));  // a babbling line after the reading
    EXPECT_EQ(r.port.bytesWaiting(), 0);
    EXPECT_FALSE(r.acq.timRx().isActive());

    // None of it is taken for the status of the next start.
    r.start(Start1MHz(0));
    r.acq.timRxTimer();
    EXPECT_EQ(r.acq.PacketsLeft(), 1);
    EXPECT_EQ(r.panel[2].size(), 2);  // the reading, then the start's blank
}

TEST(Acquisition, FullRealTimeRecordStopsStoring)
{
    Rig r;
    QSignalSpy full(&r.acq, &Acquisition::realTimeRecordFull);
    QSignalSpy replies(&r.acq, &Acquisition::realTimeReply);
    r.acq.sendRealTimeRequest(true);
    while (r.acq.recording().RealTimeCount < Acquisition::RealTimeCapacity - 1)
        r.acq.countRealTimePoint();
    r.port.incoming = hex("01000400");
    r.acq.timRxTimer();
    EXPECT_EQ(replies.count(), 1);
    EXPECT_EQ(r.acq.recording().RealTimeSignal.back(), 1);
    r.acq.countRealTimePoint();  // the chart added the point
    r.acq.sendRealTimeRequest(true);
    r.port.incoming = hex("02000400");
    r.acq.timRxTimer();
    EXPECT_EQ(replies.count(), 1);
    EXPECT_EQ(full.count(), 1);
    EXPECT_EQ(r.acq.recording().RealTimeSignal.size(), size_t(Acquisition::RealTimeCapacity));
}
