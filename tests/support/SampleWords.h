#pragma once
// Sample words as the buffer holds them: little-endian 16-bit, one after another.

#include <QByteArray>
#include <QtEndian>
#include <initializer_list>

namespace korvel::testing {

inline QByteArray Words(std::initializer_list<quint16> words)
{
    QByteArray out;
    for (quint16 w : words) {
        char le[2];
        qToLittleEndian(w, le);
        out.append(le, 2);
    }
    return out;
}

}  // namespace korvel::testing
