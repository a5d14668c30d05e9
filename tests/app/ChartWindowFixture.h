#pragma once
// A main window on the simulated board with its secondary window, and small helpers to put
// data into the acquisition object and to act on the controls the way a user would.

#include "app/MainWindow.h"
#include "chartview/ChartView.h"
#include "chartview/SecondaryChartWindow.h"
#include "device/Acquisition.h"
#include "settings/Settings.h"
#include "sim/SimulatedPort.h"
#include "support/SampleWords.h"
#include "text/Messages.h"
#include "ui_MainWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace korvel::testing {

struct ChartWindow {
    QTemporaryDir dir;
    RecordingMessages messages;
    std::unique_ptr<MainWindow> window;
    SecondaryChartWindow secondary;

    ChartWindow() { build(); }
    // Started on a settings file that an earlier run left with these values.
    explicit ChartWindow(const SettingsValues& saved)
    {
        SaveSettings(settingsPath(), saved, messages);
        build();
    }
    ~ChartWindow()
    {
        // The window writes its settings into dir when it closes; do it while dir exists.
        window->close();
    }

    QString settingsPath() const { return dir.filePath(QStringLiteral("Korvel.ini")); }
    Ui::MainWindow& f() { return *window->form(); }
    ChartView& chart() { return *f().Chart1; }
    Acquisition& acq() { return window->acquisition(); }

    // An ordinary measurement's data, as the reception leaves it: the transfer's window steps,
    // then the array, put in place as a loaded file's is.
    void setData(const QByteArray& buffer, double samplePeriod = 1.0, quint16 blocks = 8)
    {
        emit acq().transferStarted(0);
        acq().loadRecording({.SampleBuffer = buffer, .ModeCommand = QByteArray("\x01\x00\x00", 3),
                             .BlockCount = blocks, .SamplePeriod = samplePeriod});
    }

    // A user's choice in a list: the selection, then the signal the handlers listen to.
    static void choose(QComboBox* box, int index)
    {
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    // A click delivered the way the platform delivers it: to the window, at the point over the
    // target, so that the press goes to whoever takes it and the release follows the press.
    void clickInWindow(QWidget* target, QPoint at = {3, 3})
    {
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                          target->mapTo(window.get(), at));
    }

    QString status0() { return window->statusPanel(0)->text(); }
    int points(QCPGraph* g) { return g->dataCount(); }
    double y(QCPGraph* g, int i) { return g->data()->at(i)->value; }
    double x(QCPGraph* g, int i) { return g->data()->at(i)->key; }

private:
    void build()
    {
        window = std::make_unique<MainWindow>(
            settingsPath(), messages,
            BoardAccess{std::make_unique<SimulatedPort>(SimOptions{1, 0.0}),
                        FixedPortFinder(QStringLiteral("simulated"))});
        window->attachSecondaryWindow(&secondary);
        window->resize(800, 560);
    }
};

}  // namespace korvel::testing
