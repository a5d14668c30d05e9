// korvel-cli simulate [--link PATH] [--throttle] [--time-scale X] [--seed N] [--short-packet N]
// Serves the simulated board on a pseudo-terminal until interrupted.

#include "cli/CommandLine.h"
#include "cli/Printed.h"
#include "cli/StopOnSignal.h"
#include "cli/Subcommands.h"
#include "device/Commands.h"
#include "sim/PtyBoardServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <limits>

namespace korvel::cli {

int RunSimulate(const QStringList& arguments)
{
    CommandLine cl(QStringLiteral("simulate"), QStringLiteral("[--link ПУТЬ] [параметры]"),
                   QStringLiteral("Модель платы АЦП на псевдотерминале для других программ (или для "
                                  "korvel-cli --port): печатает имя устройства и работает до Ctrl-C."));
    cl.addOption({QStringLiteral("link"),
                  QStringLiteral("Сделать ПУТЬ символической ссылкой на устройство."), QStringLiteral("ПУТЬ")});
    cl.addOption({QStringLiteral("throttle"), QStringLiteral("Отвечать со скоростью линии 921600 бод.")});
    cl.addOption({QStringLiteral("time-scale"),
                  QStringLiteral("Множитель времени измерения, 0 и больше (0 — отвечать сразу; по "
                                 "умолчанию 1)."),
                  QStringLiteral("X")});
    cl.addOption({QStringLiteral("seed"), QStringLiteral("Начальное число тестового сигнала (по умолчанию 1)."),
                  QStringLiteral("N")});
    // A line that loses a byte of the same packet every time: what a failing transfer does to
    // the window and to the record shown before it, tried without a faulty board.
    cl.addOption({QStringLiteral("short-packet"),
                  QStringLiteral("Пакет N каждой передачи приходит на байт короче (проверка ошибок "
                                 "линии)."),
                  QStringLiteral("N")});
    if (const int rc = cl.parse(arguments); rc >= 0)
        return rc;
    SimOptions options;
    options.timeScale = cl.real(QStringLiteral("time-scale"), 0, 1e6, 1);
    options.seed = static_cast<quint32>(
        cl.integer(QStringLiteral("seed"), 0, std::numeric_limits<int>::max(), 1));
    const int shortPacket = cl.integer(QStringLiteral("short-packet"), 1, cmd::MaxBlocks * cmd::PacketsPerBlock, 0);
    if (cl.failed())
        return cl.usageError();

    PtyBoardServer server(options, cl.isSet(QStringLiteral("throttle")));
    if (shortPacket > 0) {
        SimFaults faults;
        faults.packetLengths.insert(shortPacket - 1, cmd::PacketBytes - 1);
        server.setFaults(faults);
    }
    QString error;
    if (!server.start(&error))
        return Failure(QStringLiteral("Не удалось открыть псевдотерминал: ") + error);
    const QString link = cl.value(QStringLiteral("link"));
    if (!link.isEmpty()) {
        QFile::remove(link);
        if (!QFile::link(server.devicePath(), link))
            return Failure(QStringLiteral("Не удалось создать ссылку ") + link);
    }
    QTextStream(stdout) << server.devicePath() << Qt::endl;

    StopOnSignal stop;
    QObject::connect(&stop, &StopOnSignal::stopped, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    server.stop();
    if (!link.isEmpty())
        QFile::remove(link);
    return ExitOk;
}

}  // namespace korvel::cli
