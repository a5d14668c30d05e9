#include "device/ModeStarts.h"

#include "device/Commands.h"
#include "text/NumberFormat.h"

#include <QStringList>
#include <cmath>

namespace korvel {

namespace {
constexpr long double ClockMHz = 14.7456L;

ModeStart fixedRate(QByteArray command, quint16 blocks, long double ticks, double transferMs)
{
    ModeStart s;
    s.command = std::move(command);
    s.BlockCount = blocks;
    s.SamplePeriod = SamplePeriodForTicks(ticks);
    s.TransferTimeMs = transferMs;
    s.TransferStatusText = TransferStatusTextFor(transferMs);
    return s;
}

double blockTransferMs(int blocks)
{
    return static_cast<double>((blocks * 7000) / 8);
}
}  // namespace

double SamplePeriodForTicks(long double ticks)
{
    return static_cast<double>(ticks / ClockMHz);
}

QString TransferStatusTextFor(double transferTimeMs)
{
    return QStringLiteral("ПЕРЕДАЧА МАССИВА, ") + QString::number(Round(transferTimeMs / 1000)) +
           QStringLiteral("с");
}

double MeasureTimeMsFor(double samplePeriod, int blocks)
{
    const long double ms =
        static_cast<long double>(samplePeriod) * 240000 / 1000000 * 1000 * blocks / 8;
    return static_cast<double>(std::llrintl(ms));
}

ModeStart Start1MHz(int triggerType)
{
    return fixedRate(cmd::cmdStart1MHz(triggerType), 1, 14, 1000);
}

ModeStart Start07MHz(int triggerType)
{
    return fixedRate(cmd::cmdStart07MHz(triggerType), 8, 21, 7000);
}

ModeStart StartAlt()
{
    return fixedRate(cmd::cmdStartAlt(), 8, 21, 7000);
}

ModeStart StartFT(int triggerType, int SRAMblocks, int d1, int d2)
{
    ModeStart s;
    s.command = cmd::cmdStartFT(triggerType, SRAMblocks, d1, d2);
    s.BlockCount = static_cast<quint16>(SRAMblocks);
    const long double PeriodTicks = (3.0L * d1 + 3) * d2 + 21;
    s.SamplePeriod = SamplePeriodForTicks(PeriodTicks);
    s.MeasureTimeMs = MeasureTimeMsFor(s.SamplePeriod, SRAMblocks);
    s.showMeasureProgress = ShowsMeasureProgress(s.MeasureTimeMs);
    s.TransferTimeMs = blockTransferMs(SRAMblocks);
    s.TransferStatusText = TransferStatusTextFor(s.TransferTimeMs);
    return s;
}

ModeStart StartExtF(int samples, double Fextrn)
{
    const int blocks = samples / cmd::BlockSamples;
    ModeStart s;
    s.command = cmd::cmdStartExtF(blocks);
    s.BlockCount = static_cast<quint16>(blocks);
    s.SamplePeriod = static_cast<double>(1000000.0L / Fextrn);
    s.MeasureTimeMs = MeasureTimeMsFor(s.SamplePeriod, blocks);
    s.showMeasureProgress = ShowsMeasureProgress(s.MeasureTimeMs);
    s.TransferTimeMs = blockTransferMs(blocks);
    s.TransferStatusText = TransferStatusTextFor(s.TransferTimeMs);
    return s;
}

int AccelChannelsFor(bool cbX, bool cbY)
{
    return cbX && cbY ? 2 : 1;
}

int AccelBlockSecondsFor(double AccelPeriod)
{
    return static_cast<int>(std::llrintl(static_cast<long double>(AccelPeriod) * 30000));
}

QStringList AccelDurationEntries(double AccelPeriod, int AccelChannels)
{
    QStringList out;
    for (int i = 1; i <= 8; ++i) {
        long double v = static_cast<long double>(AccelPeriod) * 30000 * i;
        if (AccelChannels == 2)
            v /= 2;
        out.append(QString::number(std::llrintl(v)) + QLatin1Char('c'));
    }
    return out;
}

AccelStart StartADXL(int triggerType, int k, bool cbX, bool cbY, int AccelBlockSeconds)
{
    const int n = k + 1;
    AccelStart a;
    a.AccelDurationIndex = k;
    a.channelMask = cmd::AccelChannelMask(cbX, cbY);
    ModeStart& s = a.start;
    s.TransferStatusText = QStringLiteral("ПЕРЕДАЧА МАССИВА, ") + QString::number(n) +
                           QStringLiteral("с");
    s.TransferTimeMs = n * 1000.0;
    s.MeasureTimeMs = static_cast<double>((AccelBlockSeconds * 1000 * n) / AccelChannelsFor(cbX, cbY));
    s.showMeasureProgress = ShowsMeasureProgress(s.MeasureTimeMs);
    s.SamplePeriod = SamplePeriodForTicks(14);
    s.BlockCount = static_cast<quint16>(n);
    s.command = cmd::cmdStartADXL(triggerType, k, cbX, cbY);
    return a;
}

QString MinutesSeconds(qint64 seconds)
{
    return Format(u"%.2d:%.2d", {seconds / 60, seconds % 60});
}

ProgressStart StartProgress(double durationMs)
{
    ProgressStart p;
    p.maximum = static_cast<int>(Round(durationMs));
    p.ProgressTotalS = static_cast<qint32>(Round(durationMs / 1000));
    p.lAll = MinutesSeconds(p.ProgressTotalS);
    p.lElapsed = MinutesSeconds(0);
    p.lRest = p.lAll;
    return p;
}

ProgressTick TickProgress(quint32 startTick, quint32 now, qint32 ProgressTotalS, int maximum)
{
    ProgressTick t;
    t.ProgressElapsedS = static_cast<qint32>((now - startTick) / 1000u);
    t.ProgressRestS = ProgressTotalS - t.ProgressElapsedS;
    t.lElapsed = MinutesSeconds(t.ProgressElapsedS);
    t.lRest = MinutesSeconds(t.ProgressRestS);
    if (ProgressTotalS <= 0) {
        // An estimate under half a second rounds to no seconds at all; there is nothing to
        // show a share of, so the panel is simply done.
        t.ProgressPercent = 100;
        t.position = maximum;
    } else {
        t.ProgressPercent =
            static_cast<quint16>((static_cast<qint64>(t.ProgressElapsedS) * 100) / ProgressTotalS);
        t.position = static_cast<int>((static_cast<qint64>(maximum) * t.ProgressElapsedS) /
                                      ProgressTotalS);
    }
    t.lbPercent = QString::number(t.ProgressPercent) + QLatin1Char('%');
    t.lbRestPercent = QString::number(100 - static_cast<int>(t.ProgressPercent)) + QLatin1Char('%');
    t.hide = t.position >= maximum;
    return t;
}

}  // namespace korvel
