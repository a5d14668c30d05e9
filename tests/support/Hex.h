#pragma once
// Bytes written as hexadecimal text, the way a listing of the board's commands shows them.

#include <QByteArray>

namespace korvel::testing {

inline QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

}  // namespace korvel::testing
