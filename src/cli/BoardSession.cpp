#include "cli/BoardSession.h"

#include "cli/Printed.h"
#include "device/ConnectBoard.h"
#include "serialport/QtSerialPort.h"
#include "text/Messages.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

namespace korvel::cli {

namespace {
BoardPortFactory& portFactory()
{
    static BoardPortFactory factory;
    return factory;
}
}  // namespace

void SetBoardPortFactory(BoardPortFactory factory)
{
    portFactory() = std::move(factory);
}

void AddBoardOptions(CommandLine& cl)
{
    for (const QCommandLineOption& o : LinkOptionList())
        cl.addOption(o);
    cl.addOption({QStringLiteral("timeout"),
                  QStringLiteral("Ждать ответа платы не дольше СЕКУНД; запуск по внешнему сигналу "
                                 "ждёт его столько же."),
                  QStringLiteral("СЕКУНДЫ")});
}

qint64 TimeoutMs(CommandLine& cl, qint64 fallbackMs)
{
    const double seconds = cl.real(QStringLiteral("timeout"), 0.1, 1e6, -1);
    return seconds < 0 ? fallbackMs : static_cast<qint64>(std::llround(seconds * 1000));
}

std::unique_ptr<SerialPort> ConnectFromOptions(const CommandLine& cl)
{
    const LinkOptions link = LinkOptionsFrom(cl.parser());
    std::unique_ptr<SerialPort> port = portFactory() ? portFactory()(link) : MakeBoardPort(link);
    RecordingMessages messages;
    const ConnectOutcome outcome = ConnectBoard(*port, MakeBoardPortFinder(link), messages);
    for (const QString& text : messages.texts())
        PrintedMessages::print(text);
    if (!outcome.connected()) {
        // The window stays silent when the registry lists no bridge; a script needs a reason.
        if (messages.said.isEmpty())
            PrintedMessages::print(QStringLiteral("АЦП не обнаружено"));
        if (const auto* qt = dynamic_cast<const QtSerialPort*>(port.get());
            qt && !qt->openFailure().isEmpty())
            PrintedMessages::print(qt->systemLocation() + QStringLiteral(": ") + qt->openFailure());
        return nullptr;
    }
    return port;
}

bool WaitFor(const std::function<bool()>& done, qint64 timeoutMs)
{
    const QDeadlineTimer deadline = timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever)
                                                  : QDeadlineTimer(timeoutMs);
    // The loop sleeps until something happens; this wakes it often enough to see the clock and
    // a flag set outside any event (a signal). processEvents with a time limit never sleeps.
    QTimer wake;
    wake.start(20);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

}  // namespace korvel::cli
