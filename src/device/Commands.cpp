#include "device/Commands.h"

namespace korvel::cmd {

QByteArray bytes(std::initializer_list<quint8> list)
{
    QByteArray out;
    out.reserve(static_cast<qsizetype>(list.size()));
    for (quint8 b : list)
        out.append(static_cast<char>(b));
    return out;
}

namespace {
// The one-byte commands go out once a packet or once a second: they share static bytes
// instead of allocating each time.
template <quint8 Byte>
QByteArray single()
{
    static constexpr char byte = static_cast<char>(Byte);
    return QByteArray::fromRawData(&byte, 1);
}
}  // namespace

QByteArray cmdConnect() { return single<cmdConnectByte>(); }

QByteArray cmdStartExtF(int blocks)
{
    const quint8 code = BlockCode(blocks);
    return bytes({cmdStartExtFByte, code, static_cast<quint8>((code + 0x10) & 0xFF)});
}

QByteArray cmdStart1MHz(int triggerType)
{
    return bytes({static_cast<quint8>(cmdStart1MHzByte + TriggerBits(triggerType)), BlockCode(1)});
}

QByteArray cmdStart07MHz(int triggerType)
{
    return bytes({static_cast<quint8>(cmdStart07MHzByte + TriggerBits(triggerType)), BlockCode(8)});
}

QByteArray cmdStartFT(int triggerType, int blocks, int d1, int d2)
{
    const quint8 b0 = static_cast<quint8>(cmdStartFTByte + TriggerBits(triggerType));
    const quint8 b1 = BlockCode(blocks);
    const quint8 b2 = static_cast<quint8>(d1 & 0xFF);
    const quint8 b3 = static_cast<quint8>(d2 & 0xFF);
    // The checksum adds the divisors themselves; 256 contributes nothing to the low byte.
    return bytes({b0, b1, b2, b3, static_cast<quint8>((b0 + b1 + d1 + d2) & 0xFF)});
}

QByteArray cmdSample() { return single<cmdSampleByte>(); }
QByteArray cmdSampleTemp() { return single<cmdSampleTempByte>(); }
QByteArray cmdStartAlt() { return bytes({cmdStartAltByte, 0x00}); }

QByteArray cmdStartADXL(int triggerType, int durationIndex, bool channelX, bool channelY)
{
    return bytes({static_cast<quint8>(cmdStartADXLByte + TriggerBits(triggerType)),
                  static_cast<quint8>(((7 - durationIndex) * 32) & 0xFF),
                  AccelChannelMask(channelX, channelY)});
}

QByteArray cmdTemperature() { return single<cmdTemperatureByte>(); }

QByteArray cmdSendArray(const QByteArray& modeCommand)
{
    const quint8 code = modeCommand.size() >= 2 ? static_cast<quint8>(modeCommand.at(1)) : 0x00;
    return bytes({cmdSendArrayByte, code});
}

QByteArray cmdNextPacket() { return single<cmdNextPacketByte>(); }
QByteArray cmdTOutHigh() { return single<cmdTOutHighByte>(); }
QByteArray cmdTOutLow() { return single<cmdTOutLowByte>(); }
QByteArray cmdAOutHigh() { return single<cmdAOutHighByte>(); }
QByteArray cmdAOutLow() { return single<cmdAOutLowByte>(); }

QByteArray IdleCommand() { return single<0x00>(); }

bool IsSingleByte(const QByteArray& command, quint8 value)
{
    return command.size() == 1 && static_cast<quint8>(command.front()) == value;
}

bool IsIdle(const QByteArray& command) { return IsSingleByte(command, 0x00); }

int CommandLength(quint8 b)
{
    switch (b) {
    case cmdConnectByte:
    case cmdSampleByte:
    case cmdSampleTempByte:
    case cmdTemperatureByte:
    case cmdNextPacketByte:
    case cmdTOutHighByte:
    case cmdTOutLowByte:
    case cmdAOutHighByte:
    case cmdAOutLowByte:
        return 1;
    case cmdStartAltByte:
    case cmdSendArrayByte:
        return 2;
    case cmdStartExtFByte:
        return 3;
    default:
        break;
    }
    if (b >= 0x80 || (b >> 5) > 2)
        return 0;
    switch (b & 0x1F) {
    case cmdStart1MHzByte:
    case cmdStart07MHzByte:
        return 2;
    case cmdStartFTByte:
        return 5;
    case cmdStartADXLByte:
        return 3;
    default:
        return 0;
    }
}

}  // namespace korvel::cmd
