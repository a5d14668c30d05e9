// korvel-cli: the program's core without windows. The first argument names the subcommand.

#include "cli/ExitCodes.h"
#include "cli/Options.h"
#include "cli/Subcommands.h"
#include "settings/SettingsLocation.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstring>
#include <memory>

namespace {

using namespace korvel::cli;

QString TopLevelHelp()
{
    QString out = QStringLiteral(
        "Использование: korvel-cli ПОДКОМАНДА [параметры]\n\n"
        "Программа платы АЦП 12 разрядов (частота выборки до 1 МГц) без окна: те же измерения, "
        "файлы данных, текстовые файлы и графики, что у окна korvel, для сценариев и терминала.\n"
        "\nПодкоманды (korvel-cli ПОДКОМАНДА --help — их параметры):\n");
    for (const auto& sub : Subcommands())
        out += QStringLiteral("  %1%2\n").arg(QString::fromUtf8(sub.name).leftJustified(13),
                                               QString::fromUtf8(sub.summary));
    out += QStringLiteral(
        "\nПараметры:\n"
        "  -h, --help     Показать эту справку.\n"
        "  --help-all     Показать справку программы и всех подкоманд.\n"
        "  -v, --version  Показать версию.\n"
        "\n");
    out += Wrapped(QStringLiteral(
        "Подкоманды measure, read, realtime и temperature находят плату, как окно: по USB-кодам "
        "моста 10C4:EA5F (korvel-cli ports покажет, какой порт будет выбран); --port УСТРОЙСТВО "
        "задаёт порт, --simulate берёт модель платы, --timeout СЕКУНДЫ ограничивает ожидание "
        "ответа. Настройки (масштаб, вид графика и текстового файла) читаются из того же файла "
        "Korvel.ini, что у окна: рядом с программой, если её папка доступна для записи, иначе "
        "~/.config/korvel/Korvel.ini; --settings ФАЙЛ задаёт другой."), 79, 0);
    out += QStringLiteral("\n\n") + SettingsNote(korvel::SettingsPathForThisProgram({}))
        + QStringLiteral("\n\nКоды завершения:\n"
                         "  0    готово\n"
                         "  1    не получилось; сообщение программы — в стандартном потоке ошибок\n"
                         "  2    неверный вызов: параметр или его значение\n"
                         "  130  прервано сигналом SIGINT (Ctrl-C), 143 — SIGTERM\n");
    return out;
}

// Qt's GUI start-up looks into the session's runtime folder. Under cron, ssh or a service there
// is none, and Qt would say on stderr that it falls back to a shared one in /tmp; the drawing
// commands get a private folder for the run instead (0700, removed at the end), so their stderr
// holds only their own messages. Qt's other warnings about that folder still come through.
std::unique_ptr<QTemporaryDir> PrivateRuntimeFolder()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return nullptr;
    auto folder =
        std::make_unique<QTemporaryDir>(QDir::temp().filePath(QStringLiteral("korvel-cli-XXXXXX")));
    if (!folder->isValid())
        return nullptr;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder->path()));
    return folder;
}

}  // namespace

int main(int argc, char** argv)
{
    // Drawing needs a GUI application; everything else runs without a display.
    std::unique_ptr<QTemporaryDir> runtimeFolder;
    std::unique_ptr<QCoreApplication> app;
    const auto draws = [&](const char* name) { return std::strcmp(argv[1], name) == 0; };
    if (argc >= 2 && (draws("plot") || draws("spectrum") || draws("spectrogram") || draws("report"))) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        runtimeFolder = PrivateRuntimeFolder();
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("korvel-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVEL_VERSION));
    QStringList args = QCoreApplication::arguments();
    QTextStream out(stdout);
    const QString first = args.value(1);
    if (args.size() == 2 && (first == QLatin1String("--version") || first == QLatin1String("-v"))) {
        out << "korvel-cli " << KORVEL_VERSION << Qt::endl;
        return ExitOk;
    }
    if (args.size() == 2 && (first == QLatin1String("--help") || first == QLatin1String("-h")
                             || first == QLatin1String("help"))) {
        out << TopLevelHelp();
        return ExitOk;
    }
    if (args.size() == 2 && first == QLatin1String("--help-all")) {
        out << TopLevelHelp();
        for (const auto& sub : Subcommands()) {
            out << "\nПодкоманда " << sub.name << ":\n\n" << Qt::flush;
            sub.run({args.at(0), QStringLiteral("--help")});
        }
        return ExitOk;
    }
    for (const auto& sub : Subcommands()) {
        if (first == QLatin1String(sub.name)) {
            args.removeAt(1);
            return sub.run(args);
        }
    }
    QTextStream err(stderr);
    err << (first.isEmpty() ? QStringLiteral("korvel-cli: нужна подкоманда")
                            : QStringLiteral("korvel-cli: нет такой подкоманды: ") + first)
        << "\nСправка: korvel-cli --help" << Qt::endl;
    return ExitUsage;
}
