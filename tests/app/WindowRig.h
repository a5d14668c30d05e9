#pragma once
// The main window as every window test builds it: a settings file in a folder of its own, the
// messages recorded, and the board either on a scripted port the test feeds by hand or the
// simulated one. By default the window runs on the simulated board answering at once, with
// its secondary chart window attached, at 800x560; the options say otherwise.

#include "app/FileDialogs.h"
#include "app/MainWindow.h"
#include "chartview/ChartView.h"
#include "chartview/SecondaryChartWindow.h"
#include "device/Acquisition.h"
#include "device/PortLocator.h"
#include "serial/ScriptedPort.h"
#include "settings/Settings.h"
#include "sim/SimulatedPort.h"
#include "support/SampleWords.h"
#include "text/Messages.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>
#include <vector>

namespace korvel::testing {

struct WindowOptions {
    enum class Board { Scripted, Simulated };
    Board board = Board::Simulated;
    SimOptions sim{1, 0.0};     // the simulated board; answers at once
    bool throttle = false;      // the simulated board answers at the line's speed
    QString device = QStringLiteral("simulated");  // the name start-up finds the port under
    PortFinder finder;          // finds the port instead, when set
    QStringList unavailable;    // devices the scripted port will not open
    int rxIntervalMs = 0;       // the reception timers' intervals, when set
    int sendIntervalMs = 0;
    QByteArray settingsFile;    // Korvel.ini's bytes as a user or an editor left them, when not null
    std::optional<SettingsValues> saved;  // Korvel.ini as an earlier run left it
    bool secondaryWindow = true;
    QSize size{800, 560};       // the window's size after start-up, when valid
    bool forgetGreeting = false;   // the scripted port forgets the greeting it was written
    bool scriptedDialogs = false;  // the file dialogs answer from WindowRig::dialogs
};

// A scripted port found under `device`: the test reads what the window writes and feeds the
// replies itself.
inline WindowOptions OnScriptedPort(const QString& device = QStringLiteral("ttyUSB0"))
{
    WindowOptions o;
    o.board = WindowOptions::Board::Scripted;
    o.device = device;
    o.secondaryWindow = false;
    o.size = {};
    return o;
}

// The same, once the greeting written at start-up is forgotten.
inline WindowOptions OnScriptedPortWithoutGreeting()
{
    WindowOptions o = OnScriptedPort();
    o.forgetGreeting = true;
    return o;
}

// These options with the secondary chart window attached (WindowRig::secondary).
inline WindowOptions WithTheSecondaryWindow(WindowOptions o)
{
    o.secondaryWindow = true;
    return o;
}

// The simulated board on a short time scale with quick reception timers, so a whole exchange
// runs in milliseconds.
inline WindowOptions OnQuickSimulatedBoard()
{
    WindowOptions o;
    o.sim = SimOptions{};
    o.sim.timeScale = 0.001;
    o.rxIntervalMs = 20;
    o.sendIntervalMs = 5;
    o.secondaryWindow = false;
    o.size = {};
    return o;
}

// The default window, started on the settings an earlier run saved.
inline WindowOptions StartedOn(const SettingsValues& saved)
{
    WindowOptions o;
    o.saved = saved;
    return o;
}

// These options (the default window when none) with the file dialogs answering from
// WindowRig::dialogs.
inline WindowOptions WithScriptedDialogs(WindowOptions o = {})
{
    o.scriptedDialogs = true;
    return o;
}

// A user's choice in a list: the selection, then the signal the handlers listen to.
inline void choose(QComboBox* box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

struct WindowRig {
    WindowOptions options;
    QTemporaryDir dir;
    RecordingMessages messages;
    std::shared_ptr<ScriptedFileDialogs> dialogs = std::make_shared<ScriptedFileDialogs>();
    SecondaryChartWindow secondary;
    ScriptedPort* port = nullptr;        // the scripted board, owned by the window
    SimulatedPort* simulated = nullptr;  // the simulated board, owned by the window
    std::unique_ptr<MainWindow> window;

    explicit WindowRig(WindowOptions o = {}) : options(std::move(o))
    {
        if (!options.settingsFile.isNull()) {
            QFile f(settingsPath());
            f.open(QIODevice::WriteOnly);
            f.write(options.settingsFile);
        }
        if (options.saved)
            SaveSettings(settingsPath(), *options.saved, messages);
        build();
    }
    // The window writes its settings into dir when it closes; it does so while dir exists.
    ~WindowRig()
    {
        if (window)
            window->close();
    }

    // A window on the settings file, as a start of the program builds it.
    void build()
    {
        std::unique_ptr<SerialPort> board;
        if (options.board == WindowOptions::Board::Scripted) {
            auto p = std::make_unique<ScriptedPort>();
            p->unavailable = options.unavailable;
            port = p.get();
            board = std::move(p);
        } else {
            auto p = std::make_unique<SimulatedPort>(options.sim);
            if (options.throttle)
                p->setThrottle(true);
            simulated = p.get();
            board = std::move(p);
        }
        window = std::make_unique<MainWindow>(
            settingsPath(), messages,
            BoardAccess{std::move(board),
                        options.finder ? options.finder : FixedPortFinder(options.device)});
        if (options.rxIntervalMs)
            acq().timRx().setInterval(options.rxIntervalMs);
        if (options.sendIntervalMs)
            acq().timSendCmd().setInterval(options.sendIntervalMs);
        if (options.secondaryWindow)
            window->attachSecondaryWindow(&secondary);
        if (options.size.isValid())
            window->resize(options.size);
        if (options.scriptedDialogs)
            window->setFileDialogs(dialogs);
        if (options.forgetGreeting && port)
            port->writes.clear();
    }

    QString settingsPath() const { return dir.filePath(QStringLiteral("Korvel.ini")); }
    MainWindow& w() { return *window; }
    Ui::MainWindow& f() { return *window->form(); }
    Acquisition& acq() { return window->acquisition(); }
    ChartView& chart() { return *f().Chart1; }
    BoardSimulator& board() { return simulated->simulator(); }

    // What the window wrote to the scripted port, command by command.
    QList<QByteArray> written() const { return port->writtenCommands(); }

    // Whether each button that talks to the board is enabled: btStart, bt1MHz, bt07MHz,
    // btStartFExtrn, btSingle, btTemperature, btRd, btAxGo.
    std::vector<bool> boardButtons()
    {
        std::vector<bool> enabled;
        for (QWidget* b : {static_cast<QWidget*>(f().btStart), static_cast<QWidget*>(f().bt1MHz),
                           static_cast<QWidget*>(f().bt07MHz),
                           static_cast<QWidget*>(f().btStartFExtrn),
                           static_cast<QWidget*>(f().btSingle),
                           static_cast<QWidget*>(f().btTemperature),
                           static_cast<QWidget*>(f().btRd), static_cast<QWidget*>(f().btAxGo)})
            enabled.push_back(b->isEnabled());
        return enabled;
    }

    // An ordinary measurement's data, as the reception leaves it: the transfer's window steps,
    // then the array, put in place as a loaded file's is.
    void setData(const QByteArray& buffer, double samplePeriod = 1.0, quint16 blocks = 8)
    {
        emit acq().transferStarted(0);
        acq().loadRecording({.SampleBuffer = buffer, .ModeCommand = QByteArray("\x01\x00\x00", 3),
                             .BlockCount = blocks, .SamplePeriod = samplePeriod});
    }

    // Focus only counts in the active window.
    bool activate()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }
    void focus(QWidget* w)
    {
        w->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }
    // A click delivered the way the platform delivers it: to the window, at the point over the
    // target, so that the press goes to whoever takes it and the release follows the press.
    void clickInWindow(QWidget* target, QPoint at = {3, 3})
    {
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                          target->mapTo(window.get(), at));
    }
    // A point of ControlBar1 that no child covers.
    QPoint freeSpotOfControlBar()
    {
        QWidget* bar = f().ControlBar1;
        for (int x = bar->width() - 2; x > 0; --x)
            if (!bar->childAt(QPoint(x, bar->height() / 2)))
                return {x, bar->height() / 2};
        return {};
    }

    QString status0() { return window->statusPanel(0)->text(); }
    int points(QCPGraph* g) { return g->dataCount(); }
    double y(QCPGraph* g, int i) { return g->data()->at(i)->value; }
    double x(QCPGraph* g, int i) { return g->data()->at(i)->key; }
};

}  // namespace korvel::testing
