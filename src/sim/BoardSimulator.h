#pragma once
// The board's side of the protocol, for tests, benchmarks and `korvel --simulate`: it takes
// the host's command bytes and answers with the replies a real board gives, each stamped with
// the modelled time it becomes ready. Transports (SimulatedPort, PtyBoardServer) deliver them.
// The signal is deterministic for a seed, so tests can compare sample words exactly.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <optional>
#include <random>
#include <vector>

namespace korvel {

struct SimOptions {
    quint32 seed = 1;
    // Multiplies the modelled measurement time; 0 answers at once.
    double timeScale = 1.0;
    // After a start that waits for an external edge: the edge comes this many ms later, or,
    // when negative, only when fireEdge() is called.
    int edgeDelayMs = 0;
    // The generator on the external clock input.
    double externalClockHz = 100000;
    int accelPeriodTicks = 10322;
};

// Fault injection, counted in packets of the current transfer (0 is the cmdSendArray reply).
struct SimFaults {
    QSet<int> dropPackets;
    // packet → bytes actually sent: fewer cut it short, more add stray bytes (EE) behind it
    QHash<int, int> packetLengths;
    QSet<int> repeatPackets;          // sent twice
    QByteArray strayAfterStatus;      // sent right behind the next status reply, once
    int temperatureReplyBytes = 0;    // the reading cut or padded to this many bytes; 0 keeps 2
    bool silent = false;              // takes commands, answers nothing
};

struct SimOutput {
    qint64 readyAtUs;
    QByteArray bytes;
};

class BoardSimulator {
public:
    explicit BoardSimulator(SimOptions options = {});

    // Host bytes that arrived at nowUs (modelled microseconds); commands may span calls.
    QList<SimOutput> receive(const QByteArray& bytes, qint64 nowUs);
    // The external edge for a start that is waiting for one.
    QList<SimOutput> fireEdge(qint64 nowUs);
    bool waitingForEdge() const { return edgeWait_.has_value(); }

    // The words the host holds after fetching the first `blocks` blocks of the board's memory.
    std::vector<quint16> expectedWords(int blocks) const;
    QByteArray expectedBytes(int blocks) const;
    // Every complete command received, in order.
    const QList<QByteArray>& commands() const { return commands_; }
    // The output lines: XP2/7 (switched by 01/02) and XP2/8 (03/04); unset until commanded.
    std::optional<bool> temperatureLineHigh() const { return tLine_; }
    std::optional<bool> signalLineHigh() const { return aLine_; }
    // The sample word and temperature word the real-time commands report at a moment.
    quint16 liveSampleWord(qint64 nowUs) const;
    quint16 temperatureWord(qint64 nowUs) const;

    SimOptions& options() { return options_; }
    SimFaults faults;

private:
    struct PendingStart {
        QByteArray command;
        qint64 measureUs;
    };

    void handle(const QByteArray& command, qint64 nowUs, QList<SimOutput>* out);
    void startMeasurement(const QByteArray& command, qint64 nowUs, QList<SimOutput>* out);
    void finishMeasurement(const PendingStart& start, qint64 edgeUs, QList<SimOutput>* out);
    void fillAdc(int samples, double periodUs);
    void fillAccel(int samples, quint8 mask);
    void sendPacket(qint64 nowUs, QList<SimOutput>* out);

    SimOptions options_;
    QByteArray partial_;
    QList<QByteArray> commands_;
    std::vector<quint16> memory_;
    bool finalWords_ = false;  // an accelerometer run without trigger sends its words as stored
    quint32 runs_ = 0;
    int packet_ = 0;
    std::optional<PendingStart> edgeWait_;
    std::optional<bool> tLine_, aLine_;
    std::mt19937 wireNoise_;
};

}  // namespace korvel
