// korvel: the desktop program of the 12-bit ADC board.
#include "app/MainWindow.h"
#include "app/SettingsLocation.h"
#include "app/WidgetMessages.h"
#include "chart/SecondaryChartWindow.h"
#include "serial/BoardLink.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Korvel"));
    QApplication::setApplicationVersion(QStringLiteral(KORVEL_VERSION));

    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral("Программа платы АЦП 12 разрядов, частота выборки до 1МГц"));
    cli.addHelpOption();
    cli.addVersionOption();
    const QCommandLineOption settings(QStringLiteral("settings"),
                                      QStringLiteral("Read and write FILE instead of Korvel.ini beside the program."),
                                      QStringLiteral("FILE"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Save the started window to FILE (PNG) and close it."),
                                        QStringLiteral("FILE"));
    cli.addOption(settings);
    cli.addOption(screenshot);
    korvel::AddLinkOptions(cli);
    cli.process(app);
    const korvel::LinkOptions link = korvel::LinkOptionsFrom(cli);

    const QString settingsPath =
        korvel::SettingsPathForThisProgram(cli.isSet(settings) ? cli.value(settings) : QString());

    // Unattended runs must never wait on a message box.
    korvel::WidgetMessages boxes;
    korvel::StderrMessages printed;
    korvel::Messages& messages = cli.isSet(screenshot) ? static_cast<korvel::Messages&>(printed)
                                                       : static_cast<korvel::Messages&>(boxes);

    korvel::MainWindow window(settingsPath, messages,
                              {korvel::MakeBoardPort(link), korvel::MakeBoardPortFinder(link)});
    boxes.setParent(&window);
    korvel::SecondaryChartWindow secondary;  // hidden until the real-time mode shows it
    window.attachSecondaryWindow(&secondary);
    window.show();

    if (cli.isSet(screenshot)) {
        const QString file = cli.value(screenshot);
        QTimer::singleShot(0, &window, [&window, file] {
            if (!window.grab().save(file, "PNG"))
                std::fprintf(stderr, "korvel: cannot write %s\n", qPrintable(file));
            window.close();
        });
    }
    return app.exec();
}
