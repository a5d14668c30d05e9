#pragma once
// The first SIGINT, SIGTERM or SIGHUP (the terminal closed, the SSH link dropped) asks the
// running subcommand to stop: it can save what it has or leave the board idle, and then exit.
// The handler only writes the signal's number to a pipe and gives the three signals back their
// default action, so a second one ends the program at once. From then on a write to a reader
// that has gone fails instead of ending the program before it has saved.

#include <QObject>
#include <QString>
#include <QSocketNotifier>
#include <memory>

namespace korvel::cli {

// "SIGINT", "SIGTERM", "SIGHUP", or the number.
QString SignalName(int signalNumber);

class StopOnSignal : public QObject {
    Q_OBJECT
public:
    StopOnSignal();
    ~StopOnSignal() override;

    // The signal that asked to stop, or 0. One instance at a time.
    int signalNumber() const;
    bool stopRequested() const { return signalNumber() != 0; }

signals:
    void stopped(int signalNumber);

private:
    std::unique_ptr<QSocketNotifier> notifier_;
    bool notified_ = false;
};

}  // namespace korvel::cli
