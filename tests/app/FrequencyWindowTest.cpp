// The F/T window with real keyboard focus: opening it, typing into its fields, leaving them,
// its keys, and the F/T start it holds.
#include "WindowRig.h"
#include "serial/ScriptedPort.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

struct Rig : WindowRig {
    Rig() : WindowRig(OnScriptedPortWithoutGreeting()) {}
    void open()
    {
        ASSERT_TRUE(activate());
        f().btChooseF->click();
        ASSERT_TRUE(f().seTime->hasFocus());
    }
    // Replaces the field's text as the user would, key by key.
    void type(SpinField* field, const QString& text)
    {
        focus(field);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }
    QColor errorColour() { return f().lErrIn->palette().color(QPalette::WindowText); }
};

}  // namespace

TEST(FrequencyWindow, OpeningComputesFromTheDurationField)
{
    Rig r;
    r.f().gbAx->show();
    r.open();
    EXPECT_FALSE(r.f().gbFT->isHidden());
    EXPECT_TRUE(r.f().gbAx->isHidden());
    EXPECT_EQ(r.f().btChooseF->text(), QStringLiteral("Закрыть"));
    EXPECT_EQ(r.f().btChooseF->palette().color(QPalette::ButtonText), QColor(Qt::red));
    EXPECT_EQ(r.f().seF->value(), 24000);
    EXPECT_EQ(r.w().ftCalculator().divisors(), (DivisorPair{197, 1}));
    EXPECT_EQ(r.f().lbF->text(), QStringLiteral("Fвыборки,Гц=23976,585"));
    EXPECT_EQ(r.f().lbT->text(), QStringLiteral("Tизмерения,мc=10009,766"));
    EXPECT_EQ(r.f().lbMinutes->text(), QStringLiteral("или  0 мин 10 c 9,766 мс"));
    EXPECT_EQ(r.f().lbDly->text(), QStringLiteral("Параметры для МК: d1=197,d2=1"));
    EXPECT_FALSE(r.w().timErrColor().isActive());  // the first calculator step stops the blink

    r.f().btChooseF->click();
    EXPECT_TRUE(r.f().gbFT->isHidden());
    EXPECT_EQ(r.f().btChooseF->text(), QStringLiteral("F/T"));
    EXPECT_EQ(r.f().btChooseF->palette().color(QPalette::ButtonText), QColor(Qt::black));
}

TEST(FrequencyWindow, TypingTooLowAFrequencyBlinksAndLeavingMendsThePair)
{
    Rig r;
    r.open();
    r.type(r.f().seF, QStringLiteral("70"));
    EXPECT_EQ(r.f().seF->text(), QStringLiteral("70"));
    EXPECT_FALSE(r.f().lErrIn->isHidden());
    EXPECT_EQ(r.f().lErrIn->text(), QStringLiteral("Fвыборки, Гц<75"));
    EXPECT_TRUE(r.w().timErrColor().isActive());
    EXPECT_EQ(r.w().ftCalculator().divisors(), (DivisorPair{256, 256}));
    EXPECT_EQ(r.f().lbF->text(), QStringLiteral("Fвыборки,Гц=74,700"));
    const QColor before = r.errorColour();
    r.w().TimErrColorTimer();
    EXPECT_NE(r.errorColour(), before);

    r.focus(r.f().seSamples);
    EXPECT_EQ(r.f().seF->value(), 75);
    EXPECT_TRUE(r.f().lErrIn->isHidden());
    EXPECT_FALSE(r.w().timErrColor().isActive());
    EXPECT_EQ(r.w().ftCalculator().Time4allSRAM(), 3200000);
    EXPECT_EQ(r.w().ftCalculator().divisors(), (DivisorPair{256, 255}));
    EXPECT_EQ(r.f().seTime->value(), 3200000);
}

TEST(FrequencyWindow, FieldsWithoutTheFocusDoNotRecompute)
{
    Rig r;
    r.open();
    r.focus(r.f().btStart);
    const int allSRAM = r.w().ftCalculator().Time4allSRAM();
    r.f().seF->setValue(1000);
    r.f().seTime->setValue(5000);
    EXPECT_EQ(r.w().ftCalculator().Time4allSRAM(), allSRAM);
    EXPECT_EQ(r.f().lbDly->text(), QStringLiteral("Параметры для МК: d1=197,d2=1"));
}

TEST(FrequencyWindow, OneBlockShowsItsShareOfTheDuration)
{
    Rig r;
    r.open();
    r.f().seSamples->setValue(30000);  // the sample field acts with or without the focus
    EXPECT_EQ(r.w().ftCalculator().SRAMblocks(), 1);
    EXPECT_EQ(r.f().seTime->value(), 1250);
    EXPECT_EQ(r.f().lbT->text(), QStringLiteral("Tизмерения,мc=1251,221"));
}

TEST(FrequencyWindow, EscapeClosesAndEnterOnTheButtonStarts)
{
    Rig r;
    r.open();
    QTest::keyClick(r.f().seTime, Qt::Key_Escape);
    EXPECT_TRUE(r.f().gbFT->isHidden());
    EXPECT_EQ(r.f().btChooseF->text(), QStringLiteral("Закрыть"));  // Esc keeps the caption

    r.f().btChooseF->click();  // the window is hidden, so this opens it again
    ASSERT_FALSE(r.f().gbFT->isHidden());
    r.focus(r.f().btStart);
    QTest::keyClick(r.f().btStart, Qt::Key_Return);
    ASSERT_FALSE(r.port->writtenCommands().isEmpty());
    // 8 blocks, d1 = 197, d2 = 1: the sum of the first four bytes closes the command.
    EXPECT_EQ(r.port->writtenCommands().last(), QByteArray::fromHex("1300c501d9"));
    EXPECT_TRUE(r.f().gbFT->isHidden());
    EXPECT_EQ(r.f().btChooseF->text(), QStringLiteral("F/T"));
    EXPECT_TRUE(r.f().btRd->isEnabled());
}

TEST(FrequencyWindow, SlowestPairSendsDivisorsOf256AsZero)
{
    Rig r;
    r.open();
    r.type(r.f().seF, QStringLiteral("70"));
    r.f().btStart->click();
    EXPECT_EQ(r.port->writtenCommands().last(), QByteArray::fromHex("1300000013"));
    // Over 53 minutes of measuring: the panel shows the measurement first.
    EXPECT_FALSE(r.f().Panel1->isHidden());
    EXPECT_EQ(r.f().progressBar->maximum(), int(r.w().acquisition().MeasureTimeMs()));
    EXPECT_EQ(r.f().lAll->text(), QStringLiteral("53:33"));
}

TEST(FrequencyWindow, TransferTimeOfOneAndFiveBlocksRoundsHalfToEven)
{
    Rig r;
    r.open();
    r.f().seSamples->setValue(30000);
    r.f().btStart->click();
    EXPECT_EQ(r.w().acquisition().TransferTimeMs(), 875);
    EXPECT_EQ(r.w().acquisition().TransferStatusText(), QStringLiteral("ПЕРЕДАЧА МАССИВА, 1с"));

    r.f().seSamples->setValue(150000);
    r.f().btStart->click();
    EXPECT_EQ(r.w().acquisition().TransferTimeMs(), 4375);
    EXPECT_EQ(r.w().acquisition().TransferStatusText(), QStringLiteral("ПЕРЕДАЧА МАССИВА, 4с"));
}

TEST(FrequencyWindow, AfterAnExternalClockStartTheWindowComputesWithItsBlocks)
{
    Rig r;
    r.f().seSamplesFExtrn->setValue(60000);
    r.f().btStartFExtrn->click();
    r.open();
    // The duration field still shows 10000 ms, now the share of two blocks.
    EXPECT_EQ(r.w().ftCalculator().SRAMblocks(), 2);
    EXPECT_EQ(r.w().ftCalculator().Time4allSRAM(), 40000);
    EXPECT_EQ(r.f().seF->value(), 6000);
    EXPECT_EQ(r.f().seSamples->value(), 240000);

    r.f().seSamples->stepBy(-1);
    EXPECT_EQ(r.w().ftCalculator().SRAMblocks(), 7);
}
