// The receive handler fed arbitrary replies. The first byte picks the exchange the board is
// answering; the rest arrives in runs whose lengths the input also chooses, each run handled as
// the receive timer would handle it. Whenever the chart is drawn, the buffer holds no array or a
// whole one.
#include "ReceiveRig.h"
#include "device/Commands.h"
#include "device/ModeStarts.h"

#include <algorithm>
#include <cstdlib>

using namespace korvel;

namespace {

// The real-time cycle and the temperature button ask again for every reply.
void askAgain(Acquisition& a, quint8 selector)
{
    switch (selector % 7) {
    case 3:
    case 4:
        a.sendRealTimeRequest(selector % 7 == 4);
        break;
    case 5:
        a.requestTemperature();
        break;
    default:
        break;
    }
}

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
        a.timSendCmdTimer();
        break;
    case 2:  // array transfer of accelerometer data, kept as stored
        a.applyStart(StartADXL(0, 0, true, true, 21).start);
        a.GetData();
        a.timSendCmdTimer();
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

// Two full packets and change: enough for every step between replies. Longer runs only repeat
// them and slow the fuzzer down; whole transfers are fuzz_transfer's.
constexpr size_t InputBytesUsed = 1024;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size = std::min(size, InputBytesUsed);
    if (size == 0)
        return 0;
    fuzz::ReceiveRig& r = fuzz::Rig();
    r.reset();
    Acquisition& a = r.acq;
    enterState(a, data[0]);

    size_t at = 1;
    while (at < size) {
        if (at > 1)
            askAgain(a, data[0]);
        // A length byte, then that many reply bytes (a full packet when the byte is 0xFF).
        const size_t want = data[at] == 0xFF ? cmd::PacketBytes : data[at];
        ++at;
        const size_t take = std::min(want, size - at);
        r.port.feed(QByteArray::fromRawData(reinterpret_cast<const char*>(data + at),
                                            static_cast<qsizetype>(take)));
        at += take;
        a.timRxTimer();
        if (a.timSendCmd().isActive())
            a.timSendCmdTimer();
        // The line stays quiet after the last packet only when no more input follows.
        if (at >= size && a.trailingQuiet().isActive())
            a.trailingQuietTimer();
        if (r.draws > 0) {
            const qsizetype bytes = a.SampleBuffer().size();
            if (bytes != 0 && bytes != qsizetype(a.BlockCount()) * cmd::BlockBytes)
                std::abort();
            r.draws = 0;
        }
    }
    r.release();
    return 0;
}
