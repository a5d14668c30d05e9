#pragma once
// Runs the event loop until a condition holds or a generous limit passes. The limit only
// stops a broken test from hanging; no test asserts how long anything took.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <functional>

namespace korvel::testing {

inline bool WaitUntil(const std::function<bool()>& done, int limitMs = 20000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

// Lets the event loop run so that anything still to come would arrive; nothing is timed.
inline void Settle(int ms = 150)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace korvel::testing
