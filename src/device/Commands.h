#pragma once
// The board's command table in one place: every byte the host sends, how parameters are packed
// into them, and the sizes of the replies. The acquisition object, the mode starts and the
// simulator all build and parse commands through this header.

#include "record/BoardWords.h"

#include <QByteArray>
#include <QtGlobal>

namespace korvel::cmd {

// First bytes. Start commands that take a trigger add TriggerType·32 (bits 5 and 6).
inline constexpr quint8 cmdConnectByte = 0x29;
inline constexpr quint8 cmdStartExtFByte = ExternalClockStartByte;
inline constexpr quint8 cmdStart1MHzByte = 0x11;
inline constexpr quint8 cmdStart07MHzByte = 0x12;
inline constexpr quint8 cmdStartFTByte = FTStartByte;
inline constexpr quint8 cmdSampleByte = RealTimeRequestByte;
inline constexpr quint8 cmdSampleTempByte = RealTimeTemperatureRequestByte;
inline constexpr quint8 cmdStartAltByte = 0x16;
inline constexpr quint8 cmdStartADXLByte = AccelerometerStartByte;
inline constexpr quint8 cmdTemperatureByte = 0x1E;
inline constexpr quint8 cmdSendArrayByte = 0x80;
inline constexpr quint8 cmdNextPacketByte = 0x81;
inline constexpr quint8 cmdTOutHighByte = 0x01;
inline constexpr quint8 cmdTOutLowByte = 0x02;
inline constexpr quint8 cmdAOutHighByte = 0x03;
inline constexpr quint8 cmdAOutLowByte = 0x04;

// Status reply first bytes that mean "the data is ready to be fetched".
inline constexpr quint8 StatusReadyAccel = 0x0A;
inline constexpr quint8 StatusReady = 0x0B;

// Sizes of the exchange.
inline constexpr int MaxBlocks = 8;
using korvel::BlockBytes;
using korvel::BlockSamples;
inline constexpr int PacketsPerBlock = 120;
inline constexpr int PacketBytes = 501;    // 250 raw pairs and one unused byte
inline constexpr int PacketPayload = 500;
inline constexpr int PairsPerPacket = 250;
inline constexpr int ReceiveAreaBytes = 530;
inline constexpr int BoardClockHz = 14745600;
inline constexpr qint32 LineBaudRate = 921600;
// 8 data bits, odd parity, 1 stop bit and the start bit.
inline constexpr int BitsPerByteOnLine = 11;
// The period the accelerometer reports with trigger type 0 on a typical board.
inline constexpr int TypicalAccelPeriodTicks = 10322;

// Entry N (1..8) = (8 − N)·32: the block count in the top three bits as 8 − N.
constexpr quint8 BlockCode(int blocks)
{
    return static_cast<quint8>(((8 - blocks) * 32) & 0xFF);
}

// Blocks named by a block code; 0x00 means all eight.
constexpr int BlocksFromCode(quint8 code)
{
    return 8 - (code >> 5);
}

constexpr quint8 TriggerBits(int triggerType)
{
    return static_cast<quint8>((triggerType & 3) * 32);
}

// 1 for channel X, 2 for channel Y; neither gives 0, which the board receives as it is.
constexpr quint8 AccelChannelMask(bool x, bool y)
{
    return static_cast<quint8>((x ? 1 : 0) + (y ? 2 : 0));
}

// The low byte of the sum of the four bytes before it.
constexpr quint8 FTChecksum(quint8 b0, quint8 b1, quint8 b2, quint8 b3)
{
    return static_cast<quint8>((b0 + b1 + b2 + b3) & 0xFF);
}

QByteArray bytes(std::initializer_list<quint8> list);

QByteArray cmdConnect();
QByteArray cmdStartExtF(int blocks);
QByteArray cmdStart1MHz(int triggerType);
QByteArray cmdStart07MHz(int triggerType);
// d1 and d2 are 1..256; 256 travels as 0x00.
QByteArray cmdStartFT(int triggerType, int blocks, int d1, int d2);
QByteArray cmdSample();
QByteArray cmdSampleTemp();
QByteArray cmdStartAlt();
// durationIndex k (0..7) asks for k + 1 blocks.
QByteArray cmdStartADXL(int triggerType, int durationIndex, bool channelX, bool channelY);
QByteArray cmdTemperature();
// The block code is the second byte of the command that started the mode. Before any start
// there is none; the board's whole memory (code 0x00, eight blocks) is read then.
QByteArray cmdSendArray(const QByteArray& modeCommand);
QByteArray cmdNextPacket();
QByteArray cmdTOutHigh();
QByteArray cmdTOutLow();
QByteArray cmdAOutHigh();
QByteArray cmdAOutLow();

// The one-byte string 0x00: nothing pending.
QByteArray IdleCommand();
bool IsIdle(const QByteArray& command);
bool IsSingleByte(const QByteArray& command, quint8 value);
inline quint8 FirstByte(const QByteArray& command)
{
    return command.isEmpty() ? 0 : static_cast<quint8>(command.front());
}

// Length of the command whose first byte is b, or 0 for a byte the board does not know.
// The board reads commands off an unframed stream, so it needs this to find the next one.
int CommandLength(quint8 b);

}  // namespace korvel::cmd
