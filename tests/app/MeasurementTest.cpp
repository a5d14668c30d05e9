// The measurement starts driven through the window's controls, against a scripted port: the
// bytes each start writes, what it shows, the transfer that follows a status reply, "Read"
// and the progress panel.
#include "OpenDataFile.h"
#include "WindowRig.h"
#include "chartview/ChartView.h"
#include "chartview/SecondaryChartWindow.h"
#include "serial/ScriptedPort.h"
#include "settings/Settings.h"

#include <QLabel>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

struct Rig : WindowRig {
    quint32 tick = 100000;

    explicit Rig(WindowOptions o = OnScriptedPortWithoutGreeting()) : WindowRig(std::move(o))
    {
        acq().setTickSource([this] { return tick; });
    }
    // The board says the data is ready; the receive timer is fired by hand.
    void statusReady()
    {
        port->feed(QByteArray(1, '\x0B'));
        acq().timRxTimer();
    }
};

}  // namespace

TEST(Measurement, FixedRateStartsCarryTheTriggerBitsAndTheExternalClockStartDoesNot)
{
    Rig r;
    ASSERT_EQ(r.w().triggerType(), 0);
    r.f().btExtrn->click();
    r.f().btExtrn->click();
    ASSERT_EQ(r.w().triggerType(), 2);

    r.f().btADXL->click();  // the accelerometer mode on
    r.f().gbFT->show();
    r.f().bt1MHz->click();
    EXPECT_EQ(r.written().last(), QByteArray::fromHex("51e0"));
    EXPECT_TRUE(r.f().btRd->isEnabled());
    EXPECT_FALSE(r.w().accelerometerMode());
    EXPECT_TRUE(r.f().gbFT->isHidden());
    EXPECT_EQ(r.acq().PacketsLeft(), 1);
    EXPECT_EQ(r.window->statusPanel(0)->text(), QStringLiteral("ИЗМЕРЕНИЕ"));

    r.f().bt07MHz->click();
    EXPECT_EQ(r.written().last(), QByteArray::fromHex("5200"));
    EXPECT_EQ(r.acq().BlockCount(), 8);

    r.f().seSamplesFExtrn->setValue(60000);
    r.f().btStartFExtrn->click();
    EXPECT_EQ(r.written().last(), QByteArray::fromHex("10c0d0"));
    EXPECT_EQ(r.written().size(), 3);
}

TEST(Measurement, DoubleClickOnTheFreeStripStartsWithoutTouchingRead)
{
    Rig r;
    r.f().btRd->setEnabled(false);
    QTest::mouseDClick(r.f().bt1MHz, Qt::LeftButton);  // a button's double click is no start
    const qsizetype afterButton = r.written().size();

    QTest::mouseDClick(r.f().ControlBar1, Qt::LeftButton, {}, r.freeSpotOfControlBar());
    ASSERT_EQ(r.written().size(), afterButton + 1);
    EXPECT_EQ(r.written().last(), QByteArray::fromHex("1600"));
    EXPECT_FALSE(r.f().btRd->isEnabled());
    EXPECT_EQ(r.acq().BlockCount(), 8);
}

TEST(Measurement, CommonStartClosesOptionsAndResetsTheChartAxes)
{
    Rig r(WithTheSecondaryWindow(OnScriptedPortWithoutGreeting()));
    SecondaryChartWindow& secondary = r.secondary;
    r.f().cbXscale->setCurrentIndex(2);
    emit r.acq().transferStarted(0);  // an earlier transfer left its time axis in seconds
    int optionsClicks = 0;
    QObject::connect(r.f().btOptions, &QToolButton::clicked, [&] { ++optionsClicks; });
    r.f().gbOptions->show();
    r.f().Chart1->rightAxis()->setVisible(true);
    r.f().lbPercent->setText(QStringLiteral("40%"));
    secondary.show();

    r.f().bt1MHz->click();
    EXPECT_EQ(optionsClicks, 1);
    EXPECT_TRUE(secondary.isHidden());
    EXPECT_FALSE(r.f().Chart1->rightAxis()->visible());
    EXPECT_EQ(r.w().dataHeader().AxisXName, QStringLiteral("Время, мкс"));
    EXPECT_TRUE(r.f().lbPercent->text().isEmpty());

    r.f().gbOptions->hide();
    r.f().bt1MHz->click();
    EXPECT_EQ(optionsClicks, 1);  // a closed panel is not toggled open
}

TEST(Measurement, StatusReplyStartsTheTransferInTheWindow)
{
    Rig r;
    // A recording with its temperature (DataKind 129) was opened last.
    const std::vector<quint16> signal{0x0800};
    const std::vector<qint16> temperature{336};
    openDataFile(r.w(), r.dir.filePath(QStringLiteral("t.dtw")),
                 recordingWithTemperature(signal, temperature));
    r.f().cbXscale->setCurrentIndex(1);
    r.f().Chart1->Series1()->addData(1, 2);
    r.f().Chart1->Series2()->addData(1, 2);
    r.f().gbFile->setTitle(QStringLiteral("Файл"));
    r.f().lbRestPercent->setText(QStringLiteral("3%"));

    r.f().bt1MHz->click();
    r.statusReady();
    EXPECT_EQ(r.w().dataHeader().AxisXName, QStringLiteral("Время, мс"));
    EXPECT_TRUE(r.f().Chart1->Series1()->data()->isEmpty());
    EXPECT_TRUE(r.f().Chart1->Series2()->data()->isEmpty());
    EXPECT_EQ(r.acq().recording().DataKind, 1);
    EXPECT_EQ(r.f().gbFile->title(), QStringLiteral("Комментарий"));
    EXPECT_TRUE(r.f().lbRestPercent->text().isEmpty());
    EXPECT_EQ(r.window->statusPanel(0)->text(), QStringLiteral("ПЕРЕДАЧА МАССИВА, 1с"));
    EXPECT_FALSE(r.f().Panel1->isHidden());
    EXPECT_EQ(r.f().lAll->text(), QStringLiteral("00:01"));
    EXPECT_EQ(r.f().progressBar->maximum(), 1000);
    EXPECT_EQ(r.acq().PacketsLeft(), 120);
}

TEST(Measurement, ReadAfterOneMegahertzAsksForOneBlockAgain)
{
    Rig r;
    r.f().bt1MHz->click();
    r.f().gbAx->show();
    r.f().btRd->click();
    EXPECT_TRUE(r.f().gbAx->isHidden());
    EXPECT_EQ(r.acq().PacketsLeft(), 120);
    EXPECT_EQ(r.f().lAll->text(), QStringLiteral("00:06"));
    r.acq().timSendCmdTimer();
    EXPECT_EQ(r.written().last(), QByteArray::fromHex("80e0"));
}

TEST(Measurement, ExternalClockProgressOnlyAboveTwoSeconds)
{
    Rig r;
    r.f().seSamplesFExtrn->setValue(30000);
    r.f().seFExtrn->setValue(15000);  // 30000 samples: exactly 2000 ms
    r.f().btStartFExtrn->click();
    EXPECT_EQ(r.acq().MeasureTimeMs(), 2000);
    EXPECT_TRUE(r.f().Panel1->isHidden());
    EXPECT_FALSE(r.w().timer2().isActive());

    r.f().seFExtrn->setValue(14990);  // 2001,3 ms, rounded to 2001
    r.f().btStartFExtrn->click();
    EXPECT_EQ(r.acq().MeasureTimeMs(), 2001);
    EXPECT_FALSE(r.f().Panel1->isHidden());
    EXPECT_TRUE(r.w().timer2().isActive());
    EXPECT_EQ(r.f().progressBar->maximum(), 2001);
    EXPECT_EQ(r.f().lAll->text(), QStringLiteral("00:02"));
}

TEST(Measurement, ExternalClockStartOverwritesTheBlockCountThatIsSaved)
{
    Rig r;
    r.f().seSamplesFExtrn->setValue(60000);
    r.f().btStartFExtrn->click();
    EXPECT_EQ(r.w().ftCalculator().SRAMblocks(), 2);
    EXPECT_EQ(r.f().seSamples->value(), 240000);  // the field keeps its old value
    EXPECT_EQ(r.acq().TransferTimeMs(), 1750);
    EXPECT_EQ(r.acq().TransferStatusText(), QStringLiteral("ПЕРЕДАЧА МАССИВА, 2с"));

    r.window->close();
    EXPECT_EQ(LoadSettings(r.settingsPath()).values.SRAMblocks, 2);
}

TEST(Measurement, ProgressPanelFollowsTheClockAndHidesAtTheEstimate)
{
    Rig r;
    r.acq().ShowChartFinished();  // the progress clock starts at the tick
    r.w().startProgress(2500);  // 2,5 s round half to even: two seconds
    EXPECT_EQ(r.w().progressTotalSeconds(), 2);
    EXPECT_EQ(r.f().lAll->text(), QStringLiteral("00:02"));
    EXPECT_EQ(r.f().lElapsed->text(), QStringLiteral("00:00"));
    EXPECT_EQ(r.f().lRest->text(), QStringLiteral("00:02"));
    EXPECT_EQ(r.f().progressBar->value(), 0);

    r.tick += 1999;
    r.w().Timer2Timer();
    EXPECT_EQ(r.f().lbPercent->text(), QStringLiteral("50%"));
    EXPECT_EQ(r.f().lbRestPercent->text(), QStringLiteral("50%"));
    EXPECT_EQ(r.f().lElapsed->text(), QStringLiteral("00:01"));
    EXPECT_EQ(r.f().lRest->text(), QStringLiteral("00:01"));
    EXPECT_EQ(r.f().progressBar->value(), 1250);
    EXPECT_FALSE(r.f().Panel1->isHidden());

    r.tick += 1;
    r.w().Timer2Timer();
    EXPECT_EQ(r.f().lbPercent->text(), QStringLiteral("100%"));
    EXPECT_TRUE(r.f().Panel1->isHidden());
    EXPECT_FALSE(r.w().timer2().isActive());
}
