#include "sim/PtyBoardServer.h"

#include "sim/WirePacing.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#if defined(__APPLE__)
#include <util.h>
#else
#include <pty.h>
#endif
#if defined(__linux__)
#include <sys/prctl.h>
#endif
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace korvel {

namespace {
qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<qint64>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}
// A sleeping thread wakes a hundred or more microseconds late on a busy or virtual machine,
// which over the 960 packets of an array is 3 % of its wire time charged to the host. A paced
// reply is slept for until this close to its time and then waited for by polling.
constexpr qint64 PacingSpinUs = 250;

// Microsecond waits where the system has them; the wire-speed pacing depends on it.
int waitForEvents(pollfd* fds, const timespec* timeout)
{
#if defined(__linux__)
    return ppoll(fds, 2, timeout, nullptr);
#else
    const int ms = timeout ? static_cast<int>(timeout->tv_sec * 1000 + (timeout->tv_nsec + 999999) / 1000000)
                           : -1;
    return poll(fds, 2, ms);
#endif
}
}  // namespace

PtyBoardServer::PtyBoardServer(SimOptions options, bool throttle)
    : sim_(options), throttle_(throttle)
{
}

PtyBoardServer::~PtyBoardServer()
{
    stop();
}

qint64 PtyBoardServer::nowUs() const
{
    return (monotonicNs() - startNs_) / 1000;
}

bool PtyBoardServer::start(QString* error)
{
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0 || pipe(wake_) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        stop();
        return false;
    }
    // Raw both ways: no echo of the host's bytes, no line editing of the board's.
    termios tio{};
    tcgetattr(slave_, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave_, TCSANOW, &tio);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    // The server keeps its own slave descriptor open, so the master never sees a hang-up
    // between two host sessions.
    path_ = QString::fromLocal8Bit(name);
    startNs_ = monotonicNs();
    thread_ = std::thread([this] { run(); });
    return true;
}

void PtyBoardServer::stop()
{
    if (thread_.joinable()) {
        const char stopByte = 's';
        [[maybe_unused]] const auto w = ::write(wake_[1], &stopByte, 1);
        thread_.join();
    }
    for (int* fd : {&master_, &slave_, &wake_[0], &wake_[1]}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

std::vector<quint16> PtyBoardServer::expectedWords(int blocks)
{
    std::lock_guard lock(mutex_);
    return sim_.expectedWords(blocks);
}

QByteArray PtyBoardServer::expectedBytes(int blocks)
{
    std::lock_guard lock(mutex_);
    return sim_.expectedBytes(blocks);
}

QList<QByteArray> PtyBoardServer::commands()
{
    std::lock_guard lock(mutex_);
    return sim_.commands();
}

void PtyBoardServer::fireEdge()
{
    edgeRequested_ = true;
    const char edgeByte = 'e';
    [[maybe_unused]] const auto w = ::write(wake_[1], &edgeByte, 1);
}

void PtyBoardServer::setFaults(const SimFaults& faults)
{
    std::lock_guard lock(mutex_);
    sim_.faults = faults;
}

void PtyBoardServer::run()
{
#if defined(__linux__)
    // The default 50 µs of slack would be added to every paced reply.
    if (throttle_)
        prctl(PR_SET_TIMERSLACK, 1UL);
#endif
    WirePacing pacing(throttle_);
    QByteArray out;  // bytes due but not yet taken by the pseudo-terminal
    char buf[4096];
    for (;;) {
        pollfd fds[2] = {{master_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (!out.isEmpty())
            fds[0].events |= POLLOUT;
        timespec timeout{};
        timespec* wait = nullptr;
        if (out.isEmpty() && !pacing.empty()) {
            const qint64 left = pacing.nextAtUs() - nowUs();
            const qint64 us = left > PacingSpinUs ? left - PacingSpinUs : 0;
            timeout.tv_sec = static_cast<time_t>(us / 1000000);
            timeout.tv_nsec = static_cast<long>((us % 1000000) * 1000);
            wait = &timeout;
        }
        if (waitForEvents(fds, wait) < 0 && errno != EINTR)
            return;
        if (fds[1].revents & POLLIN) {
            char c[16];
            const ssize_t n = ::read(wake_[0], c, sizeof c);
            if (n > 0 && std::memchr(c, 's', static_cast<size_t>(n)))
                return;
        }
        if (edgeRequested_.exchange(false)) {
            std::lock_guard lock(mutex_);
            pacing.schedule(sim_.fireEdge(nowUs()));
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n > 0) {
                std::lock_guard lock(mutex_);
                pacing.schedule(sim_.receive(QByteArray(buf, static_cast<qsizetype>(n)), nowUs()));
            }
        }
        QByteArray due;
        while (pacing.takeDue(nowUs(), &due))
            out.append(due);
        if (!out.isEmpty()) {
            const ssize_t n = ::write(master_, out.constData(), static_cast<size_t>(out.size()));
            if (n > 0)
                out.remove(0, static_cast<qsizetype>(n));
        }
    }
}

}  // namespace korvel
