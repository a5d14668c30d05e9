// The receive handler fed arbitrary replies. The first byte picks the exchange the board is
// answering; the rest arrives in runs whose lengths the input also chooses, each run handled as
// the receive timer would handle it.
#include "FuzzSupport.h"
#include "device/Acquisition.h"
#include "device/Commands.h"
#include "device/ModeStarts.h"
#include "serial/ScriptedPort.h"

#include <algorithm>
#include <cstdlib>

using namespace korvel;

namespace {

void enterState(Acquisition& a, quint8 selector)
{
    switch (selector % 7) {
    case 0:  // waiting for the status of an ordinary start
        a.applyStart(Start1MHz(0));
        a.BeginAcquisition();
        break;
    case 1:  // array transfer of one block
        a.applyStart(Start1MHz(0));
        a.GetData();
        break;
    case 2:  // array transfer of eight blocks, accelerometer data kept as stored
        a.applyStart(StartADXL(0, 0, true, true, 21).start);
        a.GetData();
        break;
    case 3:  // real time, signal only
        a.beginRealTimeRecord();
        a.sendRealTimeRequest(false);
        break;
    case 4:  // real time with the temperature
        a.beginRealTimeRecord();
        a.sendRealTimeRequest(true);
        break;
    case 5:  // one temperature reading
        a.requestTemperature();
        break;
    default:  // the accelerometer's status, which carries its period
        a.applyStart(StartADXL(selector & 0x10 ? 1 : 0, 0, true, true, 21).start);
        a.BeginAcquisition();
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::EnsureApplication();
    if (size == 0)
        return 0;
    ScriptedPort port;
    port.open(QStringLiteral("fuzz"));
    Acquisition a(port, nullptr, AcquisitionIntervals{1, 1});
    a.setDateTimeSource([] { return QStringLiteral("01.01.2026 00:00:00"); });
    a.setTickSource([] { return 0u; });
    bool draw = false;
    QObject::connect(&a, &Acquisition::drawChart, [&draw] { draw = true; });
    QObject::connect(&a, &Acquisition::realTimeReply, [&a](bool) { ++a.RealTimeCount; });
    enterState(a, data[0]);

    size_t at = 1;
    while (at < size) {
        // A length byte, then that many reply bytes (a full packet when the byte is 0xFF).
        const size_t want = data[at] == 0xFF ? cmd::PacketBytes : data[at];
        ++at;
        const size_t take = std::min(want, size - at);
        port.feed(fuzz::Bytes(data + at, take));
        at += take;
        a.timRxTimer();
        if (a.SampleBuffer.size() > 8 * 120 * (cmd::ReceiveAreaBytes - 1))
            std::abort();
        if (draw) {
            draw = false;
            a.ShowChartFinished();
        }
    }
    return 0;
}
