// korvel-cli measure against a board whose line misbehaves: every run must end (with the
// array, or with a message and exit 1), and a file already at the output name must survive
// any run that fails.

#include "CliTestSupport.h"
#include "cli/ArrayRun.h"
#include "cli/BoardSession.h"
#include "cli/Subcommands.h"
#include "device/Commands.h"
#include "files/DataFileIo.h"
#include "settings/Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::cli;

namespace {

// The simulated board behind a line the test can spoil: bytes added to or changed in what
// arrives, and a device that goes away. Decisions are taken when the host writes.
class FaultyLine : public SerialPort {
public:
    explicit FaultyLine(SimulatedPort& board) : board_(board)
    {
        connect(&board_, &SerialPort::received, this, [this] {
            QByteArray chunk(int(board_.bytesWaiting()), Qt::Uninitialized);
            chunk.truncate(int(board_.read(chunk.data(), chunk.size())));
            if (mangleNextFirstByte_ && !chunk.isEmpty()) {
                chunk[0] = '\x5a';
                mangleNextFirstByte_ = false;
            }
            chunk += std::exchange(strayBehindNext_, {});
            rx_ += chunk;
            emit received();
        });
    }
    bool open(const QString& device) override { return board_.open(device); }
    void close() override { board_.close(); }
    bool isOpen() const override { return board_.isOpen(); }
    bool setLineParameters() override { return board_.setLineParameters(); }
    bool setBaudRate(qint32 baud) override { return board_.setBaudRate(baud); }
    qint32 baudRate() const override { return board_.baudRate(); }
    void write(const QByteArray& bytes) override
    {
        if (!board_.isOpen())
            return;
        if (onWrite && onWrite(bytes))
            return;
        board_.write(bytes);
    }
    qint64 bytesWaiting() const override { return rx_.size(); }
    qint64 read(char* data, qint64 max) override
    {
        const qint64 n = std::min<qint64>(max, rx_.size());
        std::copy_n(rx_.constData(), n, data);
        rx_.remove(0, n);
        return n;
    }
    using SerialPort::read;
    void purge() override
    {
        rx_.clear();
        board_.purge();
    }

    void vanish()
    {
        board_.close();
        emit failed(QStringLiteral("Input/output error"));
    }
    void mangleNextFirstByte() { mangleNextFirstByte_ = true; }
    void strayBehindNext(const QByteArray& bytes) { strayBehindNext_ = bytes; }

    // Sees every write first; returning true swallows it.
    std::function<bool(const QByteArray&)> onWrite;

private:
    SimulatedPort& board_;
    QByteArray rx_;
    QByteArray strayBehindNext_;
    bool mangleNextFirstByte_ = false;
};

const QByteArray OldFile = QByteArray("an earlier measurement\r\n") + QByteArray(300, '\x7f');

class CliLineFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        SimOptions o;
        o.timeScale = 0;
        board = std::make_unique<SimulatedPort>(o);
        SetBoardPortFactory([this](const LinkOptions&) {
            auto line = std::make_unique<FaultyLine>(*board);
            this->line = line.get();
            line->onWrite = [this](const QByteArray& bytes) { return onWrite ? onWrite(*this->line, bytes) : false; };
            return line;
        });
        SetArrayRunTimeoutOverride(2000);
        RecordingMessages m;
        ASSERT_TRUE(SaveSettings(ini(), SettingsValues{}, m));
        QFile f(out());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(OldFile);
    }
    void TearDown() override
    {
        SetBoardPortFactory({});
        SetArrayRunTimeoutOverride(0);
    }

    QString ini() const { return dir.filePath(QStringLiteral("Korvel.ini")); }
    QString out() const { return dir.filePath(QStringLiteral("run.dtw")); }
    QByteArray saved() const
    {
        QFile f(out());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // One 1 MHz measurement into out(); its stderr lands in err.
    int measure()
    {
        ::testing::internal::CaptureStderr();
        const int rc = RunMeasure({QStringLiteral("korvel-cli"), QStringLiteral("measure"), QStringLiteral("--simulate"),
                                   QStringLiteral("--settings"), ini(), QStringLiteral("--mode"),
                                   QStringLiteral("1mhz"), QStringLiteral("--trigger"), QStringLiteral("computer"),
                                   QStringLiteral("-o"), out()});
        err = QString::fromStdString(::testing::internal::GetCapturedStderr());
        return rc;
    }
    // Acts once, when the k-th request for a next packet goes out.
    void atNextPacketRequest(int k, std::function<void(FaultyLine&)> act)
    {
        onWrite = [k, act, seen = 0](FaultyLine& l, const QByteArray& bytes) mutable {
            if (bytes == cmd::cmdNextPacket() && ++seen == k)
                act(l);
            return false;
        };
    }
    void expectFailureWith(const QString& message)
    {
        EXPECT_EQ(measure(), ExitFailure);
        EXPECT_TRUE(err.contains(message)) << err.toStdString();
        EXPECT_EQ(saved(), OldFile);
    }

    QTemporaryDir dir;
    std::unique_ptr<SimulatedPort> board;
    FaultyLine* line = nullptr;
    std::function<bool(FaultyLine&, const QByteArray&)> onWrite;
    QString err;
};

}  // namespace

TEST_F(CliLineFaults, SilenceOrALostPacketEndsWithTheLimitAndKeepsTheOldFile)
{
    board->simulator().faults.silent = true;
    expectFailureWith(QStringLiteral("Плата АЦП не ответила"));

    board->simulator().faults = {};
    board->simulator().faults.dropPackets = {3};
    expectFailureWith(QStringLiteral("Плата АЦП не ответила"));
    // The run stopped asking once the packet did not come.
    EXPECT_EQ(board->simulator().commands().count(cmd::cmdNextPacket()), 3);
}

TEST_F(CliLineFaults, PacketOfTheWrongLengthOnEveryAttemptEndsWithTheTransferError)
{
    SetArrayRunTimeoutOverride(10000);  // three attempts
    board->simulator().faults.packetLengths = {{119, 11}};
    expectFailureWith(QStringLiteral("Ошибка передачи: пакет 120 из 120, получено 11 байт"));
    board->simulator().faults.packetLengths = {{5, 101}};
    expectFailureWith(QStringLiteral("Ошибка передачи: пакет 6 из 120, получено 101 байт"));
    // A clean line again: the file is replaced by the full array.
    board->simulator().faults = {};
    ASSERT_EQ(measure(), ExitOk);
    const DataFileLoadResult r = LoadDataFile(out());
    ASSERT_TRUE(r.file);
    EXPECT_EQ(r.file->record.SampleBuffer, board->simulator().expectedBytes(1));
}

TEST_F(CliLineFaults, StrayBytes)
{
    // Behind the status: cleared when the transfer starts, the array is whole.
    board->simulator().faults.strayAfterStatus = QByteArray(40, '\xee');
    ASSERT_EQ(measure(), ExitOk);
    DataFileLoadResult r = LoadDataFile(out());
    ASSERT_TRUE(r.file);
    EXPECT_EQ(r.file->record.SampleBuffer, board->simulator().expectedBytes(1));

    // Behind a packet during the transfer, once: the array is read again and saved whole.
    board->simulator().faults = {};
    SetArrayRunTimeoutOverride(10000);
    const QByteArray request = QByteArray::fromHex("80e0");
    const qsizetype requests = board->simulator().commands().count(request);
    atNextPacketRequest(4, [](FaultyLine& l) { l.strayBehindNext(QByteArray(3, '\xee')); });
    ASSERT_EQ(measure(), ExitOk);
    r = LoadDataFile(out());
    ASSERT_TRUE(r.file);
    EXPECT_EQ(r.file->record.SampleBuffer, board->simulator().expectedBytes(1));
    EXPECT_EQ(board->simulator().commands().count(request) - requests, 2);
}

TEST_F(CliLineFaults, StatusThatIsNotReadySavesNothing)
{
    onWrite = [](FaultyLine& l, const QByteArray& bytes) {
        if (bytes == cmd::cmdStart1MHz(0))
            l.mangleNextFirstByte();
        return false;
    };
    expectFailureWith(QStringLiteral("Плата АЦП не сообщила о готовности данных"));
    // No array was asked for.
    EXPECT_FALSE(board->simulator().commands().contains(QByteArray::fromHex("80e0")));
}

TEST_F(CliLineFaults, VanishedPortEndsTheRunAtOnce)
{
    // In the middle of a transfer: the limit is made long so only the port's failure can end it.
    SetArrayRunTimeoutOverride(30000);
    atNextPacketRequest(3, [](FaultyLine& l) { l.vanish(); });
    expectFailureWith(QStringLiteral("USB: нет связи"));
    // The third request found no device; nothing went out after it.
    EXPECT_EQ(board->simulator().commands().count(cmd::cmdNextPacket()), 2);
    EXPECT_EQ(board->simulator().commands().last(), cmd::cmdNextPacket());

    // Gone between the connection and the start: the start command finds no device.
    onWrite = [](FaultyLine& l, const QByteArray& bytes) {
        if (bytes != cmd::cmdStart1MHz(0))
            return false;
        l.vanish();
        return true;
    };
    expectFailureWith(QStringLiteral("USB: нет связи"));
}
