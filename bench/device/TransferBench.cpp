// Speed of reception: one packet decoded and stored, and arrays of one and eight blocks from
// cmdSendArray to the array taken (the last packet stored and the line found quiet after it),
// in-process, over a pseudo-terminal and paced at wire speed. The paced runs report the wire
// time of their packets and how far over it the transfer went.

#include "device/Acquisition.h"
#include "device/Commands.h"
#include "device/Decode.h"
#include "serial/ScriptedPort.h"
#include "serialport/QtSerialPort.h"
#include "sim/PtyBoardServer.h"
#include "sim/SimulatedPort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

using namespace korvel;

namespace {

void ensureApp()
{
    static int argc = 1;
    static char name[] = "korvel_device_bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

QByteArray samplePacket()
{
    QByteArray p(cmd::PacketBytes, '\0');
    for (int i = 0; i < cmd::PacketBytes; ++i)
        p[i] = static_cast<char>((i * 37 + 11) & 0xFF);
    return p;
}

void BM_ReorderPacketInPlace(benchmark::State& state)
{
    const QByteArray packet = samplePacket();
    char area[cmd::ReceiveAreaBytes];
    for (auto _ : state) {
        std::memcpy(area, packet.constData(), cmd::PacketBytes);
        ReorderPairsInPlace(area, cmd::PacketBytes);
        benchmark::DoNotOptimize(area);
    }
}
BENCHMARK(BM_ReorderPacketInPlace);

// The whole handler run for one packet: read, reorder, append, request the next one.
void BM_HandleOnePacket(benchmark::State& state)
{
    ensureApp();
    ScriptedPort port;
    port.open(QStringLiteral("bench"));
    Acquisition acq(port);
    acq.loadRecording({.ModeCommand = cmd::cmdStart07MHz(0), .BlockCount = 8});
    // The request goes out now, so the handler expects a packet (an unasked one is dropped).
    acq.GetData();
    acq.timSendCmdTimer();
    const QByteArray packet = samplePacket();
    for (auto _ : state) {
        if (acq.PacketsLeft() < 2) {
            state.PauseTiming();
            acq.GetData();
            acq.timSendCmdTimer();
            port.writes.clear();
            state.ResumeTiming();
        }
        port.incoming = packet;
        acq.timRxTimer();
    }
    benchmark::DoNotOptimize(acq.SampleBuffer().size());
}
BENCHMARK(BM_HandleOnePacket);

// The packets' bytes at 921600 baud, 11 bits a byte (8 data, odd parity, one stop bit).
double wireMs(int blocks)
{
    return blocks * cmd::PacketsPerBlock * cmd::PacketBytes * 11 * 1000.0 / cmd::LineBaudRate;
}

// From the array request to the array taken. A paced run also reports its wire time and how
// far over it the transfer went, in percent.
void runTransfer(benchmark::State& state, Acquisition& acq, int blocks = 8, bool paced = false)
{
    bool done = false;
    QObject::connect(&acq, &Acquisition::drawChart, [&] { done = true; });
    acq.loadRecording({.ModeCommand = cmd::cmdStart07MHz(0), .BlockCount = quint16(blocks)});
    QElapsedTimer clock;
    double totalMs = 0;
    for (auto _ : state) {
        done = false;
        clock.start();
        acq.GetData();
        acq.timSendCmd().stop();
        acq.timSendCmdTimer();
        while (!done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        totalMs += clock.nsecsElapsed() / 1e6;
        if (acq.SampleBuffer().size() != blocks * cmd::BlockBytes)
            state.SkipWithError("incomplete array");
    }
    if (paced && state.iterations() > 0) {
        state.counters["wire_ms"] = wireMs(blocks);
        state.counters["over_wire_pct"] = (totalMs / state.iterations() / wireMs(blocks) - 1) * 100;
    }
}

void BM_Transfer960InProcess(benchmark::State& state)
{
    ensureApp();
    SimOptions o;
    o.timeScale = 0;
    SimulatedPort port(o);
    port.open(QStringLiteral("simulated"));
    Acquisition acq(port);
    runTransfer(state, acq);
}
BENCHMARK(BM_Transfer960InProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Transfer960OverPty(benchmark::State& state)
{
    ensureApp();
    SimOptions o;
    o.timeScale = 0;
    PtyBoardServer server(o);
    if (!server.start()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    QtSerialPort port;
    port.open(server.devicePath());
    port.setLineParameters();
    port.setBaudRate(cmd::LineBaudRate);
    Acquisition acq(port);
    runTransfer(state, acq);
}
BENCHMARK(BM_Transfer960OverPty)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TransferThrottled(benchmark::State& state)
{
    ensureApp();
    SimOptions o;
    o.timeScale = 0;
    SimulatedPort port(o);
    port.setThrottle(true);
    port.open(QStringLiteral("simulated"));
    Acquisition acq(port);
    runTransfer(state, acq, int(state.range(0)), true);
}
BENCHMARK(BM_TransferThrottled)->ArgName("blocks")->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)
    ->UseRealTime()->Iterations(3);

void BM_TransferThrottledPty(benchmark::State& state)
{
    ensureApp();
    SimOptions o;
    o.timeScale = 0;
    PtyBoardServer server(o, true);
    if (!server.start()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    QtSerialPort port;
    port.open(server.devicePath());
    port.setLineParameters();
    port.setBaudRate(cmd::LineBaudRate);
    Acquisition acq(port);
    runTransfer(state, acq, int(state.range(0)), true);
}
BENCHMARK(BM_TransferThrottledPty)->ArgName("blocks")->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)
    ->UseRealTime()->Iterations(3);

}  // namespace
