#pragma once
// Reply decoding as plain functions over bytes: the board's raw sample pairs, the DS18B20
// temperature word, and the temperature text of the status bar.

#include "record/BoardWords.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

namespace korvel {

// The board sends each sample as a raw pair (L, H) whose bits are scattered; this gathers them
// into the sample word: value in bits 0..11, digital lines in bits 13..15. L bit 6 is noise.
constexpr quint16 ReorderPair(quint8 L, quint8 H)
{
    const unsigned low = ((H & 0x0Fu) << 4) | ((L >> 5) & 1u) | (((L >> 4) & 1u) << 1) |
                         (((L >> 3) & 1u) << 2) | (((L >> 2) & 1u) << 3);
    const unsigned high = (H >> 4) | ((L & 1u) << 5) | (((L >> 1) & 1u) << 6) | (L & 0x80u);
    return static_cast<quint16>(low | (high << 8));
}

// The inverse, for whoever plays the board: bit6 fills the bit the host discards.
constexpr void EncodePair(quint16 w, bool bit6, quint8* L, quint8* H)
{
    *H = static_cast<quint8>((w >> 4) & 0xFF);
    *L = static_cast<quint8>((((w >> 0) & 1u) << 5) | (((w >> 1) & 1u) << 4) |
                             (((w >> 2) & 1u) << 3) | (((w >> 3) & 1u) << 2) |
                             ((w >> 13) & 1u) | (((w >> 14) & 1u) << 1) |
                             (bit6 ? 0x40u : 0u) | ((w >> 8) & 0x80u));
}

// Rewrites the pairs (0,1), (2,3), ... of the first n bytes as little-endian sample words, in
// place; a trailing odd byte is left alone.
void ReorderPairsInPlace(char* data, qsizetype n);

// The DS18B20 reading is a signed count of 1/16 °C.
inline double TemperatureCelsius(quint16 word)
{
    return static_cast<qint16>(word) / 16.0;
}

// Quarter degrees, as the real-time record keeps them: an arithmetic shift, so negative
// readings round down (0xFF5E, −10.125 °C, gives −41).
inline qint16 TemperatureQuarterDegrees(quint16 word)
{
    return static_cast<qint16>(static_cast<qint16>(word) >> 2);
}

// The system's date-and-time text: short date, a blank, long time (without a zone name).
QString DateTimeText(const QDateTime& when);

// "22,5 градусов на 06.12.2026 19:58:23"; the number is at least four characters wide.
QString TemperatureText(double celsius, const QString& dateTime);

}  // namespace korvel
