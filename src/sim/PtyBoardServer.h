#pragma once
// Serves the simulated board on a pseudo-terminal, so the real QSerialPort road can be driven
// end to end. A thread of its own reads the host's commands and writes the replies when due.

#include "sim/BoardSimulator.h"

#include <QString>
#include <atomic>
#include <mutex>
#include <thread>

namespace korvel {

class PtyBoardServer {
public:
    explicit PtyBoardServer(SimOptions options = {}, bool throttle = false);
    ~PtyBoardServer();
    PtyBoardServer(const PtyBoardServer&) = delete;
    PtyBoardServer& operator=(const PtyBoardServer&) = delete;

    // Opens the pseudo-terminal and starts serving; false with a reason when it cannot.
    bool start(QString* error = nullptr);
    void stop();
    // The device the host opens (/dev/pts/N).
    QString devicePath() const { return path_; }

    // Safe from any thread while the server runs.
    std::vector<quint16> expectedWords(int blocks);
    QByteArray expectedBytes(int blocks);
    QList<QByteArray> commands();
    void fireEdge();
    void setFaults(const SimFaults& faults);

private:
    void run();
    qint64 nowUs() const;

    BoardSimulator sim_;
    bool throttle_;
    std::mutex mutex_;
    std::thread thread_;
    std::atomic<bool> edgeRequested_{false};
    int master_ = -1;
    int slave_ = -1;
    int wake_[2] = {-1, -1};
    QString path_;
    qint64 startNs_ = 0;
};

}  // namespace korvel
