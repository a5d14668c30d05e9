// The window's connection to the board: the board buttons follow the outcome, btUSB connects
// afresh, the greeting goes out at the board's speed, and closing stops everything first.
#include "app/MainWindow.h"
#include "device/Acquisition.h"
#include "serial/ScriptedPort.h"
#include "text/Messages.h"
#include "ui_MainWindow.h"

#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace korvel;

namespace {

struct Board {
    QTemporaryDir dir;
    RecordingMessages messages;
    ScriptedPort* port = nullptr;
    std::unique_ptr<MainWindow> window;

    explicit Board(PortFinder finder, QStringList unavailable = {})
    {
        auto scripted = std::make_unique<ScriptedPort>();
        scripted->unavailable = unavailable;
        port = scripted.get();
        window = std::make_unique<MainWindow>(dir.filePath(QStringLiteral("Korvel.ini")), messages,
                                              BoardAccess{std::move(scripted), std::move(finder)});
    }
    Ui::MainWindow& f() { return *window->form(); }
    std::vector<bool> boardButtons()
    {
        return {f().btStart->isEnabled(), f().bt1MHz->isEnabled(), f().bt07MHz->isEnabled(),
                f().btStartFExtrn->isEnabled(), f().btSingle->isEnabled(),
                f().btTemperature->isEnabled(), f().btAxGo->isEnabled()};
    }
};

PortFinder notFound()
{
    return [] { return PortLookup{}; };
}

}  // namespace

TEST(BoardConnection, AFoundBoardIsGreetedAtFullSpeedAndItsButtonsEnabled)
{
    Board b(FixedPortFinder(QStringLiteral("ttyUSB7")));
    EXPECT_TRUE(b.port->isOpen());
    ASSERT_EQ(b.port->writes.size(), 1);
    EXPECT_EQ(b.port->writes[0].bytes, QByteArray(")"));
    EXPECT_EQ(b.port->writes[0].baud, 921600);
    EXPECT_EQ(b.boardButtons(), std::vector<bool>(7, true));
    EXPECT_FALSE(b.f().btRd->isEnabled());  // enabled only by a measurement start
    EXPECT_TRUE(b.messages.said.isEmpty());
}

TEST(BoardConnection, NoBoardIsToldOnceAndLeavesTheButtonsDisabled)
{
    Board b(notFound());
    EXPECT_FALSE(b.port->isOpen());
    ASSERT_EQ(b.messages.said.size(), 1);
    EXPECT_EQ(b.messages.said[0].kind, Messages::Kind::Information);
    EXPECT_EQ(b.messages.said[0].text, QStringLiteral("АЦП не обнаружено"));
    EXPECT_EQ(b.boardButtons(), std::vector<bool>(7, false));
    EXPECT_TRUE(b.port->writes.isEmpty());
}

TEST(BoardConnection, APortThatWillNotOpenShowsNoLink)
{
    Board b(FixedPortFinder(QStringLiteral("ttyBUSY")), {QStringLiteral("ttyBUSY")});
    EXPECT_EQ(b.messages.texts(), QStringList{QStringLiteral("АЦП не обнаружено")});
    EXPECT_EQ(b.window->statusPanel(0)->text(), QStringLiteral("USB: нет связи"));
    EXPECT_EQ(b.boardButtons(), std::vector<bool>(7, false));
}

TEST(BoardConnection, UsbButtonReconnectsAndGreetsAgain)
{
    Board b(FixedPortFinder(QStringLiteral("ttyUSB7")));
    b.f().btUSB->click();
    b.f().btUSB->click();
    EXPECT_EQ(b.port->writtenCommands(), (QList<QByteArray>{")", ")", ")"}));
    EXPECT_GE(b.port->calls.count(QStringLiteral("close")), 2);
    EXPECT_TRUE(b.port->isOpen());
}

TEST(BoardConnection, AcquisitionTextsReachTheStatusBar)
{
    Board b(FixedPortFinder(QStringLiteral("ttyUSB7")));
    b.window->acquisition().BeginAcquisition();
    EXPECT_EQ(b.window->statusPanel(0)->text(), QStringLiteral("ИЗМЕРЕНИЕ"));
}

TEST(BoardConnection, ClosingStopsReceptionBeforeTheBufferGoes)
{
    Board b(FixedPortFinder(QStringLiteral("ttyUSB7")));
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
    Board b(FixedPortFinder(QStringLiteral("ttyUSB7")));
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
