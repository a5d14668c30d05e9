#include "sim/BoardSimulator.h"

#include "device/Commands.h"
#include "device/Decode.h"
#include "record/BoardWords.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvel {

using namespace korvel::cmd;

namespace {
constexpr int MemoryWords = MaxBlocks * BlockSamples;

quint16 clampReading(double v)
{
    return static_cast<quint16>(std::clamp(std::lround(v), 0L, 4095L));
}
}  // namespace

BoardSimulator::BoardSimulator(SimOptions options)
    : options_(options), memory_(MemoryWords, 0), wireNoise_(options.seed ^ 0x9E3779B9u)
{
    // The memory holds something from power-up, so "Read" before any start has an answer.
    fillAdc(MemoryWords, 21 / 14.7456);
}

QList<SimOutput> BoardSimulator::receive(const QByteArray& bytes, qint64 nowUs)
{
    QList<SimOutput> out;
    partial_.append(bytes);
    qsizetype at = 0;
    while (at < partial_.size()) {
        const int len = CommandLength(static_cast<quint8>(partial_.at(at)));
        if (len == 0) {  // not a command: the board skips the byte
            ++at;
            continue;
        }
        if (at + len > partial_.size())
            break;
        const QByteArray command = partial_.mid(at, len);
        at += len;
        commands_.append(command);
        if (!faults.silent)
            handle(command, nowUs, &out);
    }
    partial_.remove(0, at);
    return out;
}

QList<SimOutput> BoardSimulator::fireEdge(qint64 nowUs)
{
    QList<SimOutput> out;
    if (edgeWait_) {
        const PendingStart start = *edgeWait_;
        edgeWait_.reset();
        finishMeasurement(start, nowUs, &out);
    }
    return out;
}

void BoardSimulator::handle(const QByteArray& c, qint64 nowUs, QList<SimOutput>* out)
{
    const auto b0 = static_cast<quint8>(c.at(0));
    switch (b0) {
    case cmdConnectByte:
        return;
    case cmdSampleByte: {
        const quint16 w = liveSampleWord(nowUs);
        out->append({nowUs, bytes({static_cast<quint8>(w), static_cast<quint8>(w >> 8)})});
        return;
    }
    case cmdSampleTempByte: {
        const quint16 w = liveSampleWord(nowUs);
        const quint16 t = temperatureWord(nowUs);
        out->append({nowUs, bytes({static_cast<quint8>(w), static_cast<quint8>(w >> 8),
                                   static_cast<quint8>(t), static_cast<quint8>(t >> 8)})});
        return;
    }
    case cmdTemperatureByte: {
        const quint16 t = temperatureWord(nowUs);
        QByteArray reply = bytes({static_cast<quint8>(t), static_cast<quint8>(t >> 8)});
        if (faults.temperatureReplyBytes > 0)
            reply.resize(faults.temperatureReplyBytes, '\xee');
        out->append({nowUs, reply});
        return;
    }
    case cmdSendArrayByte:
        packet_ = 0;
        sendPacket(nowUs, out);
        return;
    case cmdNextPacketByte:
        ++packet_;
        sendPacket(nowUs, out);
        return;
    case cmdTOutHighByte: tLine_ = true; return;
    case cmdTOutLowByte: tLine_ = false; return;
    case cmdAOutHighByte: aLine_ = true; return;
    case cmdAOutLowByte: aLine_ = false; return;
    default:
        startMeasurement(c, nowUs, out);
    }
}

void BoardSimulator::startMeasurement(const QByteArray& c, qint64 nowUs, QList<SimOutput>* out)
{
    const auto b0 = static_cast<quint8>(c.at(0));
    const auto code = static_cast<quint8>(c.at(1));
    const int blocks = BlocksFromCode(code);
    const int samples = blocks * BlockSamples;
    const int trigger = b0 == cmdStartExtFByte || b0 == cmdStartAltByte ? 0 : (b0 >> 5) & 3;
    const quint8 base = b0 == cmdStartExtFByte || b0 == cmdStartAltByte ? b0 : (b0 & 0x1F);
    ++runs_;
    edgeWait_.reset();  // a new start replaces one still waiting for its edge
    double periodUs = 0;
    finalWords_ = false;
    switch (base) {
    case cmdStart1MHzByte:
        periodUs = 14 / 14.7456;
        break;
    case cmdStart07MHzByte:
    case cmdStartAltByte:
        periodUs = 21 / 14.7456;
        break;
    case cmdStartFTByte: {
        const int d1 = static_cast<quint8>(c.at(2)) == 0 ? 256 : static_cast<quint8>(c.at(2));
        const int d2 = static_cast<quint8>(c.at(3)) == 0 ? 256 : static_cast<quint8>(c.at(3));
        periodUs = ((3.0 * d1 + 3) * d2 + 21) / 14.7456;
        break;
    }
    case cmdStartExtFByte:
        periodUs = 1e6 / options_.externalClockHz;
        break;
    case cmdStartADXLByte: {
        const auto mask = static_cast<quint8>(c.at(2));
        finalWords_ = b0 == cmdStartADXLByte;
        fillAccel(samples, mask);
        const double tickUs = options_.accelPeriodTicks / 14.7456;
        const double us = samples * tickUs / (mask == 3 ? 2 : 1);
        const PendingStart start{c, static_cast<qint64>(us * options_.timeScale)};
        if (trigger == 0)
            finishMeasurement(start, nowUs, out);
        else if (options_.edgeDelayMs >= 0)
            finishMeasurement(start, nowUs + qint64(options_.edgeDelayMs) * 1000, out);
        else
            edgeWait_ = start;
        return;
    }
    default:
        return;
    }
    fillAdc(samples, periodUs);
    const PendingStart start{c, static_cast<qint64>(samples * periodUs * options_.timeScale)};
    if (trigger == 0)
        finishMeasurement(start, nowUs, out);
    else if (options_.edgeDelayMs >= 0)
        finishMeasurement(start, nowUs + qint64(options_.edgeDelayMs) * 1000, out);
    else
        edgeWait_ = start;
}

void BoardSimulator::finishMeasurement(const PendingStart& start, qint64 edgeUs,
                                       QList<SimOutput>* out)
{
    QByteArray status;
    if ((static_cast<quint8>(start.command.at(0)) & 0x1F) == cmdStartADXLByte) {
        const int t = options_.accelPeriodTicks;
        status = bytes({StatusReadyAccel, static_cast<quint8>(t), static_cast<quint8>(t >> 8)});
    } else {
        status = bytes({StatusReady});
    }
    out->append({edgeUs + start.measureUs, status});
    if (!faults.strayAfterStatus.isEmpty()) {
        out->append({edgeUs + start.measureUs, faults.strayAfterStatus});
        faults.strayAfterStatus.clear();
    }
}

void BoardSimulator::fillAdc(int samples, double periodUs)
{
    std::mt19937 noise(options_.seed * 7919u + runs_);
    std::uniform_int_distribution<int> jitter(-12, 12);
    const double phase = (runs_ % 16) * 0.37;
    for (int i = 0; i < samples; ++i) {
        const double t = i * periodUs * 1e-6;
        // A 1 kHz sine of 2/3 full scale plus noise, and square waves on the three lines.
        const double v = 2048 + 1300 * std::sin(2 * std::numbers::pi * 1000 * t + phase) +
                         jitter(noise);
        quint16 w = clampReading(v);
        if ((i / 600) & 1)
            w |= DigitalLineBits[0];
        if ((i / 1500) & 1)
            w |= DigitalLineBits[1];
        if ((i / 4000) & 1)
            w |= DigitalLineBits[2];
        memory_[static_cast<size_t>(i)] = w;
    }
}

void BoardSimulator::fillAccel(int samples, quint8 mask)
{
    std::mt19937 noise(options_.seed * 104729u + runs_);
    std::uniform_int_distribution<int> jitter(-6, 6);
    const double periodS = options_.accelPeriodTicks / double(BoardClockHz);
    auto x = [&](double t) { return 2048 + 700 * std::sin(2 * std::numbers::pi * 2 * t) + jitter(noise); };
    auto y = [&](double t) { return 2048 + 500 * std::cos(2 * std::numbers::pi * 3 * t) + jitter(noise); };
    for (int i = 0; i < samples; ++i) {
        quint16 w = 0;
        if (mask == 3) {
            // X and Y alternate; bit 15 marks X.
            const double t = (i / 2) * periodS;
            w = (i % 2 == 0) ? static_cast<quint16>(clampReading(x(t)) | AccelXChannelBit)
                             : clampReading(y(t));
        } else {
            const double t = i * periodS;
            w = mask == 2 ? clampReading(y(t)) : clampReading(x(t));
        }
        memory_[static_cast<size_t>(i)] = w;
    }
}

void BoardSimulator::sendPacket(qint64 nowUs, QList<SimOutput>* out)
{
    if (faults.dropPackets.contains(packet_))
        return;
    QByteArray p(PacketBytes, '\0');
    auto* d = reinterpret_cast<quint8*>(p.data());
    const size_t first = static_cast<size_t>(packet_ % (MemoryWords / PairsPerPacket)) * PairsPerPacket;
    for (int i = 0; i < PairsPerPacket; ++i) {
        const quint16 w = memory_[first + static_cast<size_t>(i)];
        if (finalWords_) {
            d[2 * i] = static_cast<quint8>(w);
            d[2 * i + 1] = static_cast<quint8>(w >> 8);
        } else {
            EncodePair(w, wireNoise_() & 1u, &d[2 * i], &d[2 * i + 1]);
        }
    }
    d[PacketPayload] = static_cast<quint8>(wireNoise_());
    if (const auto it = faults.packetLengths.constFind(packet_); it != faults.packetLengths.cend())
        p.resize(std::max(it.value(), 0), '\xee');
    out->append({nowUs, p});
    if (faults.repeatPackets.contains(packet_))
        out->append({nowUs, p});
}

std::vector<quint16> BoardSimulator::expectedWords(int blocks) const
{
    const auto n = static_cast<size_t>(std::clamp(blocks, 0, MaxBlocks) * BlockSamples);
    return std::vector<quint16>(memory_.begin(), memory_.begin() + static_cast<long>(n));
}

QByteArray BoardSimulator::expectedBytes(int blocks) const
{
    const std::vector<quint16> words = expectedWords(blocks);
    QByteArray out(static_cast<qsizetype>(words.size() * 2), '\0');
    for (size_t i = 0; i < words.size(); ++i) {
        out[static_cast<qsizetype>(2 * i)] = static_cast<char>(words[i] & 0xFF);
        out[static_cast<qsizetype>(2 * i + 1)] = static_cast<char>(words[i] >> 8);
    }
    return out;
}

quint16 BoardSimulator::liveSampleWord(qint64 nowUs) const
{
    const double t = nowUs * 1e-6;
    // A slow sine, so a once-a-second plot shows a shape; line 1 toggles every 5 s.
    quint16 w = clampReading(2048 + 1500 * std::sin(2 * std::numbers::pi * t / 60));
    if ((nowUs / 5000000) & 1)
        w |= DigitalLineBits[0];
    return w;
}

quint16 BoardSimulator::temperatureWord(qint64 nowUs) const
{
    const double c = 21.0 + 3.0 * std::sin(2 * std::numbers::pi * (nowUs * 1e-6) / 600);
    return static_cast<quint16>(static_cast<qint16>(std::lround(c * 16)));
}

}  // namespace korvel
