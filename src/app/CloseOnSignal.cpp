#include "app/CloseOnSignal.h"

#include <QWidget>
#include <signal.h>
#include <unistd.h>

namespace korvel {

namespace {

int wakeFds[2] = {-1, -1};
constexpr int closingSignals[] = {SIGTERM, SIGHUP, SIGINT};

void setHandler(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    for (int s : closingSignals)
        ::sigaction(s, &action, nullptr);
}

extern "C" void onClosingSignal(int)
{
    setHandler(SIG_DFL);
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(wakeFds[1], &c, 1);
}

}  // namespace

CloseOnSignal::CloseOnSignal(QWidget* window)
{
    if (::pipe(wakeFds) != 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(wakeFds[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, window, [window] {
        char c = 0;
        [[maybe_unused]] const auto n = ::read(wakeFds[0], &c, 1);
        window->close();
    });
    setHandler(onClosingSignal);
}

CloseOnSignal::~CloseOnSignal()
{
    setHandler(SIG_DFL);
    notifier_.reset();
    for (int& fd : wakeFds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

}  // namespace korvel
