#include "device/Commands.h"
#include "device/Decode.h"
#include "sim/BoardSimulator.h"
#include "sim/WirePacing.h"
#include "support/Hex.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::cmd;
using korvel::testing::hex;

namespace {

SimOptions instant()
{
    SimOptions o;
    o.timeScale = 0;
    return o;
}
}  // namespace

TEST(BoardSimulator, SplitsAnUnframedStreamIntoCommands)
{
    BoardSimulator sim(instant());
    sim.receive(hex("29ff11"), 0);  // 0xFF is no command and is skipped
    sim.receive(hex("e0130001"), 0);
    sim.receive(hex("011503"), 0);
    EXPECT_EQ(sim.commands(), (QList<QByteArray>{hex("29"), hex("11e0"), hex("1300010115"), hex("03")}));
    EXPECT_EQ(sim.signalLineHigh(), std::optional<bool>(true));
    EXPECT_FALSE(sim.temperatureLineHigh().has_value());
    sim.receive(hex("0204"), 0);
    EXPECT_EQ(sim.temperatureLineHigh(), std::optional<bool>(false));
    EXPECT_EQ(sim.signalLineHigh(), std::optional<bool>(false));
}

TEST(BoardSimulator, StatusComesAfterTheModelledMeasurement)
{
    SimOptions o;
    o.timeScale = 1;
    BoardSimulator sim(o);
    const QList<SimOutput> out = sim.receive(cmdStart07MHz(0), 1000);
    ASSERT_EQ(out.size(), 1);
    EXPECT_EQ(out[0].bytes, hex("0b"));
    // 240000 samples of 21 ticks.
    EXPECT_EQ(out[0].readyAtUs, 1000 + qint64(240000 * 21 / 14.7456));

    o.timeScale = 0.5;
    BoardSimulator half(o);
    EXPECT_EQ(half.receive(cmdStartFT(0, 1, 1, 1), 0)[0].readyAtUs, qint64(30000 * 27 / 14.7456 * 0.5));
}

TEST(BoardSimulator, TriggeredStartsWaitForTheEdge)
{
    SimOptions o = instant();
    o.edgeDelayMs = -1;
    BoardSimulator sim(o);
    EXPECT_TRUE(sim.receive(cmdStart1MHz(1), 0).isEmpty());
    EXPECT_TRUE(sim.waitingForEdge());
    const QList<SimOutput> out = sim.fireEdge(500);
    ASSERT_EQ(out.size(), 1);
    EXPECT_EQ(out[0].bytes, hex("0b"));
    EXPECT_EQ(out[0].readyAtUs, 500);
    EXPECT_TRUE(sim.fireEdge(600).isEmpty());

    o.edgeDelayMs = 20;
    BoardSimulator later(o);
    EXPECT_EQ(later.receive(cmdStart07MHz(2), 0)[0].readyAtUs, 20000);
}

TEST(BoardSimulator, AccelerometerStatusCarriesThePeriod)
{
    BoardSimulator sim(instant());
    const QList<SimOutput> out = sim.receive(cmdStartADXL(0, 0, true, true), 0);
    ASSERT_EQ(out.size(), 1);
    EXPECT_EQ(out[0].bytes, hex("0a5228"));
    // Both channels: X and Y alternate, bit 15 marks X.
    const std::vector<quint16> words = sim.expectedWords(1);
    EXPECT_TRUE(words[0] & 0x8000);
    EXPECT_FALSE(words[1] & 0x8000);
    // The words travel as stored.
    const QByteArray packet = sim.receive(hex("80e0"), 0)[0].bytes;
    EXPECT_EQ(WordAt(packet.constData(), 0), words[0]);
    EXPECT_EQ(WordAt(packet.constData(), 2), words[1]);
}

TEST(BoardSimulator, PacketsCarryRawPairsOfTheMemory)
{
    BoardSimulator sim(instant());
    sim.receive(cmdStart1MHz(0), 0);
    const std::vector<quint16> words = sim.expectedWords(1);
    ASSERT_EQ(words.size(), 30000u);
    bool noiseSeen = false;
    for (int p = 0; p < 120; ++p) {
        QByteArray packet = sim.receive(p == 0 ? hex("80e0") : hex("81"), 0).value(0).bytes;
        ASSERT_EQ(packet.size(), PacketBytes);
        for (int i = 0; i < PacketPayload; i += 2)
            noiseSeen = noiseSeen || (packet[i] & 0x40);
        ReorderPairsInPlace(packet.data(), packet.size());
        for (int i = 0; i < PairsPerPacket; ++i)
            ASSERT_EQ(WordAt(packet.constData(), 2 * i), words[p * 250 + i]) << p << " " << i;
    }
    EXPECT_TRUE(noiseSeen);
    for (quint16 w : words)
        ASSERT_EQ(w & 0x1000, 0);
}

TEST(BoardSimulator, SignalIsDeterministicForASeedAndChangesWithIt)
{
    BoardSimulator a(instant()), b(instant());
    SimOptions other = instant();
    other.seed = 2;
    BoardSimulator c(other);
    for (BoardSimulator* s : {&a, &b, &c})
        s->receive(cmdStart1MHz(0), 0);
    EXPECT_EQ(a.expectedWords(1), b.expectedWords(1));
    EXPECT_NE(a.expectedWords(1), c.expectedWords(1));
    // The digital lines move, and the sine spans most of the range.
    const std::vector<quint16> w = a.expectedWords(1);
    int high13 = 0, lo = 4095, hi = 0;
    for (quint16 x : w) {
        high13 += (x >> 13) & 1;
        lo = std::min(lo, x & 0xFFF);
        hi = std::max(hi, x & 0xFFF);
    }
    EXPECT_GT(high13, 10000);
    EXPECT_LT(high13, 20000);
    EXPECT_LT(lo, 1000);
    EXPECT_GT(hi, 3000);
}

TEST(BoardSimulator, RealTimeAndTemperatureReplies)
{
    BoardSimulator sim(instant());
    EXPECT_EQ(sim.receive(cmdSample(), 0)[0].bytes.size(), 2);
    const QByteArray both = sim.receive(cmdSampleTemp(), 7000000)[0].bytes;
    ASSERT_EQ(both.size(), 4);
    EXPECT_EQ(WordAt(both.constData(), 0), sim.liveSampleWord(7000000));
    const QByteArray t = sim.receive(cmdTemperature(), 0)[0].bytes;
    ASSERT_EQ(t.size(), 2);
    EXPECT_DOUBLE_EQ(TemperatureCelsius(WordAt(t.constData(), 0)), 21.0);
}

TEST(BoardSimulator, FaultHooks)
{
    BoardSimulator sim(instant());
    sim.faults.dropPackets = {1};
    sim.faults.packetLengths = {{2, 101}};
    sim.faults.strayAfterStatus = hex("eeee");
    const QList<SimOutput> status = sim.receive(cmdStart1MHz(0), 0);
    ASSERT_EQ(status.size(), 2);
    EXPECT_EQ(status[1].bytes, hex("eeee"));
    EXPECT_EQ(sim.receive(hex("80e0"), 0).size(), 1);
    EXPECT_TRUE(sim.receive(hex("81"), 0).isEmpty());
    EXPECT_EQ(sim.receive(hex("81"), 0)[0].bytes.size(), 101);
    sim.faults.packetLengths = {{3, 502}};
    sim.faults.repeatPackets = {4};
    sim.faults.temperatureReplyBytes = 3;
    const QByteArray longer = sim.receive(hex("81"), 0)[0].bytes;
    ASSERT_EQ(longer.size(), 502);
    EXPECT_EQ(longer.back(), '\xee');
    const QList<SimOutput> twice = sim.receive(hex("81"), 0);
    ASSERT_EQ(twice.size(), 2);
    EXPECT_EQ(twice[0].bytes, twice[1].bytes);
    EXPECT_EQ(sim.receive(hex("1e"), 0)[0].bytes.size(), 3);
    sim.faults.silent = true;
    EXPECT_TRUE(sim.receive(hex("81"), 0).isEmpty());
    EXPECT_EQ(sim.commands().size(), 8);
}

TEST(WirePacing, ThrottledRepliesQueueBehindEachOtherOnTheLine)
{
    EXPECT_EQ(WirePacing::lineTimeUs(501), 5980);  // 5979.8 µs, rounded up
    WirePacing paced(true);
    paced.schedule({{0, QByteArray(501, 'a')}, {0, QByteArray(501, 'b')}});
    QByteArray got;
    EXPECT_FALSE(paced.takeDue(5979, &got));
    EXPECT_TRUE(paced.takeDue(5980, &got));
    EXPECT_EQ(got.front(), 'a');
    EXPECT_EQ(paced.nextAtUs(), 11960);

    WirePacing direct(false);
    direct.schedule({{100, "late"}, {0, "early"}});
    EXPECT_TRUE(direct.takeDue(50, &got));
    EXPECT_EQ(got, "early");
}
