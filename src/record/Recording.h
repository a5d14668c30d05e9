#pragma once
// One measurement as taken: the sample words with their kind, the command that started the mode,
// the periods, and the real-time tables with the count of their points. The acquisition object
// owns the current one; the chart, the spectrum, the files and korvel-cli read it by const
// reference. A value: keeping one aside and putting it back is a copy. Every member has its
// initializer, so a designated initializer names only the fields it sets.

#include "record/BoardWords.h"

#include <QByteArray>
#include <QByteArrayView>
#include <span>
#include <vector>

namespace korvel {

struct Recording {
    // The array's sample words as received or loaded; a kind-129 record holds n signal words,
    // then n temperature words in quarter degrees.
    QByteArray SampleBuffer{};
    quint16 DataKind = DataKindSignal;
    // How the words are read (ModeOf).
    QByteArray ModeCommand{};
    quint16 BlockCount = 8;
    double SamplePeriod = 0.0;      // µs
    double AccelPeriod = 0.0007;    // s, as the board last reported it

    // Real time: the tables replies are stored in, and the points counted so far. A fresh start
    // drops its first reply, which only answers the start.
    enum class RealTimeState { Counting, AwaitingFirstReply };
    std::vector<quint16> RealTimeSignal{};
    std::vector<qint16> RealTimeTemperature{};
    int RealTimeCount = 0;
    RealTimeState realTimeState = RealTimeState::Counting;

    ModeKind mode() const { return ModeOf(ModeCommand); }
    bool isRealTime() const { return IsRealTime(ModeCommand); }
    // The counted points, never past the table.
    std::span<const quint16> realTimePoints() const;
    // Their temperatures, when the table holds as many; empty otherwise.
    std::span<const qint16> realTimeTemperatures() const;
};

// Kind-129 words also fill the real-time tables, index for index, as far as the tables reach.
// Returns the count copied.
int CopyKind129ToRealTime(QByteArrayView SampleBuffer, std::span<quint16> RealTimeSignal,
                          std::span<qint16> RealTimeTemperature);

}  // namespace korvel
