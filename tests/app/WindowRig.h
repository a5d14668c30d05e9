#pragma once
// A main window on a test port, with the helpers the measurement tests share: the settings
// file in a temporary folder, real keyboard focus, and the free spot of the tool-bar strip.

#include "app/MainWindow.h"
#include "device/Acquisition.h"
#include "device/PortLocator.h"
#include "serial/SerialPort.h"
#include "text/Messages.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace korvel::testing {

struct WindowRig {
    QTemporaryDir dir;
    RecordingMessages messages;
    QString path = dir.filePath(QStringLiteral("Korvel.ini"));
    std::unique_ptr<MainWindow> window;

    // The port is found under the given device name and opened at start-up.
    void build(std::unique_ptr<SerialPort> port, const QString& device)
    {
        window = std::make_unique<MainWindow>(
            path, messages, BoardAccess{std::move(port), FixedPortFinder(device)});
    }
    MainWindow& w() { return *window; }
    Ui::MainWindow& f() { return *window->form(); }
    Acquisition& acq() { return window->acquisition(); }

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
    // A point of ControlBar1 that no child covers.
    QPoint freeSpotOfControlBar()
    {
        QWidget* bar = f().ControlBar1;
        for (int x = bar->width() - 2; x > 0; --x)
            if (!bar->childAt(QPoint(x, bar->height() / 2)))
                return {x, bar->height() / 2};
        return {};
    }
};

}  // namespace korvel::testing
