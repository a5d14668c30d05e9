#include "cli/StopOnSignal.h"

#include <iterator>
#include <signal.h>
#include <unistd.h>

namespace korvel::cli {

namespace {
int pipeFds[2] = {-1, -1};
// Seen at once by the waiting loops; the pipe also wakes a loop that is asleep.
volatile sig_atomic_t caught = 0;
constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int SignalCount = int(std::size(Signals));
// A signal the program was started with ignored stays ignored: a job sent to the background
// by a script is meant to be deaf to the terminal's Ctrl-C, one started by nohup to SIGHUP.
volatile sig_atomic_t handled[SignalCount] = {};

void setAction(int signal, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
}

void setAction(void (*handler)(int))
{
    for (int i = 0; i < SignalCount; ++i)
        if (handled[i])
            setAction(Signals[i], handler);
}

extern "C" void onSignal(int number)
{
    setAction(SIG_DFL);
    // A hang-up takes the terminal or the SSH pipe along: the progress bar or a JSON line
    // written to it must not end the program with SIGPIPE before the save.
    setAction(SIGPIPE, SIG_IGN);
    if (caught == 0)
        caught = number;
    const char c = static_cast<char>(number);
    [[maybe_unused]] const auto n = ::write(pipeFds[1], &c, 1);
}
}  // namespace

QString SignalName(int signalNumber)
{
    switch (signalNumber) {
    case SIGINT: return QStringLiteral("SIGINT");
    case SIGTERM: return QStringLiteral("SIGTERM");
    case SIGHUP: return QStringLiteral("SIGHUP");
    default: return QString::number(signalNumber);
    }
}

StopOnSignal::StopOnSignal()
{
    if (::pipe(pipeFds) != 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(pipeFds[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        char c = 0;
        if (::read(pipeFds[0], &c, 1) == 1 && !notified_) {
            notified_ = true;
            emit stopped(signalNumber());
        }
    });
    caught = 0;
    for (int i = 0; i < SignalCount; ++i) {
        struct sigaction old = {};
        ::sigaction(Signals[i], nullptr, &old);
        handled[i] = old.sa_handler != SIG_IGN;
    }
    setAction(onSignal);
}

int StopOnSignal::signalNumber() const
{
    return caught;
}

StopOnSignal::~StopOnSignal()
{
    setAction(SIG_DFL);
    notifier_.reset();
    for (int& fd : pipeFds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

}  // namespace korvel::cli
