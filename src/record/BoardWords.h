#pragma once
// What the board's words mean to everyone who reads a record: the parts of a sample word, the
// kind of mode a command starts, the record kinds, the size of a block and the names a record's
// axes take when nobody named them. The command table and every reader use these.

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <array>

namespace korvel {

// A sample word: the 12-bit reading in bits 0..11, the digital lines XP2/2, XP2/3 and XP3/8 in
// bits 13..15. Stored little-endian, two bytes a sample.
inline constexpr quint16 ReadingMask = 0x0FFF;
constexpr int Reading(quint16 word) { return word & ReadingMask; }

inline constexpr std::array<quint16, 3> DigitalLineBits{1u << 13, 1u << 14, 1u << 15};
// line 0..2
constexpr bool LineHigh(quint16 word, int line) { return (word & DigitalLineBits[line]) != 0; }

// In accelerometer data bit 15 is no digital line: it marks the words of channel X.
inline constexpr quint16 AccelXChannelBit = 1u << 15;
constexpr bool IsAccelX(quint16 word) { return (word & AccelXChannelBit) != 0; }

// The little-endian word at a byte offset.
inline quint16 WordAt(const char* data, qsizetype offset)
{
    return static_cast<quint16>(static_cast<quint8>(data[offset]) |
                                (static_cast<quint8>(data[offset + 1]) << 8));
}
// Sample word i of a buffer.
inline quint16 SampleWordAt(QByteArrayView bytes, qsizetype i)
{
    return WordAt(bytes.data(), 2 * i);
}

// The board's memory is counted in blocks of 30000 samples.
inline constexpr int BlockSamples = 30000;
inline constexpr int BlockBytes = 2 * BlockSamples;

// The kinds of record (the data file's first word): the signal alone, or the signal words
// followed by as many temperature words in quarter degrees.
inline constexpr quint16 DataKindSignal = 1;
inline constexpr quint16 DataKindWithTemperature = 129;

// First bytes of the commands whose records are read apart from the ordinary ones. The trigger
// type adds 32·T (bits 5 and 6) to the F/T and accelerometer starts.
inline constexpr quint8 ExternalClockStartByte = 0x10;
inline constexpr quint8 FTStartByte = 0x13;
inline constexpr quint8 RealTimeRequestByte = 0x14;
inline constexpr quint8 RealTimeTemperatureRequestByte = 0x15;
inline constexpr quint8 AccelerometerStartByte = 0x1A;
inline constexpr quint8 TriggerBitsMask = 0x60;

enum class ModeKind { Ordinary, FT, ExternalClock, RealTime, RealTimeWithTemperature, Accelerometer };

// The kind of mode ModeCommand started. Real time is the one-byte request 14h or 15h. Only the
// untriggered accelerometer start 1Ah lays its data out by channel: a triggered one (3Ah, 5Ah)
// is read as ordinary data, and so is anything unknown or empty.
ModeKind ModeOf(QByteArrayView ModeCommand);
inline bool IsRealTime(QByteArrayView ModeCommand)
{
    const ModeKind m = ModeOf(ModeCommand);
    return m == ModeKind::RealTime || m == ModeKind::RealTimeWithTemperature;
}

// The axis names of a record that nobody named.
inline QString TimeAxisName(const QString& XUnitName)
{
    return QStringLiteral("Время, ") + XUnitName;
}
inline QString MicrosecondsAxisName() { return TimeAxisName(QStringLiteral("мкс")); }
inline QString SecondsAxisName() { return TimeAxisName(QStringLiteral("с")); }
inline QString SignalAxisName() { return QStringLiteral("Напряжение, мВ"); }
inline QString AccelerationAxisName() { return QStringLiteral("Ускорение, м/с/с"); }

}  // namespace korvel
