#include "device/Acquisition.h"

#include "device/Commands.h"
#include "device/Decode.h"
#include "text/NumberFormat.h"

#include <QDeadlineTimer>
#include <algorithm>

namespace korvel {

using namespace korvel::cmd;

Acquisition::Acquisition(SerialPort& port, QObject* parent, AcquisitionIntervals intervals)
    : QObject(parent), port_(port)
{
    recording_.RealTimeSignal.assign(RealTimeCapacity, 0);
    recording_.RealTimeTemperature.assign(RealTimeCapacity, 0);
    timRx_.setInterval(intervals.rxMs);
    timSendCmd_.setInterval(intervals.sendCmdMs);
    timSendCmd_.setSingleShot(true);
    trailingQuiet_.setInterval(intervals.trailingQuietMs);
    trailingQuiet_.setSingleShot(true);
    // A coarse timer may fire 5 % late, and on this interval that is the whole window again.
    trailingQuiet_.setTimerType(Qt::PreciseTimer);
    connect(&timRx_, &QTimer::timeout, this, &Acquisition::timRxTimer);
    connect(&timSendCmd_, &QTimer::timeout, this, &Acquisition::timSendCmdTimer);
    connect(&trailingQuiet_, &QTimer::timeout, this, &Acquisition::trailingQuietTimer);
    connect(&port_, &SerialPort::received, this, &Acquisition::VaComm1RxChar);
    // A port that went away takes no deferred request and has no reply left to collect: a run
    // under way ends as a cancelled one, and the next start begins afresh.
    connect(&port_, &SerialPort::failed, this, &Acquisition::Cancel);
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
    // A start over a run still under way begins from the record before that run, which stays
    // the one to come back to; the window still shows it.
    if (previous_)
        recording_ = *previous_;
    else
        keepAside();
    PacketsLeft_ = 1;
    PendingCommand_ = start.command;
    recording_.ModeCommand = start.command;
    recording_.BlockCount = start.BlockCount;
    recording_.SamplePeriod = start.SamplePeriod;
    MeasureTimeMs_ = start.MeasureTimeMs;
    TransferTimeMs_ = start.TransferTimeMs;
    TransferStatusText_ = start.TransferStatusText;
}

void Acquisition::loadRecording(Recording record)
{
    record.AccelPeriod = recording_.AccelPeriod;
    if (record.RealTimeSignal.empty() && record.RealTimeTemperature.empty()) {
        record.RealTimeSignal = std::move(recording_.RealTimeSignal);
        record.RealTimeTemperature = std::move(recording_.RealTimeTemperature);
    }
    // Replies are stored at RealTimeCount, anywhere in the capacity.
    record.RealTimeSignal.resize(RealTimeCapacity);
    record.RealTimeTemperature.resize(RealTimeCapacity);
    recording_ = std::move(record);
    // A file opened while a run is under way is what a failed run brings back.
    previous_.reset();
    if (recording_.DataKind == DataKindWithTemperature)
        CopyKind129ToRealTime(recording_.SampleBuffer, recording_.RealTimeSignal,
                              recording_.RealTimeTemperature);
}

void Acquisition::recordSavedAs(quint16 DataKind)
{
    recording_.DataKind = DataKind;
}

void Acquisition::beginRealTimeRecord()
{
    recording_.RealTimeCount = 0;
    recording_.realTimeState = Recording::RealTimeState::AwaitingFirstReply;
    lostRealTimePoints_ = 0;
    // A reply still owed by an earlier run is not this run's loss.
    expect_ = Expect::Nothing;
}

void Acquisition::useRealTimePeriod()
{
    recording_.SamplePeriod = RealTimeSamplePeriod;
}

void Acquisition::countRealTimePoint()
{
    ++recording_.RealTimeCount;
}

void Acquisition::BeginAcquisition()
{
    ProgressStartTick_ = now();
    emit stageText(QStringLiteral("ИЗМЕРЕНИЕ"));
    emit receivedText(QString());
    if (!IsIdle(PendingCommand_))
        request(PendingCommand_);
}

void Acquisition::GetData()
{
    transferRepeats_ = 0;
    beginTransfer();
}

void Acquisition::beginTransfer()
{
    keepAside();
    Recording& r = recording_;
    r.SampleBuffer = QByteArray();
    // An array from the board carries no temperature block.
    r.DataKind = DataKindSignal;
    expect_ = Expect::Nothing;
    timRx_.stop();
    trailingQuiet_.stop();
    PendingCommand_ = cmdSendArray(r.ModeCommand);
    // A loaded real-time recording leaves no blocks; zero packets would wrap the count and
    // request packets without end, so the block code decides instead.
    if (r.BlockCount == 0)
        r.BlockCount = static_cast<quint16>(BlocksFromCode(static_cast<quint8>(PendingCommand_.at(1))));
    PacketsLeft_ = static_cast<quint16>(r.BlockCount * PacketsPerBlock);
    r.SampleBuffer.reserve(r.BlockCount * BlockBytes);
    port_.purge();
    ProgressStartTick_ = now();
    emit transferStarted(TransferTimeMs_);
    emit stageText(TransferStatusText_);
    // Like timRx, a running timer keeps its first start.
    if (!IsIdle(PendingCommand_) && !timSendCmd_.isActive())
        timSendCmd_.start();
    emit receivedText(QString::number(r.SampleBuffer.size()));
}

void Acquisition::Read()
{
    TransferTimeMs_ = ReadTransferTimeMs;
    GetData();
}

void Acquisition::ShowChartFinished()
{
    PendingCommand_ = IdleCommand();
    ProgressStartTick_ = now();
}

void Acquisition::clearPending()
{
    PendingCommand_ = IdleCommand();
}

void Acquisition::sendRealTimeRequest(bool withTemperature)
{
    // The previous request is still unanswered: its point will never be.
    if (expect_ == Expect::Reply && recording_.isRealTime())
        realTimePointMissing();
    PendingCommand_ = withTemperature ? cmdSampleTemp() : cmdSample();
    recording_.ModeCommand = PendingCommand_;
    request(PendingCommand_);
}

void Acquisition::requestTemperature()
{
    request(cmdTemperature());
    recording_.ModeCommand = cmdTemperature();
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
    trailingQuiet_.stop();
    PendingCommand_ = IdleCommand();
    PacketsLeft_ = 0;
    expect_ = Expect::Nothing;
    restorePrevious();
}

void Acquisition::keepAside()
{
    if (previous_)
        return;
    previous_ = recording_;
    emit recordKeptAside();
}

void Acquisition::restorePrevious()
{
    if (!previous_)
        return;
    recording_ = std::move(*previous_);
    previous_.reset();
    emit recordRestored();
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
    if (!IsIdle(PendingCommand_))
        request(PendingCommand_);
}

void Acquisition::VaComm1RxChar()
{
    if (expect_ == Expect::Nothing) {
        discardWaiting();
        return;
    }
    if (expect_ == Expect::Silence) {
        // More after the last packet: the array is not the board's.
        trailingQuiet_.stop();
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
    // After the last packet only the quiet window decides.
    if (expect_ == Expect::Silence)
        return;
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
    const bool transfer = FirstByte(PendingCommand_) >= cmdSendArrayByte;
    if (transfer && PacketsLeft_ > 0)
        packetReply(n);
    else if (IsSingleByte(recording_.ModeCommand, cmdSampleTempByte))
        sampleAndTemperatureReply(n);
    else if (IsSingleByte(recording_.ModeCommand, cmdTemperatureByte))
        temperatureReply(n);
    else if (IsSingleByte(PendingCommand_, cmdSampleByte))
        sampleReply(n);
    else if (!transfer)
        statusReply();
    // What came beyond the reply is nobody's: left queued it would be the next reply.
    if (expect_ == Expect::Nothing)
        discardWaiting();
}

bool Acquisition::takesRealTimePoint()
{
    // A fresh start's first reply is not kept.
    if (recording_.realTimeState == Recording::RealTimeState::AwaitingFirstReply) {
        recording_.realTimeState = Recording::RealTimeState::Counting;
        return false;
    }
    if (recording_.RealTimeCount < RealTimeCapacity)
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

void Acquisition::realTimePointMissing()
{
    ++lostRealTimePoints_;
    emit realTimePointLost(lostRealTimePoints_);
}

void Acquisition::sampleAndTemperatureReply(qint64 n)
{
    emit readoutOff();
    if (!hasLength(n, 4)) {
        realTimePointMissing();
        return;
    }
    if (!takesRealTimePoint())
        return;
    const quint16 w = WordAt(rxArea_.data(), 0);
    recording_.RealTimeSignal[recording_.RealTimeCount] = w;
    const qint16 quarter = TemperatureQuarterDegrees(WordAt(rxArea_.data(), 2));
    recording_.RealTimeTemperature[recording_.RealTimeCount] = quarter;
    CurrentTemperature_ = quarter / 4.0;
    CurrentSignal_ = Reading(w);
    emit realTimeReply(true);
}

void Acquisition::temperatureReply(qint64 n)
{
    if (!hasLength(n, 2))
        return;
    const double t = TemperatureCelsius(WordAt(rxArea_.data(), 0));
    TemperatureReading_ = t;
    const QString when = dateTime_ ? dateTime_() : DateTimeText(QDateTime::currentDateTime());
    emit temperatureRead(TemperatureText(t, when));
}

void Acquisition::sampleReply(qint64 n)
{
    if (!hasLength(n, 2)) {
        realTimePointMissing();
        return;
    }
    if (!takesRealTimePoint())
        return;
    recording_.RealTimeSignal[recording_.RealTimeCount] = WordAt(rxArea_.data(), 0);
    emit realTimeReply(false);
}

void Acquisition::statusReply()
{
    --PacketsLeft_;
    if (PacketsLeft_ > 0)
        return;
    const auto status = static_cast<quint8>(rxArea_[0]);
    if (status == StatusReadyAccel) {
        if (recording_.mode() == ModeKind::Accelerometer) {
            AccelPeriodTicks_ = WordAt(rxArea_.data(), 1);
            recording_.AccelPeriod = AccelPeriodTicks_ / 14745600.0;
            emit accelPeriodReported(AccelPeriodTicks_);
        }
        GetData();
    } else if (status == StatusReady) {
        GetData();
    }
    // Any other status ends the exchange with the record from before the start.
    if (PacketsLeft_ == 0) {
        restorePrevious();
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
    if (recording_.mode() != ModeKind::Accelerometer)
        ReorderPairsInPlace(rxArea_.data(), n);
    recording_.SampleBuffer.append(rxArea_.data(), PacketPayload);
    --PacketsLeft_;
    if (PacketsLeft_ > 0) {
        request(cmdNextPacket());
        return;
    }
    // A reply longer than asked for, or a packet sent twice, shows only as bytes after the last
    // one: the array is taken once the line has stayed quiet for a few milliseconds.
    expect_ = Expect::Silence;
    trailingQuiet_.start();
}

void Acquisition::trailingQuietTimer()
{
    trailingQuiet_.stop();
    if (expect_ != Expect::Silence)
        return;
    if (port_.bytesWaiting() > 0) {
        transferError(PacketBytes + port_.bytesWaiting());
        return;
    }
    expect_ = Expect::Nothing;
    if (recording_.SampleBuffer.size() != qsizetype(recording_.BlockCount) * BlockBytes) {
        transferError(PacketBytes);
        return;
    }
    previous_.reset();
    emit chartFlagsReset();
    emit drawChart();
}

void Acquisition::transferError(qint64 received)
{
    const int packets = recording_.BlockCount * PacketsPerBlock;
    const int packet = std::min(packets - PacketsLeft_ + 1, packets);
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
