// korvel-cli: the program's core without windows. The first argument names the subcommand.

#include "cli/Subcommands.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korvel-cli"));
    QStringList args = QCoreApplication::arguments();
    QTextStream err(stderr);
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
