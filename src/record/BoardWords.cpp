#include "record/BoardWords.h"

namespace korvel {

ModeKind ModeOf(QByteArrayView ModeCommand)
{
    if (ModeCommand.isEmpty())
        return ModeKind::Ordinary;
    const auto first = static_cast<quint8>(ModeCommand.front());
    if (ModeCommand.size() == 1 && first == RealTimeRequestByte)
        return ModeKind::RealTime;
    if (ModeCommand.size() == 1 && first == RealTimeTemperatureRequestByte)
        return ModeKind::RealTimeWithTemperature;
    if (first == AccelerometerStartByte)
        return ModeKind::Accelerometer;
    if ((first & ~TriggerBitsMask) == FTStartByte)
        return ModeKind::FT;
    if (first == ExternalClockStartByte)
        return ModeKind::ExternalClock;
    return ModeKind::Ordinary;
}

}  // namespace korvel
