// The window's connection to the board: the board buttons follow the outcome, btUSB connects
// afresh, the greeting goes out at the board's speed, and closing stops everything first.
#include "WindowRig.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

// The window on a scripted port that start-up looks for with this finder; the devices listed
// will not open.
WindowOptions lookedFor(PortFinder finder, QStringList unavailable = {})
{
    WindowOptions o = OnScriptedPort();
    o.finder = std::move(finder);
    o.unavailable = std::move(unavailable);
    return o;
}

// Connected, every board button is enabled but btRd, which waits for a measurement start.
const std::vector<bool> ConnectedButtons{true, true, true, true, true, true, false, true};

PortFinder notFound()
{
    return [] { return PortLookup{}; };
}

}  // namespace

TEST(BoardConnection, AFoundBoardIsGreetedAtFullSpeedAndItsButtonsEnabled)
{
    WindowRig b(lookedFor(FixedPortFinder(QStringLiteral("ttyUSB7"))));
    EXPECT_TRUE(b.port->isOpen());
    ASSERT_EQ(b.port->writes.size(), 1);
    EXPECT_EQ(b.port->writes[0].bytes, QByteArray(")"));
    EXPECT_EQ(b.port->writes[0].baud, 921600);
    EXPECT_EQ(b.boardButtons(), ConnectedButtons);
    EXPECT_FALSE(b.f().btRd->isEnabled());  // enabled only by a measurement start
    EXPECT_TRUE(b.messages.said.isEmpty());
}

TEST(BoardConnection, NoBoardIsToldOnceAndLeavesTheButtonsDisabled)
{
    WindowRig b(lookedFor(notFound()));
    EXPECT_FALSE(b.port->isOpen());
    ASSERT_EQ(b.messages.said.size(), 1);
    EXPECT_EQ(b.messages.said[0].kind, Messages::Kind::Information);
    EXPECT_EQ(b.messages.said[0].text, QStringLiteral("АЦП не обнаружено"));
    EXPECT_EQ(b.boardButtons(), std::vector<bool>(8, false));
    EXPECT_TRUE(b.port->writes.isEmpty());
}

TEST(BoardConnection, APortThatWillNotOpenShowsNoLink)
{
    WindowRig b(lookedFor(FixedPortFinder(QStringLiteral("ttyBUSY")), {QStringLiteral("ttyBUSY")}));
    EXPECT_EQ(b.messages.texts(), QStringList{QStringLiteral("АЦП не обнаружено")});
    EXPECT_EQ(b.window->statusPanel(0)->text(), QStringLiteral("USB: нет связи"));
    EXPECT_EQ(b.boardButtons(), std::vector<bool>(8, false));
}

TEST(BoardConnection, UsbButtonReconnectsAndGreetsAgain)
{
    WindowRig b(lookedFor(FixedPortFinder(QStringLiteral("ttyUSB7"))));
    b.f().btUSB->click();
    b.f().btUSB->click();
    EXPECT_EQ(b.port->writtenCommands(), (QList<QByteArray>{")", ")", ")"}));
    EXPECT_GE(b.port->calls.count(QStringLiteral("close")), 2);
    EXPECT_TRUE(b.port->isOpen());
}

TEST(BoardConnection, AcquisitionTextsReachTheStatusBar)
{
    WindowRig b(lookedFor(FixedPortFinder(QStringLiteral("ttyUSB7"))));
    b.window->acquisition().BeginAcquisition();
    EXPECT_EQ(b.window->statusPanel(0)->text(), QStringLiteral("ИЗМЕРЕНИЕ"));
}

TEST(BoardConnection, ClosingStopsReceptionBeforeTheBufferGoes)
{
    WindowRig b(lookedFor(FixedPortFinder(QStringLiteral("ttyUSB7"))));
    Acquisition& a = b.window->acquisition();
    a.loadRecording({.SampleBuffer = QByteArray(60000, '\x01')});
    a.timRx().start();
    b.window->close();
    EXPECT_FALSE(a.timRx().isActive());
    EXPECT_FALSE(a.timSendCmd().isActive());
    EXPECT_FALSE(b.port->isOpen());
    EXPECT_TRUE(a.SampleBuffer().isEmpty());
}

TEST(BoardConnection, UsbButtonShowsThePortOrNoLink)
{
    WindowRig b(lookedFor(FixedPortFinder(QStringLiteral("ttyUSB7"))));
    QToolButton* usb = b.f().btUSB;
    const QColor linked = usb->palette().color(QPalette::ButtonText);
    EXPECT_TRUE(usb->toolTip().contains(QStringLiteral("Подключить АЦП к компьютеру")));
    EXPECT_TRUE(usb->toolTip().contains(QStringLiteral("ttyUSB7"))) << usb->toolTip().toStdString();

    b.port->vanish();
    EXPECT_TRUE(usb->toolTip().contains(QStringLiteral("Подключить АЦП к компьютеру")));
    EXPECT_TRUE(usb->toolTip().contains(QStringLiteral("нет связи")));
    EXPECT_FALSE(usb->toolTip().contains(QStringLiteral("ttyUSB7")));
    EXPECT_NE(usb->palette().color(QPalette::ButtonText), linked);

    usb->click();
    EXPECT_TRUE(usb->toolTip().contains(QStringLiteral("ttyUSB7")));
    EXPECT_EQ(usb->palette().color(QPalette::ButtonText), linked);
}
