// korvel-cli: the program's core without windows. The first argument names the subcommand.

#include "cli/Subcommands.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>
#include <cstring>
#include <memory>

int main(int argc, char** argv)
{
    // Drawing needs a GUI application; everything else runs without a display.
    std::unique_ptr<QCoreApplication> app;
    if (argc >= 2 && std::strcmp(argv[1], "plot") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("korvel-cli"));
    QStringList args = QCoreApplication::arguments();
    QTextStream err(stderr);
    const bool askedForHelp = args.size() == 2
        && (args.at(1) == QLatin1String("--help") || args.at(1) == QLatin1String("-h")
            || args.at(1) == QLatin1String("help"));
    if (askedForHelp) {
        QTextStream out(stdout);
        out << "usage: korvel-cli SUBCOMMAND [options]   (korvel-cli SUBCOMMAND --help for its options)\n";
        for (const auto& sub : korvel::cli::Subcommands())
            out << "  " << sub.name << "\t" << sub.summary << "\n";
        return 0;
    }
    if (args.size() >= 2) {
        for (const auto& sub : korvel::cli::Subcommands()) {
            if (args.at(1) == QLatin1String(sub.name)) {
                args.removeAt(1);
                return sub.run(args);
            }
        }
        err << "korvel-cli: unknown subcommand " << args.at(1) << "\n";
    }
    err << "usage: korvel-cli SUBCOMMAND [options]\n";
    for (const auto& sub : korvel::cli::Subcommands())
        err << "  " << sub.name << "\t" << sub.summary << "\n";
    return 2;
}
