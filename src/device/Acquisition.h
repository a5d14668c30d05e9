#pragma once
// The acquisition state and the receive handler. It talks to the board through a SerialPort
// and tells the window what to show through signals; it never touches a widget, so the window,
// korvel-cli and the tests all drive the same object.

#include "device/Commands.h"
#include "device/ModeStarts.h"
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

struct AcquisitionIntervals {
    int rxMs = 500;
    int sendCmdMs = 400;
};

class Acquisition : public QObject {
    Q_OBJECT
public:
    static constexpr int RealTimeCapacity = 65536;

    explicit Acquisition(SerialPort& port, QObject* parent = nullptr,
                         AcquisitionIntervals intervals = {});

    // The state the Parts of the program share, under the names they use.
    QByteArray ModeCommand;
    QByteArray PendingCommand;
    quint16 PacketsLeft = 0;
    quint16 BlockCount = 8;
    double SamplePeriod = 0;
    double MeasureTimeMs = 0;
    double TransferTimeMs = 0;
    QString TransferStatusText;
    QByteArray SampleBuffer;
    std::vector<quint16> RealTimeSignal;
    std::vector<qint16> RealTimeTemperature;
    // Index of the next real-time point; the real-time draw adds the point and increments it.
    int RealTimeCount = 0;
    double CurrentSignal = 0;
    double CurrentTemperature = 0;
    int AccelPeriodTicks = 0;
    double AccelPeriod = 0.0007;
    quint32 ProgressStartTick = 0;

    // Replies of the wrong length (and bytes after an array) since the program started.
    quint32 lineErrors() const { return lineErrors_; }

    QTimer& timRx() { return timRx_; }
    QTimer& timSendCmd() { return timSendCmd_; }
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
    // A real-time start: the first reply that follows is discarded.
    void beginRealTimeRecord() { RealTimeCount = -1; }
    // One real-time request; the replies are told apart by ModeCommand.
    void sendRealTimeRequest(bool withTemperature);
    // One temperature reading; PendingCommand is left as it is.
    void requestTemperature();
    // Writes a command now (the output commands of the real-time cycle, for example).
    void writeCommand(const QByteArray& command);
    // Stops waiting for the board: no timer runs, nothing is pending, and whatever the board
    // still sends for the abandoned run is read and dropped. The next start begins afresh.
    void Cancel();

    // Handlers under the names the rest of the program knows.
    void VaComm1RxChar();
    void timRxTimer();
    void timSendCmdTimer();

signals:
    void statusText(int panel, const QString& text);
    // GetData's window steps: AxisXName, percent labels, series, DataKind := 1, the progress
    // panel with this estimate, and the comment box caption "Комментарий".
    void transferStarted(double transferTimeMs);
    // An accelerometer run reported its period (AccelPeriod is set); the duration list follows.
    void accelPeriodReported(int ticks);
    // A real-time reply was stored at RealTimeCount. With the temperature, DecideOutput runs
    // first; then the chart adds the point.
    void realTimeReply(bool withTemperature);
    void readoutOff();
    // The real-time record holds RealTimeCapacity points; nothing more is stored.
    void realTimeRecordFull();
    // CoefficientsFromFile and ChartZoomed := false, just before the chart is drawn from
    // received data.
    void chartFlagsReset();
    // Draw the chart on behalf of timRx.
    void drawChart();
    // The array could not be received whole; the message names the packet and its length.
    void transferFailed(const QString& message);

private:
    void sampleAndTemperatureReply(qint64 n);
    void temperatureReply(qint64 n);
    void sampleReply(qint64 n);
    void statusReply();
    void packetReply(qint64 n);
    void lineStayedQuiet();
    void transferError(qint64 received);
    void beginTransfer();
    // A transfer that brings no whole array leaves the one before it in place.
    void keepPreviousArray();
    // Whether a real-time reply is stored at RealTimeCount (not the first after a start, and
    // room left in the record).
    bool takesRealTimePoint();
    // Whether a reply of n bytes has the length its request asks for; counts it when not.
    bool hasLength(qint64 n, qint64 length);
    // Writes a command the board answers.
    void request(const QByteArray& command);
    void discardWaiting();

    SerialPort& port_;
    QTimer timRx_;
    QTimer timSendCmd_;
    std::array<char, cmd::ReceiveAreaBytes> rxArea_{};
    // What the line owes: nothing (arriving bytes are dropped), the reply to a request, or
    // silence after the last packet of an array.
    enum class Expect { Nothing, Reply, Silence };
    Expect expect_ = Expect::Nothing;
    static constexpr int MaxTransferRepeats = 2;
    int transferRepeats_ = 0;
    std::optional<QByteArray> previousArray_;
    quint32 lineErrors_ = 0;
    std::function<quint32()> tick_;
    std::function<QString()> dateTime_;
};

}  // namespace korvel
