#pragma once
// Ends the event loop on SIGINT or SIGTERM. The handler only writes a byte to a pipe; the
// quitting happens on the main thread.

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace korvel::cli {

class StopOnSignal : public QObject {
    Q_OBJECT
public:
    StopOnSignal();
    ~StopOnSignal() override;

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace korvel::cli
