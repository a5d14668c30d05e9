#pragma once
// What every fuzz target needs before its first input: a core application (timers, codecs)
// and the program's locale.

#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace korvel::fuzz {

void EnsureApplication();

inline QByteArray Bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The input itself, not a copy: for readers that keep nothing of it past the call.
inline QByteArray View(const uint8_t* data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                   static_cast<qsizetype>(size));
}

}  // namespace korvel::fuzz
