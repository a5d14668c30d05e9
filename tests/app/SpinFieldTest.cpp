// The spin field's contract with the window's handlers: lenient reading, clamped setting,
// exit before self-clamping, refused keys, and stepping.
#include "app/SpinField.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using korvel::SpinField;

namespace {

struct Field {
    SpinField f;
    Field(int lo, int hi, int step, int value, SpinField::TypedKeys keys = SpinField::NumberKeys)
    {
        f.setMinimum(lo);
        f.setMaximum(hi);
        f.setSingleStep(step);
        f.setTypedKeys(keys);
        f.setValue(value);
    }
    QString text() const { return f.findChild<QLineEdit*>()->text(); }
    void setText(const QString& t) { f.findChild<QLineEdit*>()->setText(t); }
    void leave()
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(&f, &out);
    }
};

}  // namespace

TEST(SpinField, ReadsTheTextWithoutClampingAndFallsBackToTheMinimum)
{
    Field seF(75, 546133, 1, 2400);
    seF.setText(QStringLiteral("70"));
    EXPECT_EQ(seF.f.value(), 70);
    seF.setText(QStringLiteral("999999"));
    EXPECT_EQ(seF.f.value(), 999999);
    seF.setText(QString());
    EXPECT_EQ(seF.f.value(), 75);
    seF.setText(QStringLiteral("12,5"));
    EXPECT_EQ(seF.f.value(), 75);
}

TEST(SpinField, SettingClampsAndSignalsOnlyARealChange)
{
    Field seTime(439, 3212842, 1, 10000);
    QSignalSpy changed(&seTime.f, &SpinField::changed);
    seTime.f.setValue(100);
    EXPECT_EQ(seTime.text(), QStringLiteral("439"));
    seTime.f.setValue(5000000);
    EXPECT_EQ(seTime.text(), QStringLiteral("3212842"));
    EXPECT_EQ(changed.count(), 2);
    seTime.f.setValue(3212842);
    EXPECT_EQ(changed.count(), 2);

    Field open(0, 0, 1, 0);  // equal bounds: no range at all
    open.f.setValue(-12345);
    EXPECT_EQ(open.f.value(), -12345);
}

TEST(SpinField, TypingSignalsEveryChange)
{
    Field seF(75, 546133, 1, 2400);
    seF.setText(QString());
    QSignalSpy changed(&seF.f, &SpinField::changed);
    QTest::keyClicks(&seF.f, QStringLiteral("240"));
    EXPECT_EQ(seF.text(), QStringLiteral("240"));
    EXPECT_EQ(changed.count(), 3);
}

TEST(SpinField, ExitRunsBeforeTheFieldClampsItsText)
{
    Field seF(75, 546133, 1, 2400);
    seF.setText(QStringLiteral("70"));
    QStringList seenOnExit;
    QObject::connect(&seF.f, &SpinField::exited, [&] { seenOnExit << seF.text(); });
    seF.leave();
    EXPECT_EQ(seenOnExit, QStringList{QStringLiteral("70")});
    EXPECT_EQ(seF.text(), QStringLiteral("75"));

    // A text that is no number reads as the minimum, which is in range: it is left as it is.
    seF.setText(QStringLiteral("abc"));
    seF.leave();
    EXPECT_EQ(seF.text(), QStringLiteral("abc"));
}

TEST(SpinField, RefusesForeignCharactersAndEnter)
{
    Field seF(75, 546133, 1, 2400);
    seF.setText(QStringLiteral("12"));
    seF.f.findChild<QLineEdit*>()->end(false);
    QTest::keyClicks(&seF.f, QStringLiteral("a% "));
    QKeyEvent cyrillic(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("я"));
    QApplication::sendEvent(&seF.f, &cyrillic);
    EXPECT_EQ(seF.text(), QStringLiteral("12"));
    QTest::keyClicks(&seF.f, QStringLiteral("-+,"));  // sign and the comma separator pass
    EXPECT_EQ(seF.text(), QStringLiteral("12-+,"));

    Field entered(75, 546133, 1, 2400);
    entered.setText(QStringLiteral("70"));
    QSignalSpy finished(&entered.f, &QAbstractSpinBox::editingFinished);
    QTest::keyClick(&entered.f, Qt::Key_Return);
    QTest::keyClick(&entered.f, Qt::Key_Enter);
    EXPECT_EQ(entered.text(), QStringLiteral("70"));
    EXPECT_EQ(finished.count(), 0);
}

TEST(SpinField, DigitOnlyAndReadOnlyFields)
{
    Field seFExtrn(100, 100000, 100, 5000, SpinField::DigitKeys);
    seFExtrn.f.findChild<QLineEdit*>()->end(false);
    QTest::keyClicks(&seFExtrn.f, QStringLiteral("-,+1"));
    EXPECT_EQ(seFExtrn.text(), QStringLiteral("50001"));
    QTest::keyClick(&seFExtrn.f, Qt::Key_Backspace);
    EXPECT_EQ(seFExtrn.text(), QStringLiteral("5000"));

    Field seSamples(30000, 240000, 30000, 60000, SpinField::NoKeys);
    QTest::keyClicks(&seSamples.f, QStringLiteral("9"));
    QTest::keyClick(&seSamples.f, Qt::Key_Backspace);
    EXPECT_EQ(seSamples.text(), QStringLiteral("60000"));
    QTest::keyClick(&seSamples.f, Qt::Key_Up);
    EXPECT_EQ(seSamples.f.value(), 90000);
    QTest::keyClick(&seSamples.f, Qt::Key_Down);
    QTest::keyClick(&seSamples.f, Qt::Key_Down);
    QTest::keyClick(&seSamples.f, Qt::Key_Down);
    EXPECT_EQ(seSamples.f.value(), 30000);  // stepping stops at the range
}
