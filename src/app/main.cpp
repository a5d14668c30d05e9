// korvel: the desktop program of the 12-bit ADC board.
#include "app/CloseOnSignal.h"
#include "app/FileDialogs.h"
#include "app/MainWindow.h"
#include "app/WidgetMessages.h"
#include "chartview/SecondaryChartWindow.h"
#include "device/Acquisition.h"
#include "serialport/BoardLink.h"
#include "settings/SettingsLocation.h"
#include "text/Cp1251.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QSessionManager>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>
#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Korvel"));
    QApplication::setApplicationVersion(QStringLiteral(KORVEL_VERSION));
    // The program speaks only Russian: Qt's own dialogs and buttons follow, whatever the locale.
    QTranslator qtRussian;
    if (qtRussian.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtRussian);

    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral("Программа платы АЦП 12 разрядов, частота выборки до 1МГц"));
    cli.addHelpOption();
    cli.addVersionOption();
    const QCommandLineOption settings(QStringLiteral("settings"),
                                      QStringLiteral("Читать и записывать настройки в ФАЙЛ вместо Korvel.ini "
                                                     "(рядом с программой, если её папка доступна для "
                                                     "записи, иначе в ~/.config/korvel)."),
                                      QStringLiteral("ФАЙЛ"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Сохранить картинку открытого окна в ФАЙЛ (PNG) и закрыть его."),
                                        QStringLiteral("ФАЙЛ"));
    const QCommandLineOption measure(QStringLiteral("measure"),
                                     QStringLiteral("После запуска выполнить измерение: 1mhz или 07mhz (с --simulate — "
                                                    "для показа)."),
                                     QStringLiteral("ЧАСТОТА"));
    cli.addPositionalArgument(QStringLiteral("файл"),
                              QStringLiteral("Файл данных (*.dtw), который открыть при запуске."),
                              QStringLiteral("[ФАЙЛ.dtw]"));
    cli.addOption(settings);
    cli.addOption(screenshot);
    cli.addOption(measure);
    korvel::AddLinkOptions(cli);
    cli.process(app);
    const korvel::LinkOptions link = korvel::LinkOptionsFrom(cli);
    const QString rate = cli.value(measure).toLower();
    if (cli.isSet(measure) && rate != QStringLiteral("1mhz") && rate != QStringLiteral("07mhz")) {
        std::fprintf(stderr, "korvel: --measure: нужно 1mhz или 07mhz\n");
        return 2;
    }

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
    // A logout or the system stopping the program ends it as a closed window does.
    korvel::CloseOnSignal closeOnSignal(&window);
    // The session manager asks first (the logout may still be cancelled), then quits.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager&) { window.writeSettings(); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, [&window] {
        if (window.isVisible())
            window.close();
    });
    if (cli.isSet(screenshot))
        window.setFileDialogs(std::make_shared<korvel::ScriptedFileDialogs>());  // cancels every dialog
    korvel::SecondaryChartWindow secondary;  // hidden until the real-time mode shows it
    window.attachSecondaryWindow(&secondary);
    window.show();
    // Opened into the window as it is shown: a long comment is laid out once, at its box's
    // real width, not once before and again when the window appears.
    if (!cli.positionalArguments().isEmpty())
        window.openDataFile(cli.positionalArguments().first());
    if (!korvel::Cp1251Available())
        messages.error(korvel::Cp1251MissingAtStartMessage());

    if (cli.isSet(measure)) {
        // The button's own handler starts the measurement, exactly as a click would.
        QToolButton* button = rate == QStringLiteral("1mhz") ? window.form()->bt1MHz
                                                             : window.form()->bt07MHz;
        QTimer::singleShot(0, button, &QToolButton::click);
    }

    if (cli.isSet(screenshot)) {
        const QString file = cli.value(screenshot);
        auto shoot = [&window, file] {
            if (!window.grab().save(file, "PNG"))
                std::fprintf(stderr, "korvel: cannot write %s\n", qPrintable(file));
            window.close();
        };
        if (cli.isSet(measure)) {
            // Taken once the chart is drawn (queued, so the window's own draw runs first), or
            // after a minute if the board never delivers.
            auto taken = std::make_shared<bool>(false);
            auto once = [taken, shoot] {
                if (!*taken) {
                    *taken = true;
                    shoot();
                }
            };
            QObject::connect(&window.acquisition(), &korvel::Acquisition::drawChart, &window,
                             once, Qt::QueuedConnection);
            QTimer::singleShot(60000, &window, [once] {
                std::fprintf(stderr, "korvel: no chart was drawn; taking the window as it is\n");
                once();
            });
        } else {
            QTimer::singleShot(0, &window, shoot);
        }
    }
    return app.exec();
}
