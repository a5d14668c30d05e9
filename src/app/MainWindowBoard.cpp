// The window's side of the board link: the port, the acquisition object, the connection.
#include "app/CaptionColour.h"
#include "app/LinkTexts.h"
#include "app/MainWindow.h"

#include "device/Acquisition.h"
#include "device/ConnectBoard.h"
#include "serialport/BoardLink.h"
#include "ui_MainWindow.h"

#include <QLabel>
#include <array>

namespace korvel {

void MainWindow::wireBoard()
{
    if (!port_) {
        const LinkOptions platform;
        port_ = MakeBoardPort(platform);
        findPort_ = MakeBoardPortFinder(platform);
    }
    acquisition_ = std::make_unique<Acquisition>(*port_);
    // Panel 0 tells the stage, panel 2 what arrived; panel 1 the accelerometer's period.
    const Acquisition* a = acquisition_.get();
    connect(a, &Acquisition::stageText, statusPanel(0), &QLabel::setText);
    connect(a, &Acquisition::receivedText, statusPanel(2), &QLabel::setText);
    connect(a, &Acquisition::temperatureRead, statusPanel(2), &QLabel::setText);
    connect(a, &Acquisition::accelPeriodReported, this,
            [this](int ticks) { statusPanel(1)->setText(QString::number(ticks)); });
    connect(ui->btUSB, &QToolButton::clicked, this, &MainWindow::btUSBClick);
    // The board unplugged or its port gone: the same state as a failed connection, and btUSB
    // connects again.
    connect(port_.get(), &SerialPort::failed, this, [this] {
        port_->close();
        setBoardButtonsEnabled(false);
        statusPanel(0)->setText(NoLinkText());
        showLinkState(QString());
    });
}

void MainWindow::showLinkState(const QString& device)
{
    // The panel's "нет связи" is soon overwritten; the button keeps telling the state.
    const bool linked = !device.isEmpty();
    SetCaptionColour(ui->btUSB, linked ? QColor(0, 128, 0) : QColor(192, 0, 0));
    ui->btUSB->setToolTip(QStringLiteral("Подключить АЦП к компьютеру\n")
                          + (linked ? QStringLiteral("Подключено: ") + device
                                    : NoLinkText()));
}

void MainWindow::setBoardButtonsEnabled(bool enabled)
{
    Ui::MainWindow& f = *ui;
    const std::array<QWidget*, 8> boardButtons{f.btStart,  f.bt1MHz,        f.bt07MHz,
                                               f.btStartFExtrn, f.btSingle, f.btTemperature,
                                               f.btRd,     f.btAxGo};
    for (QWidget* b : boardButtons)
        b->setEnabled(enabled);
}

void MainWindow::ConnectBoard()
{
    const ConnectOutcome outcome = korvel::ConnectBoard(*port_, findPort_, messages_);
    setBoardButtonsEnabled(outcome.connected());
    showLinkState(outcome.device);
    if (outcome.state == ConnectState::PortWouldNotOpen)
        statusPanel(0)->setText(NoLinkText());
}

void MainWindow::btUSBClick()
{
    ConnectBoard();
}

}  // namespace korvel
