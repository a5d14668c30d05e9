#pragma once
// Runs the event loop until a condition holds or a generous limit passes. The limit only
// stops a broken test from hanging; no test asserts how long anything took.

#include <QCoreApplication>
#include <QElapsedTimer>
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

}  // namespace korvel::testing
