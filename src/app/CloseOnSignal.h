#pragma once
// SIGTERM, SIGHUP (the terminal or the session going away) and SIGINT close the window the way
// its close button does, so that the settings are written as at any close. The handler only
// writes to a pipe; the closing happens on the window's thread. A second signal ends the
// program at once.

#include <QObject>
#include <QSocketNotifier>
#include <memory>

class QWidget;

namespace korvel {

class CloseOnSignal : public QObject {
public:
    explicit CloseOnSignal(QWidget* window);
    ~CloseOnSignal() override;

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace korvel
