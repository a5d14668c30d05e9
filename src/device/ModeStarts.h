#pragma once
// What each measurement start sets, as a value: the window reads its controls, calls one of
// these, and hands the result to the acquisition object. No state, no port.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace korvel {

struct ModeStart {
    QByteArray command;          // PendingCommand and ModeCommand
    quint16 BlockCount = 1;
    double SamplePeriod = 0;     // µs
    double TransferTimeMs = 0;
    QString TransferStatusText;
    double MeasureTimeMs = 0;    // 0 where the mode has no estimate
    bool showMeasureProgress = false;
};

// 14/14.7456 and 21/14.7456 µs, computed in extended precision and stored as doubles.
double SamplePeriodForTicks(long double ticks);
// "ПЕРЕДАЧА МАССИВА, " + Round(ms / 1000) + "с".
QString TransferStatusTextFor(double transferTimeMs);
// Round(period · 240000 / 1000000 · 1000 · blocks / 8), evaluated in extended precision.
double MeasureTimeMsFor(double samplePeriod, int blocks);
// The measurement progress is shown only for estimates above two seconds.
constexpr bool ShowsMeasureProgress(double measureTimeMs) { return measureTimeMs > 2000; }

ModeStart Start1MHz(int triggerType);
ModeStart Start07MHz(int triggerType);
// The hidden tool-bar start: 0.7 MHz, eight blocks, no trigger bits.
ModeStart StartAlt();
ModeStart StartFT(int triggerType, int SRAMblocks, int d1, int d2);
// blocks = seSamplesFExtrn div 30000; Fextrn in Hz. No trigger bits.
ModeStart StartExtF(int samples, double Fextrn);

struct AccelStart {
    ModeStart start;
    int AccelDurationIndex = 0;
    int channelMask = 0;
};
// k is the chosen duration entry (0..7); AccelChannels is 2 with both boxes checked, else 1.
AccelStart StartADXL(int triggerType, int k, bool cbX, bool cbY, int AccelBlockSeconds);
int AccelChannelsFor(bool cbX, bool cbY);
// Round(AccelPeriod × 30000), in extended precision.
int AccelBlockSecondsFor(double AccelPeriod);
// Duration entries "21c", "42c", ... for the given channel count (Latin c).
QStringList AccelDurationEntries(double AccelPeriod, int AccelChannels);

// "Read" fetches the last mode's array again and allows it six seconds.
inline constexpr double ReadTransferTimeMs = 6000;
// The real-time mode takes a point a second.
inline constexpr double RealTimeSamplePeriod = 1000000;  // µs

// Progress panel arithmetic.
QString MinutesSeconds(qint64 seconds);  // "%.2d:%.2d"

struct ProgressStart {
    int maximum = 0;
    qint32 ProgressTotalS = 0;
    QString lAll, lElapsed, lRest;
};
ProgressStart StartProgress(double durationMs);

struct ProgressTick {
    qint32 ProgressElapsedS = 0;
    qint32 ProgressRestS = 0;
    quint16 ProgressPercent = 0;
    QString lbPercent, lbRestPercent, lElapsed, lRest;
    int position = 0;
    bool hide = false;
};
// now and startTick are 32-bit millisecond ticks; their difference survives a wrap.
ProgressTick TickProgress(quint32 startTick, quint32 now, qint32 ProgressTotalS, int maximum);

}  // namespace korvel
