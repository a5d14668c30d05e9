#include "record/Recording.h"

#include <algorithm>

namespace korvel {

std::span<const quint16> Recording::realTimePoints() const
{
    const auto n = std::clamp<qsizetype>(RealTimeCount, 0, qsizetype(RealTimeSignal.size()));
    return std::span<const quint16>(RealTimeSignal).first(size_t(n));
}

std::span<const qint16> Recording::realTimeTemperatures() const
{
    const size_t n = realTimePoints().size();
    if (RealTimeTemperature.size() < n)
        return {};
    return std::span<const qint16>(RealTimeTemperature).first(n);
}

int CopyKind129ToRealTime(QByteArrayView SampleBuffer, std::span<quint16> RealTimeSignal,
                          std::span<qint16> RealTimeTemperature)
{
    const qsizetype n = SampleBuffer.size() / 4;
    const qsizetype count = std::min<qsizetype>(
        n, static_cast<qsizetype>(std::min(RealTimeSignal.size(), RealTimeTemperature.size())));
    for (qsizetype i = 0; i < count; ++i) {
        RealTimeSignal[i] = SampleWordAt(SampleBuffer, i);
        RealTimeTemperature[i] = static_cast<qint16>(SampleWordAt(SampleBuffer, n + i));
    }
    return static_cast<int>(count);
}

}  // namespace korvel
