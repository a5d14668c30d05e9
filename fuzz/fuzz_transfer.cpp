// Whole measurements against a board whose line the input spoils: the start, the status reply
// and every packet of every attempt. In each attempt one packet may come longer or shorter than
// 501 bytes, twice, behind stray bytes, or not at all, and the user may cancel or press "Read"
// there; all replies may arrive in pieces of a size the input chooses. However it goes, the
// program ends with exactly the board's array drawn, or with the array it had before and no
// drawing.
//
// One fault per attempt: two faults whose lengths cancel out, each cut by the line exactly at
// a packet's end, cannot be told from good packets, since the packets carry no framing.
#include "ReceiveRig.h"
#include "device/Commands.h"
#include "device/Decode.h"
#include "device/ModeStarts.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <fuzzer/FuzzedDataProvider.h>
#include <random>
#include <utility>

using namespace korvel;
using namespace korvel::cmd;

namespace {

constexpr int Packets = MaxBlocks * PacketsPerBlock;

// The board's memory as the host must end up with it, and as it travels: ADC words go as raw
// pairs, accelerometer words as stored.
struct Memory {
    QByteArray words;
    QByteArray adcPackets;
    QByteArray accelPackets;
};

const Memory& memory()
{
    static const Memory m = [] {
        Memory m;
        std::mt19937 noise(7);
        m.words.resize(MaxBlocks * BlockBytes);
        m.adcPackets.resize(Packets * PacketBytes);
        m.accelPackets.resize(Packets * PacketBytes);
        auto* w = reinterpret_cast<quint8*>(m.words.data());
        auto* adc = reinterpret_cast<quint8*>(m.adcPackets.data());
        auto* accel = reinterpret_cast<quint8*>(m.accelPackets.data());
        for (int p = 0; p < Packets; ++p) {
            for (int i = 0; i < PairsPerPacket; ++i) {
                const auto word = static_cast<quint16>(noise() & 0xEFFF);
                const int at = p * PacketPayload + 2 * i;
                w[at] = static_cast<quint8>(word);
                w[at + 1] = static_cast<quint8>(word >> 8);
                const int on = p * PacketBytes + 2 * i;
                EncodePair(word, noise() & 1, &adc[on], &adc[on + 1]);
                accel[on] = w[at];
                accel[on + 1] = w[at + 1];
            }
            adc[p * PacketBytes + PacketPayload] = static_cast<quint8>(noise());
            accel[p * PacketBytes + PacketPayload] = static_cast<quint8>(noise());
        }
        return m;
    }();
    return m;
}

const QByteArray& previousArray()
{
    static const QByteArray a(BlockBytes, '\x5a');
    return a;
}

enum class Fault { None, Length, Twice, StrayBefore, Missing, Cancel, Read, kMaxValue = Read };

// What one attempt does to the line, chosen when its first packet is asked for.
struct Attempt {
    int packet = -1;
    Fault fault = Fault::None;
    int amount = 0;
};

class Board {
public:
    Board(FuzzedDataProvider& in, bool accel, int blocks)
        : in_(in), packets_(accel ? memory().accelPackets : memory().adcPackets),
          accel_(accel), transferPackets_(blocks * PacketsPerBlock)
    {
        // Whole replies, or pieces of 100 bytes and more (smaller ones change nothing but speed).
        chunk_ = in_.ConsumeIntegralInRange(0, 600);
        if (chunk_ < 100)
            chunk_ = 0;
    }

    void take(const QByteArray& command)
    {
        const auto b0 = static_cast<quint8>(command.at(0));
        if (b0 == cmdSendArrayByte) {
            next_ = 0;
            attempt_ = {in_.ConsumeIntegralInRange(0, transferPackets_ - 1), in_.ConsumeEnum<Fault>(),
                        in_.ConsumeIntegralInRange(0, 1100)};
            sendPacket();
        } else if (b0 == cmdNextPacketByte) {
            ++next_;
            sendPacket();
        } else {  // the start: ready at once, perhaps with noise behind the status
            QByteArray status = accel_ ? bytes({StatusReadyAccel, 0x52, 0x28}) : bytes({StatusReady});
            status += QByteArray(in_.ConsumeIntegralInRange(0, 40), '\xee');
            out_.push_back(status);
        }
    }

    // Hands what the board has sent to the port in pieces of the chosen size.
    bool deliver(ScriptedPort& port)
    {
        if (out_.empty())
            return false;
        const QByteArray reply = std::move(out_.front());
        out_.pop_front();
        if (reply.isEmpty())
            return true;
        if (chunk_ == 0 || chunk_ >= reply.size()) {
            port.feed(reply);
            return true;
        }
        for (qsizetype at = 0; at < reply.size(); at += chunk_)
            port.feed(QByteArray::fromRawData(reply.constData() + at,
                                              std::min<qsizetype>(chunk_, reply.size() - at)));
        return true;
    }

    // A cancel or "Read" placed at a packet: the user acts once the host has asked for it.
    Fault pendingUserAction()
    {
        return std::exchange(userAction_, Fault::None);
    }

private:
    void sendPacket()
    {
        QByteArray p = QByteArray::fromRawData(packets_.constData() + (next_ % Packets) * PacketBytes,
                                               PacketBytes);
        if (next_ != attempt_.packet) {
            out_.push_back(p);
            return;
        }
        switch (attempt_.fault) {
        case Fault::None:
            out_.push_back(p);
            break;
        case Fault::Length:
            p.resize(attempt_.amount == PacketBytes ? PacketBytes + 1 : attempt_.amount, '\xee');
            out_.push_back(p);
            break;
        case Fault::Twice:
            out_.push_back(p);
            out_.push_back(p);
            break;
        case Fault::StrayBefore:
            out_.push_back(QByteArray(attempt_.amount + 1, '\xee') + p);
            break;
        case Fault::Missing:
            break;
        case Fault::Cancel:
        case Fault::Read:
            userAction_ = attempt_.fault;
            out_.push_back(p);
            break;
        }
    }

    FuzzedDataProvider& in_;
    const QByteArray& packets_;
    bool accel_;
    int transferPackets_;
    int chunk_ = 0;
    int next_ = 0;
    Attempt attempt_;
    Fault userAction_ = Fault::None;
    std::deque<QByteArray> out_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ReceiveRig& r = fuzz::Rig();
    r.reset(previousArray());
    Acquisition& a = r.acq;
    FuzzedDataProvider in(data, size);
    // One or two blocks: more only repeat the same packets, at the cost of speed.
    const int blocks = in.ConsumeBool() ? 2 : 1;
    const bool accel = in.ConsumeBool();
    Board board(in, accel, blocks);
    r.port.onWrite = [&](const QByteArray& command) { board.take(command); };

    a.applyStart(accel ? StartADXL(0, blocks - 1, true, true, 21).start : StartFT(0, blocks, 1, 1));
    a.BeginAcquisition();
    int userReads = 0;
    bool cancelled = false;
    // Generous: three attempts of every packet twice over, and the reads the user may make.
    for (int step = 0; step < 4 * 3 * 2 * (Packets + 2); ++step) {
        if (board.deliver(r.port)) {
            switch (board.pendingUserAction()) {
            case Fault::Cancel:
                a.Cancel();
                cancelled = true;
                break;
            case Fault::Read:
                if (++userReads <= 3)
                    a.Read();
                break;
            default:
                break;
            }
            continue;
        }
        // No reply on its way: whatever timer is running is the next thing to happen.
        if (a.timSendCmd().isActive()) {
            a.timSendCmdTimer();
            continue;
        }
        if (a.timRx().isActive()) {
            a.timRxTimer();
            continue;
        }
        if (a.trailingQuiet().isActive()) {
            a.trailingQuietTimer();
            continue;
        }
        if (r.draws > 0 || !r.failures.isEmpty() || cancelled)
            break;
        // A reply that never comes: the user reads the array again or gives up.
        if (++userReads <= 3 && in.ConsumeBool()) {
            a.Read();
            continue;
        }
        a.Cancel();
        cancelled = true;
        break;
    }
    const bool ended = r.draws > 0 || !r.failures.isEmpty() || cancelled;
    if (!ended || r.draws > 1 || (r.draws > 0 && !r.failures.isEmpty()))
        std::abort();
    const QByteArray expected = r.draws > 0 ? memory().words.left(blocks * BlockBytes)
                                            : previousArray();
    if (a.SampleBuffer() != expected)
        std::abort();
    r.release();
    return 0;
}
