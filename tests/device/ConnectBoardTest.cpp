#include "device/ConnectBoard.h"
#include "serial/ScriptedPort.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {
PortFinder finds(int n, const QString& device = QString())
{
    return [n, device] { return PortLookup{n, device}; };
}
}  // namespace

TEST(ConnectBoard, OpensRaisesTheSpeedThenGreets)
{
    ScriptedPort port;
    RecordingMessages messages;
    const ConnectOutcome out = ConnectBoard(port, finds(5, "COM5"), messages);
    EXPECT_EQ(out.state, ConnectState::Connected);
    EXPECT_TRUE(messages.said.isEmpty());
    EXPECT_EQ(port.calls, (QStringList{"close", "close", "open COM5", "line", "baud 921600"}));
    ASSERT_EQ(port.writes.size(), 1);
    EXPECT_EQ(port.writes[0].bytes, QByteArray(")"));
    EXPECT_EQ(port.writes[0].baud, 921600);
    // No other port is opened on the way.
    EXPECT_EQ(port.calls.filter("open").size(), 1);
}

TEST(ConnectBoard, NotFoundSaysSoOnceAndLeavesThePortClosed)
{
    ScriptedPort port;
    RecordingMessages messages;
    const ConnectOutcome out = ConnectBoard(port, finds(-1), messages);
    EXPECT_EQ(out.state, ConnectState::NoBoard);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("АЦП не обнаружено")});
    EXPECT_EQ(messages.said[0].kind, Messages::Kind::Information);
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(port.writes.isEmpty());
}

TEST(ConnectBoard, PortZeroDoesNothingFurther)
{
    ScriptedPort port;
    RecordingMessages messages;
    const ConnectOutcome out = ConnectBoard(port, finds(0), messages);
    EXPECT_EQ(out.state, ConnectState::NoBoard);
    EXPECT_TRUE(messages.said.isEmpty());
    EXPECT_FALSE(port.isOpen());
}

TEST(ConnectBoard, PortThatWillNotOpen)
{
    ScriptedPort port;
    port.unavailable = {"COM7"};
    RecordingMessages messages;
    const ConnectOutcome out = ConnectBoard(port, finds(7, "COM7"), messages);
    EXPECT_EQ(out.state, ConnectState::PortWouldNotOpen);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("АЦП не обнаружено")});
    EXPECT_TRUE(port.writes.isEmpty());
}

TEST(ConnectBoard, SecondRunClosesReopensAndGreetsAgain)
{
    ScriptedPort port;
    RecordingMessages messages;
    ConnectBoard(port, finds(5, "COM5"), messages);
    port.calls.clear();
    const ConnectOutcome out = ConnectBoard(port, FixedPortFinder("/dev/pts/3"), messages);
    EXPECT_EQ(out.state, ConnectState::Connected);
    EXPECT_EQ(port.calls.first(), "close");
    EXPECT_TRUE(port.calls.contains("open /dev/pts/3"));
    EXPECT_EQ(port.writtenCommands(), (QList<QByteArray>{")", ")"}));
}
