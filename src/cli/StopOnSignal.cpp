#include "cli/StopOnSignal.h"

#include <QCoreApplication>
#include <csignal>
#include <unistd.h>

namespace korvel::cli {

namespace {
int pipeFds[2] = {-1, -1};

extern "C" void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(pipeFds[1], &c, 1);
}
}  // namespace

StopOnSignal::StopOnSignal()
{
    if (::pipe(pipeFds) != 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(pipeFds[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [] { QCoreApplication::quit(); });
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
}

StopOnSignal::~StopOnSignal()
{
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    notifier_.reset();
    for (int& fd : pipeFds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

}  // namespace korvel::cli
