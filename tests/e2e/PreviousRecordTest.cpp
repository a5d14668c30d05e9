// A start that brings no whole array (a transfer that keeps failing, Esc during the transfer)
// leaves the window with the record it showed before the start: the same words under the same
// header, so Save writes that record, and the same chart.
#include "app/WindowRig.h"
#include "chartview/ChartView.h"
#include "device/RealTimeCycle.h"
#include "files/DataFile.h"
#include "support/EventLoopWait.h"

#include <QFile>
#include <QLabel>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

// 14 and 21 ticks of the board's 14.7456 MHz clock.
constexpr double Period1MHz = 0.94943;
constexpr double Period07MHz = 1.42415;
constexpr qsizetype OneBlockBytes = 60000;

struct Window : WindowRig {
    QTemporaryDir files;

    Window() : WindowRig(WithScriptedDialogs(OnQuickSimulatedBoard()))
    {
        w().realTimeCycle().intervals = {1, 100, 2};
    }

    // A measurement run to its chart; the words the board held for it.
    QByteArray measure(QAbstractButton* start, int blocks)
    {
        const int charts = drawn;
        start->click();
        EXPECT_TRUE(WaitUntil([&] { return drawn > charts; }));
        return board().expectedBytes(blocks);
    }
    // A start caught halfway through its transfer at the line's speed, then Esc.
    void cancelDuringTransfer(QAbstractButton* start)
    {
        simulated->setThrottle(true);
        start->click();
        ASSERT_TRUE(WaitUntil([&] {
            return acq().SampleBuffer().size() >= 10 * 500 && !f().Panel1->isHidden();
        }));
        QTest::keyClick(window.get(), Qt::Key_Escape);
        simulated->setThrottle(false);
    }
    // Save into a data file, read back as a loader reads it.
    LoadedDataFile saved()
    {
        const QString name = files.filePath(QStringLiteral("запись.dtw"));
        dialogs->answers << name;
        f().btSave->click();
        QFile file(name);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << messages.texts().join('|').toStdString();
        const DataFileLoadResult r = ParseDataFile(file.readAll(), name);
        EXPECT_TRUE(r.file.has_value());
        return r.file ? *r.file : LoadedDataFile{};
    }

    // Save succeeds, and the file holds these words under a header of their own.
    void expectSaved(quint16 blocks, double period, const QByteArray& words)
    {
        const LoadedDataFile file = saved();
        EXPECT_TRUE(messages.said.isEmpty()) << messages.texts().join('|').toStdString();
        EXPECT_EQ(file.record.DataKind, DataKindSignal);
        EXPECT_EQ(file.record.BlockCount, blocks);
        EXPECT_NEAR(file.record.SamplePeriod, period, 1e-5);
        EXPECT_EQ(file.record.SampleBuffer, words);
    }

    int drawn = 0;
    QMetaObject::Connection counting = QObject::connect(
        &acq(), &Acquisition::drawChart, [this] { ++drawn; });
};

QList<QPointF> pointsOf(const QCPGraph* g)
{
    QList<QPointF> out;
    for (auto it = g->data()->constBegin(); it != g->data()->constEnd(); ++it)
        out.append({it->key, it->value});
    return out;
}

}  // namespace

TEST(PreviousRecord, AFailedTransferLeavesTheRecordBeforeItToBeSavedUnderItsOwnHeader)
{
    Window s;
    const QByteArray words = s.measure(s.f().bt07MHz, 8);
    ASSERT_EQ(words.size(), 8 * OneBlockBytes);
    const QList<QPointF> shown = pointsOf(s.f().Chart1->Series1());
    const QString caption = s.f().gbFile->title();

    // Every attempt at the 1 MHz array has its second packet cut short.
    s.board().faults.packetLengths = {{2, 100}};
    s.f().bt1MHz->click();
    ASSERT_TRUE(WaitUntil([&] { return !s.messages.said.isEmpty(); }));
    s.board().faults = {};
    EXPECT_TRUE(s.messages.texts().first().startsWith(QStringLiteral("Ошибка передачи")));
    EXPECT_TRUE(s.f().Panel1->isHidden());
    EXPECT_EQ(pointsOf(s.f().Chart1->Series1()), shown);
    EXPECT_EQ(s.f().gbFile->title(), caption);

    s.messages.said.clear();
    s.expectSaved(8, Period07MHz, words);
}

// The status panels come back with the record, but "нет связи" from a link lost before the
// start is no longer true once btUSB has made it again.
TEST(PreviousRecord, AFailedTransferAfterTheLinkWasMadeAgainDoesNotSayTheLinkIsDown)
{
    Window s;
    s.measure(s.f().bt1MHz, 1);
    emit s.simulated->failed(QStringLiteral("unplugged"));
    ASSERT_EQ(s.window->statusPanel(0)->text(), QStringLiteral("USB: нет связи"));
    s.f().btUSB->click();
    ASSERT_TRUE(s.simulated->isOpen());

    s.board().faults.packetLengths = {{2, 100}};
    s.f().bt07MHz->click();
    ASSERT_TRUE(WaitUntil([&] { return !s.messages.said.isEmpty(); }));
    s.board().faults = {};
    EXPECT_TRUE(s.messages.texts().first().startsWith(QStringLiteral("Ошибка передачи")));
    EXPECT_EQ(s.window->statusPanel(0)->text(), QString());
}

TEST(PreviousRecord, EscDuringAnEightBlockTransferLeavesTheOneBlockRecordToBeSaved)
{
    Window s;
    const QByteArray words = s.measure(s.f().bt1MHz, 1);
    ASSERT_EQ(words.size(), OneBlockBytes);
    const QList<QPointF> shown = pointsOf(s.f().Chart1->Series1());

    s.cancelDuringTransfer(s.f().bt07MHz);
    EXPECT_EQ(s.window->statusPanel(0)->text(), QStringLiteral("ИЗМЕРЕНИЕ ОТМЕНЕНО"));
    EXPECT_EQ(pointsOf(s.f().Chart1->Series1()), shown);

    s.expectSaved(1, Period1MHz, words);
}

TEST(PreviousRecord, EscDuringATransferAfterARealTimeRunKeepsItsTemperatureOnItsOwnAxis)
{
    Window s;
    Ui::MainWindow& f = s.f();
    f.cbTermo->setChecked(true);
    f.btSingle->click();
    ASSERT_TRUE(WaitUntil([&] { return f.Chart1->SeriTermo()->dataCount() >= 3; }));
    f.btSingle->click();
    QTest::qWait(150);
    const QList<QPointF> signal = pointsOf(f.Chart1->Series1());
    const QList<QPointF> temperature = pointsOf(f.Chart1->SeriTermo());
    ASSERT_TRUE(f.Chart1->rightAxis()->visible());

    s.cancelDuringTransfer(f.bt07MHz);
    EXPECT_TRUE(f.Chart1->rightAxis()->visible());
    EXPECT_EQ(pointsOf(f.Chart1->Series1()), signal);
    EXPECT_EQ(pointsOf(f.Chart1->SeriTermo()), temperature);
    EXPECT_EQ(s.acq().recording().RealTimeCount, signal.size());
    EXPECT_TRUE(s.acq().recording().isRealTime());
}
