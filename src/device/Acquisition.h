#pragma once
// The acquisition state and the receive handler. It talks to the board through a SerialPort
// and tells the window what to show through signals; it never touches a widget, so the window,
// korvel-cli and the tests all drive the same object.

#include "device/Commands.h"
#include "device/ModeStarts.h"
#include "record/Recording.h"
#include "serial/SerialPort.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace korvel {

// A byte sent after the last packet comes in the same burst or the next USB frame (1 ms), so
// a few quiet milliseconds prove the array whole; the reply timer's 500 ms would add 70 % to a
// one-block transfer.
inline constexpr int TrailingQuietMs = 5;

struct AcquisitionIntervals {
    int rxMs = 500;
    int sendCmdMs = 400;
    int trailingQuietMs = TrailingQuietMs;
};

class Acquisition : public QObject {
    Q_OBJECT
public:
    static constexpr int RealTimeCapacity = 65536;

    explicit Acquisition(SerialPort& port, QObject* parent = nullptr,
                         AcquisitionIntervals intervals = {});

    // The record being taken or last taken, loaded or received.
    const Recording& recording() const { return recording_; }
    // The state the rest of the program reads, under the names it uses.
    const QByteArray& ModeCommand() const { return recording_.ModeCommand; }
    const QByteArray& SampleBuffer() const { return recording_.SampleBuffer; }
    quint16 BlockCount() const { return recording_.BlockCount; }
    double SamplePeriod() const { return recording_.SamplePeriod; }
    const QByteArray& PendingCommand() const { return PendingCommand_; }
    quint16 PacketsLeft() const { return PacketsLeft_; }
    double MeasureTimeMs() const { return MeasureTimeMs_; }
    double TransferTimeMs() const { return TransferTimeMs_; }
    const QString& TransferStatusText() const { return TransferStatusText_; }
    quint32 ProgressStartTick() const { return ProgressStartTick_; }
    int AccelPeriodTicks() const { return AccelPeriodTicks_; }
    // The latest real-time reply: ADC units, and °C when it carried the temperature.
    double CurrentSignal() const { return CurrentSignal_; }
    double CurrentTemperature() const { return CurrentTemperature_; }
    // The latest single temperature reading, in °C as the sensor gives it (1/16 °C steps).
    double TemperatureReading() const { return TemperatureReading_; }

    // Replies of the wrong length (and bytes after an array) since the program started.
    quint32 lineErrors() const { return lineErrors_; }
    // Points of the current real-time run asked for and never stored: their reply had the
    // wrong length, or none came before the next request. The record closes such gaps, so
    // its time axis is off by one period for each.
    int lostRealTimePoints() const { return lostRealTimePoints_; }

    QTimer& timRx() { return timRx_; }
    QTimer& timSendCmd() { return timSendCmd_; }
    // Runs after the last packet of an array: when it fires on a quiet line the array is taken.
    QTimer& trailingQuiet() { return trailingQuiet_; }
    SerialPort& port() { return port_; }

    // The 32-bit millisecond tick that ProgressStartTick is taken from.
    quint32 now() const;
    void setTickSource(std::function<quint32()> source) { tick_ = std::move(source); }
    // The date-and-time text of a temperature reading.
    void setDateTimeSource(std::function<QString()> source) { dateTime_ = std::move(source); }

    // A mode start's state (everything but the window's own steps), then BeginAcquisition.
    void applyStart(const ModeStart& start);
    // The acquisition steps of the common start: the tick, the status texts, and the start
    // command written at once unless nothing is pending.
    void BeginAcquisition();
    // Start of an array transfer: the request goes out timSendCmd's interval later. A packet
    // of the wrong length has the whole array asked for again, twice at most; then the
    // transfer ends with transferFailed and the SampleBuffer holds the array it held before.
    void GetData();
    // "Read": the last mode's array again, allowed six seconds.
    void Read();
    // The chart has been drawn from received or loaded data: nothing is pending any more.
    void ShowChartFinished();
    // Nothing is pending any more (the real-time mode stopped); the record stays.
    void clearPending();
    // A record from elsewhere becomes the current one: a data file's, or the memory's layout
    // assumed before a "Read". A file keeps no accelerometer period, so the board's last one
    // stays; a record without real-time tables keeps the tables there were (their points no
    // longer counted). Kind-129 words also fill the tables.
    void loadRecording(Recording record);
    // The kind of record the file just written says this one is.
    void recordSavedAs(quint16 DataKind);
    // A real-time start: no point counted, and the first reply that follows is discarded.
    void beginRealTimeRecord();
    // The real-time mode's period, one second: taken at every click of its button.
    void useRealTimePeriod();
    // The chart has drawn the point at RealTimeCount: it is counted.
    void countRealTimePoint();
    // One real-time request; the replies are told apart by ModeCommand.
    void sendRealTimeRequest(bool withTemperature);
    // One temperature reading; PendingCommand is left as it is.
    void requestTemperature();
    // Writes a command now (the output commands of the real-time cycle, for example).
    void writeCommand(const QByteArray& command);
    // Stops waiting for the board: no timer runs, nothing is pending, whatever the board still
    // sends for the abandoned run is read and dropped, and the record before the run is back.
    // The next start begins afresh.
    void Cancel();

    // Handlers under the names the rest of the program knows.
    void VaComm1RxChar();
    void timRxTimer();
    void timSendCmdTimer();
    void trailingQuietTimer();

signals:
    // What the exchange is doing, as the status bar says it: "ИЗМЕРЕНИЕ", then the transfer's
    // text.
    void stageText(const QString& text);
    // The array bytes received so far, as a number; empty when a measurement starts.
    void receivedText(const QString& text);
    // A temperature reading: "22,5 градусов на 06.12.2026 19:58:23".
    void temperatureRead(const QString& text);
    // GetData's window steps: AxisXName, percent labels, series, DataKind := 1, the progress
    // panel with this estimate, and the comment box caption "Комментарий".
    void transferStarted(double transferTimeMs);
    // An accelerometer run reported its period in ticks of the board's clock (AccelPeriod is
    // set); the duration list follows.
    void accelPeriodReported(int ticks);
    // A real-time reply was stored at RealTimeCount. With the temperature, DecideOutput runs
    // first; then the chart adds the point and counts it.
    void realTimeReply(bool withTemperature);
    void readoutOff();
    // The real-time record holds RealTimeCapacity points; nothing more is stored.
    void realTimeRecordFull();
    // A real-time point was lost; lostRealTimePoints() counts them.
    void realTimePointLost(int lost);
    // CoefficientsFromFile and ChartZoomed := false, just before the chart is drawn from
    // received data.
    void chartFlagsReset();
    // Draw the chart on behalf of timRx.
    void drawChart();
    // The array could not be received whole; the message names the packet and its length.
    void transferFailed(const QString& message);
    // A start is about to change the record: what shows it should be remembered now.
    void recordKeptAside();
    // The start brought no whole array (failed, cancelled, the port lost): the record from
    // before it is the current one again, whole.
    void recordRestored();

private:
    void sampleAndTemperatureReply(qint64 n);
    void temperatureReply(qint64 n);
    void sampleReply(qint64 n);
    void statusReply();
    void packetReply(qint64 n);
    void transferError(qint64 received);
    void beginTransfer();
    // The record shown so far stays aside, from the start until the transfer's array is whole;
    // a run that brings no whole array puts all of it back, header and real-time tables too.
    void keepAside();
    void restorePrevious();
    // Whether a real-time reply is stored at RealTimeCount (not the first after a start, and
    // room left in the record).
    bool takesRealTimePoint();
    void realTimePointMissing();
    // Whether a reply of n bytes has the length its request asks for; counts it when not.
    bool hasLength(qint64 n, qint64 length);
    // Writes a command the board answers.
    void request(const QByteArray& command);
    void discardWaiting();

    Recording recording_;
    QByteArray PendingCommand_;
    quint16 PacketsLeft_ = 0;
    double MeasureTimeMs_ = 0;
    double TransferTimeMs_ = 0;
    QString TransferStatusText_;
    double CurrentSignal_ = 0;
    double CurrentTemperature_ = 0;
    double TemperatureReading_ = 0;
    int AccelPeriodTicks_ = 0;
    quint32 ProgressStartTick_ = 0;

    SerialPort& port_;
    QTimer timRx_;
    QTimer timSendCmd_;
    QTimer trailingQuiet_;
    std::array<char, cmd::ReceiveAreaBytes> rxArea_{};
    // What the line owes: nothing (arriving bytes are dropped), the reply to a request, or
    // silence after the last packet of an array.
    enum class Expect { Nothing, Reply, Silence };
    Expect expect_ = Expect::Nothing;
    static constexpr int MaxTransferRepeats = 2;
    int transferRepeats_ = 0;
    std::optional<Recording> previous_;
    quint32 lineErrors_ = 0;
    int lostRealTimePoints_ = 0;
    std::function<quint32()> tick_;
    std::function<QString()> dateTime_;
};

}  // namespace korvel
