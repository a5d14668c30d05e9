// The window when the board's port goes away: the state of a failed connection, and btUSB
// connects again.
#include "WindowRig.h"

#include "device/Commands.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

TEST(WindowPortVanish, ActsAsAFailedConnectionAndUsbButtonConnectsAgain)
{
    WindowRig b(OnScriptedPort(QStringLiteral("ttyUSB3")));
    Ui::MainWindow& f = *b.window->form();
    f.btRd->setEnabled(true);  // as after a measurement start
    Acquisition& a = b.window->acquisition();
    a.applyStart(Start1MHz(0));
    a.BeginAcquisition();
    b.port->feed(QByteArray("\x0b"));
    ASSERT_TRUE(a.timRx().isActive());

    b.port->vanish();
    EXPECT_FALSE(b.port->isOpen());
    EXPECT_EQ(b.boardButtons(), std::vector<bool>(8, false));
    EXPECT_EQ(b.window->statusPanel(0)->text(), QStringLiteral("USB: нет связи"));
    EXPECT_FALSE(a.timRx().isActive());
    EXPECT_TRUE(b.messages.said.isEmpty());  // the status bar tells it; no box to dismiss
    EXPECT_TRUE(f.btUSB->isEnabled());

    const qsizetype greetings = b.port->writtenCommands().count(cmd::cmdConnect());
    f.btUSB->click();
    EXPECT_TRUE(b.port->isOpen());
    EXPECT_EQ(b.port->writtenCommands().count(cmd::cmdConnect()), greetings + 1);
    EXPECT_EQ(b.port->baudRate(), 921600);
    EXPECT_TRUE(f.btStart->isEnabled());
    EXPECT_TRUE(f.btTemperature->isEnabled());
}

TEST(WindowPortVanish, WhileIdleLeavesTheDataAlone)
{
    WindowRig b(OnScriptedPort(QStringLiteral("ttyUSB3")));
    Acquisition& a = b.window->acquisition();
    a.loadRecording({.SampleBuffer = QByteArray(60000, '\x21')});
    b.port->vanish();
    EXPECT_EQ(a.SampleBuffer(), QByteArray(60000, '\x21'));
    EXPECT_EQ(b.window->statusPanel(0)->text(), QStringLiteral("USB: нет связи"));
    // A second report of the same loss changes nothing and asks nothing.
    emit b.port->failed(QStringLiteral("again"));
    EXPECT_TRUE(b.messages.said.isEmpty());
    EXPECT_EQ(b.boardButtons(), std::vector<bool>(8, false));
}
