#include "device/Acquisition.h"

#include "device/Commands.h"
#include "device/Decode.h"
#include "text/NumberFormat.h"

#include <QDeadlineTimer>
#include <algorithm>

namespace korvel {

using namespace korvel::cmd;

Acquisition::Acquisition(SerialPort& port, QObject* parent, AcquisitionIntervals intervals)
    : QObject(parent),
      RealTimeSignal(RealTimeCapacity, 0),
      RealTimeTemperature(RealTimeCapacity, 0),
      port_(port)
{
    timRx_.setInterval(intervals.rxMs);
    timSendCmd_.setInterval(intervals.sendCmdMs);
    timSendCmd_.setSingleShot(true);
    connect(&timRx_, &QTimer::timeout, this, &Acquisition::timRxTimer);
    connect(&timSendCmd_, &QTimer::timeout, this, &Acquisition::timSendCmdTimer);
    connect(&port_, &SerialPort::received, this, &Acquisition::VaComm1RxChar);
    // A port that went away takes no deferred request and has no reply left to collect; what
    // was received stays, and the next start begins afresh.
    connect(&port_, &SerialPort::failed, this, [this] {
        timRx_.stop();
        timSendCmd_.stop();
    });
}

quint32 Acquisition::now() const
{
    if (tick_)
        return tick_();
    return static_cast<quint32>(QDeadlineTimer::current().deadline());
}

void Acquisition::applyStart(const ModeStart& start)
{
    // A deferred array request of the previous exchange would otherwise send this start's
    // command a second time when it fires.
    timSendCmd_.stop();
    keepPreviousArray();
    PacketsLeft = 1;
    PendingCommand = start.command;
    ModeCommand = start.command;
    BlockCount = start.BlockCount;
    SamplePeriod = start.SamplePeriod;
    MeasureTimeMs = start.MeasureTimeMs;
    TransferTimeMs = start.TransferTimeMs;
    TransferStatusText = start.TransferStatusText;
}

void Acquisition::BeginAcquisition()
{
    ProgressStartTick = now();
    emit statusText(0, QStringLiteral("ИЗМЕРЕНИЕ"));
    emit statusText(2, QString());
    if (!IsIdle(PendingCommand))
        request(PendingCommand);
}

void Acquisition::GetData()
{
    transferRepeats_ = 0;
    beginTransfer();
}

void Acquisition::beginTransfer()
{
    // The array shown so far stays aside until this one is whole.
    if (!previousArray_)
        previousArray_ = SampleBuffer;
    SampleBuffer = QByteArray();
    expect_ = Expect::Nothing;
    timRx_.stop();
    PendingCommand = cmdSendArray(ModeCommand);
    // A loaded real-time recording leaves no blocks; zero packets would wrap the count and
    // request packets without end, so the block code decides instead.
    if (BlockCount == 0)
        BlockCount = static_cast<quint16>(BlocksFromCode(static_cast<quint8>(PendingCommand.at(1))));
    PacketsLeft = static_cast<quint16>(BlockCount * PacketsPerBlock);
    SampleBuffer.reserve(BlockCount * BlockBytes);
    port_.purge();
    ProgressStartTick = now();
    emit transferStarted(TransferTimeMs);
    emit statusText(0, TransferStatusText);
    emit statusText(2, QString());
    // Like timRx, a running timer keeps its first start.
    if (!IsIdle(PendingCommand) && !timSendCmd_.isActive())
        timSendCmd_.start();
    emit statusText(2, QString::number(SampleBuffer.size()));
}

void Acquisition::Read()
{
    TransferTimeMs = ReadTransferTimeMs;
    GetData();
}

void Acquisition::ShowChartFinished()
{
    PendingCommand = IdleCommand();
    ProgressStartTick = now();
}

void Acquisition::sendRealTimeRequest(bool withTemperature)
{
    PendingCommand = withTemperature ? cmdSampleTemp() : cmdSample();
    ModeCommand = PendingCommand;
    request(PendingCommand);
}

void Acquisition::requestTemperature()
{
    request(cmdTemperature());
    ModeCommand = cmdTemperature();
}

void Acquisition::writeCommand(const QByteArray& command)
{
    if (!command.isEmpty())
        port_.write(command);
}

void Acquisition::Cancel()
{
    timRx_.stop();
    timSendCmd_.stop();
    PendingCommand = IdleCommand();
    PacketsLeft = 0;
    expect_ = Expect::Nothing;
    keepPreviousArray();
}

void Acquisition::keepPreviousArray()
{
    if (previousArray_) {
        SampleBuffer = std::move(*previousArray_);
        previousArray_.reset();
    }
}

void Acquisition::request(const QByteArray& command)
{
    expect_ = Expect::Reply;
    port_.write(command);
}

void Acquisition::discardWaiting()
{
    while (port_.read(rxArea_.data(), ReceiveAreaBytes) > 0) {
    }
}

void Acquisition::timSendCmdTimer()
{
    timSendCmd_.stop();
    if (!IsIdle(PendingCommand))
        request(PendingCommand);
}

void Acquisition::VaComm1RxChar()
{
    if (expect_ == Expect::Nothing) {
        discardWaiting();
        return;
    }
    if (expect_ == Expect::Silence) {
        // More after the last packet: the array is not the board's.
        timRx_.stop();
        transferError(PacketBytes + port_.bytesWaiting());
        return;
    }
    // A full packet is handled the moment it is complete; anything else 500 ms after its first
    // byte, since a running timer keeps its first start.
    if (port_.bytesWaiting() == PacketBytes) {
        timRxTimer();
        return;
    }
    if (!timRx_.isActive())
        timRx_.start();
}

void Acquisition::timRxTimer()
{
    timRx_.stop();
    if (expect_ == Expect::Silence) {
        if (port_.bytesWaiting() > 0)
            transferError(PacketBytes + port_.bytesWaiting());
        else
            lineStayedQuiet();
        return;
    }
    if (expect_ == Expect::Nothing) {
        discardWaiting();
        return;
    }
    rxArea_.fill(0);
    const qint64 n = port_.read(rxArea_.data(), ReceiveAreaBytes);
    // A run that found nothing is not a reply; the reply may still come.
    if (n <= 0)
        return;
    // The reply is taken; only a handler that asks again expects more.
    expect_ = Expect::Nothing;
    // A transfer under way comes first: "Read" after a temperature reading or a real-time run
    // leaves their command in ModeCommand, and its packets are still packets.
    const bool transfer = FirstByte(PendingCommand) >= cmdSendArrayByte;
    if (transfer && PacketsLeft > 0)
        packetReply(n);
    else if (IsSingleByte(ModeCommand, cmdSampleTempByte))
        sampleAndTemperatureReply(n);
    else if (IsSingleByte(ModeCommand, cmdTemperatureByte))
        temperatureReply(n);
    else if (IsSingleByte(PendingCommand, cmdSampleByte))
        sampleReply(n);
    else if (!transfer)
        statusReply();
    // What came beyond the reply is nobody's: left queued it would be the next reply.
    if (expect_ == Expect::Nothing)
        discardWaiting();
}

bool Acquisition::takesRealTimePoint()
{
    // RealTimeCount -1 marks a fresh start, whose first reply is not kept.
    if (RealTimeCount == -1) {
        RealTimeCount = 0;
        return false;
    }
    if (RealTimeCount >= 0 && RealTimeCount < RealTimeCapacity)
        return true;
    emit realTimeRecordFull();
    return false;
}

bool Acquisition::hasLength(qint64 n, qint64 length)
{
    // The replies carry no framing: one of another length is a fault of the line, whatever its
    // first bytes would read as.
    if (n == length)
        return true;
    ++lineErrors_;
    return false;
}

void Acquisition::sampleAndTemperatureReply(qint64 n)
{
    emit readoutOff();
    if (!hasLength(n, 4))
        return;
    if (!takesRealTimePoint())
        return;
    const quint16 w = WordAt(rxArea_.data(), 0);
    RealTimeSignal[RealTimeCount] = w;
    const qint16 quarter = TemperatureQuarterDegrees(WordAt(rxArea_.data(), 2));
    RealTimeTemperature[RealTimeCount] = quarter;
    CurrentTemperature = quarter / 4.0;
    CurrentSignal = Reading(w);
    emit realTimeReply(true);
}

void Acquisition::temperatureReply(qint64 n)
{
    if (!hasLength(n, 2))
        return;
    const double t = TemperatureCelsius(WordAt(rxArea_.data(), 0));
    const QString when = dateTime_ ? dateTime_() : DateTimeText(QDateTime::currentDateTime());
    emit statusText(2, TemperatureText(t, when));
}

void Acquisition::sampleReply(qint64 n)
{
    if (!hasLength(n, 2))
        return;
    if (!takesRealTimePoint())
        return;
    RealTimeSignal[RealTimeCount] = WordAt(rxArea_.data(), 0);
    emit realTimeReply(false);
}

void Acquisition::statusReply()
{
    --PacketsLeft;
    if (PacketsLeft > 0)
        return;
    const auto status = static_cast<quint8>(rxArea_[0]);
    if (status == StatusReadyAccel) {
        if (ModeOf(ModeCommand) == ModeKind::Accelerometer) {
            AccelPeriodTicks = WordAt(rxArea_.data(), 1);
            emit statusText(1, QString::number(AccelPeriodTicks));
            AccelPeriod = AccelPeriodTicks / 14745600.0;
            emit accelPeriodReported(AccelPeriodTicks);
        }
        GetData();
    } else if (status == StatusReady) {
        GetData();
    }
    // Any other status ends the exchange; the chart is drawn again from the unchanged buffer.
    if (PacketsLeft == 0) {
        emit chartFlagsReset();
        emit drawChart();
    }
}

void Acquisition::packetReply(qint64 n)
{
    // The packets carry no framing, so their length is the only check there is: one byte more
    // or less shifts every later sample.
    if (n != PacketBytes) {
        transferError(n + port_.bytesWaiting());
        return;
    }
    // Accelerometer words come as the board stores them, not as raw pairs.
    if (ModeOf(ModeCommand) != ModeKind::Accelerometer)
        ReorderPairsInPlace(rxArea_.data(), n);
    SampleBuffer.append(rxArea_.data(), PacketPayload);
    --PacketsLeft;
    if (PacketsLeft > 0) {
        request(cmdNextPacket());
        return;
    }
    // A reply longer than asked for, or a packet sent twice, shows only as bytes after the last
    // one: the array is taken once the line has stayed quiet for timRx's interval.
    expect_ = Expect::Silence;
    timRx_.start();
}

void Acquisition::lineStayedQuiet()
{
    expect_ = Expect::Nothing;
    if (SampleBuffer.size() != qsizetype(BlockCount) * BlockBytes) {
        transferError(PacketBytes);
        return;
    }
    previousArray_.reset();
    emit chartFlagsReset();
    emit drawChart();
}

void Acquisition::transferError(qint64 received)
{
    const int packets = BlockCount * PacketsPerBlock;
    const int packet = std::min(packets - PacketsLeft + 1, packets);
    ++lineErrors_;
    if (transferRepeats_ < MaxTransferRepeats) {
        // The board still holds the array: ask for all of it again, as "Read" does.
        ++transferRepeats_;
        beginTransfer();
        return;
    }
    Cancel();
    emit transferFailed(Format(u"Ошибка передачи: пакет %d из %d, получено %s",
                               {packet, packets, BytesText(received)}));
}

}  // namespace korvel
