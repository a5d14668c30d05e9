// The options panel and the conditions panel: opening and closing, the key filter of the
// coefficient edits, the colour choice of the digital lines, and the threshold reading.
#include "OpenDataFile.h"
#include "WindowRig.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

TEST(OptionsPanel, OpensWithTheConditionsPanelClosedAndClosesByButtonOrFreeArea)
{
    WindowRig w;
    w.window->show();
    w.window->lbCtlPrmClick();
    EXPECT_FALSE(w.f().gbCtlPrm->isHidden());
    w.f().pLdFile->show();

    w.f().btOptions->click();
    EXPECT_TRUE(w.f().gbOptions->isVisible());
    EXPECT_TRUE(w.f().gbCtlPrm->isHidden());
    EXPECT_TRUE(w.f().pLdFile->isHidden());  // no file coefficients to guard
    EXPECT_EQ(w.f().btOptions->text(), QStringLiteral("Закрыть"));
    EXPECT_EQ(w.f().btOptions->palette().color(QPalette::ButtonText), QColor(Qt::red));

    w.f().btOptions->click();
    EXPECT_FALSE(w.f().gbOptions->isVisible());
    EXPECT_EQ(w.f().btOptions->text(), QStringLiteral("ОПЦИИ"));

    openDataFile(*w.window, w.dir.filePath(QStringLiteral("f.dtw")));  // coefficients from a file
    w.f().pLdFile->show();
    w.f().btOptions->click();
    EXPECT_FALSE(w.f().pLdFile->isHidden());  // still guarding the file's values

    // A click on a control inside the panel leaves it open; one on the free area closes it.
    w.clickInWindow(w.f().lbXTitle);
    EXPECT_TRUE(w.f().gbOptions->isVisible());
    w.clickInWindow(w.f().gbOptions,
                    QPoint(w.f().gbOptions->width() - 3, w.f().gbOptions->height() - 3));
    EXPECT_FALSE(w.f().gbOptions->isVisible());
    EXPECT_EQ(w.f().btOptions->text(), QStringLiteral("ОПЦИИ"));
    EXPECT_EQ(w.f().btOptions->palette().color(QPalette::ButtonText), QColor(Qt::black));
}

TEST(OptionsPanel, CoefficientEditsTakeOnlyWhatMakesANumber)
{
    WindowRig w;
    for (QLineEdit* e : {w.f().emExtScale, w.f().emExtShift}) {
        e->setEnabled(true);
        e->clear();
        QTest::keyClicks(e, QStringLiteral("-1.5e+x,2-"));
        EXPECT_EQ(e->text(), QStringLiteral("-1,5,2-")) << e->objectName().toStdString();
        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClick(e, Qt::Key_Home);
        QTest::keyClick(e, Qt::Key_Delete);
        EXPECT_EQ(e->text(), QStringLiteral("1,5,2"));
    }
}

TEST(OptionsPanel, CoefficientEditsTypeTheLocalesSeparatorAndKeepTheEditingShortcuts)
{
    WindowRig w;
    QLineEdit* e = w.f().emExtScale;
    e->setEnabled(true);
    e->clear();
    QLocale::setDefault(QLocale::c());
    QTest::keyClicks(e, QStringLiteral("1.5,"));
    const QString typed = e->text();
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(typed, QStringLiteral("1.5."));

    e->setText(QStringLiteral("0,25"));
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("0,25"));
    QTest::keyClick(e, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(e->text(), QString());
    QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(e->text(), QStringLiteral("0,250,25"));
    QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(e->text(), QStringLiteral("0,25"));
}

TEST(OptionsPanel, ChosenDigitalColoursGoToBothChartsAndTheCheckBoxes)
{
    WindowRig w;
    w.messages.okCancelAnswer = true;
    QList<QColor> offered;
    QList<QColor> answers{QColor(Qt::magenta), QColor(), QColor(Qt::darkCyan)};
    w.window->setColorDialog([&](const QColor& initial) {
        offered.append(initial);
        return answers.takeFirst();
    });
    const QColor line2Before = w.chart().seriesColor(w.chart().SeriDgt2());

    QTest::mouseDClick(w.f().GroupBox3, Qt::LeftButton, {}, QPoint(180, 10));
    ASSERT_EQ(w.messages.texts(),
              (QStringList{QStringLiteral("Выберите цвет графика цифрового сигнала XP2/конт.2"),
                           QStringLiteral("Выберите цвет графика цифрового сигнала XP2/конт.3"),
                           QStringLiteral("Выберите цвет графика цифрового сигнала XP3/конт.8")}));
    ASSERT_EQ(offered.size(), 3);
    EXPECT_EQ(offered[1], line2Before);
    EXPECT_EQ(w.chart().seriesColor(w.chart().SeriDgt1()), QColor(Qt::magenta));
    EXPECT_EQ(w.secondary.SeriDgt1()->pen().color(), QColor(Qt::magenta));
    EXPECT_EQ(w.f().cbDgt1->palette().color(QPalette::WindowText), QColor(Qt::magenta));
    // A cancelled dialog changes nothing for its line.
    EXPECT_EQ(w.chart().seriesColor(w.chart().SeriDgt2()), line2Before);
    EXPECT_EQ(w.secondary.SeriDgt3()->pen().color(), QColor(Qt::darkCyan));

    // Cancel in the question box: no dialog at all.
    w.messages.okCancelAnswer = false;
    w.window->GroupBox3DblClick();
    EXPECT_EQ(offered.size(), 3);
}

TEST(ConditionsPanel, ReadsTheThresholdsAndKeepsAllFourWhenOneDoesNotConvert)
{
    SettingsValues calibrated;
    calibrated.calibration.AdcKPlus2V = 0.5;
    WindowRig w(StartedOn(calibrated));
    choose(w.f().cbRgm, 4);  // "0...+2В": ScaleK AdcKPlus2V (0,5), no shift
    w.f().eTOn->setText(QStringLiteral("25,5"));
    w.f().eTOff->setText(QStringLiteral("-5"));
    w.f().eAOn->setText(QStringLiteral("100"));
    w.f().eAOff->setText(QStringLiteral("10,5"));
    w.window->show();
    w.f().btOptions->click();
    ASSERT_TRUE(w.f().lbCtlPrm->isVisible());
    w.clickInWindow(w.f().lbCtlPrm);
    EXPECT_FALSE(w.f().gbCtlPrm->isHidden());

    EXPECT_TRUE(w.window->btCloseCtlPrmClick());
    EXPECT_TRUE(w.f().gbCtlPrm->isHidden());
    EXPECT_DOUBLE_EQ(w.window->controlThresholds().ThermoLevelOn, 25.5);
    EXPECT_DOUBLE_EQ(w.window->controlThresholds().ThermoLevelOff, -5.0);
    EXPECT_DOUBLE_EQ(w.window->controlThresholds().AnalogLevelOn, 200.0);  // ADC units: 100 / 0.5
    EXPECT_DOUBLE_EQ(w.window->controlThresholds().AnalogLevelOff, 21.0);
    EXPECT_TRUE(w.messages.said.isEmpty());

    // The temperatures convert, the last analogue text does not: nothing changes.
    w.f().eTOn->setText(QStringLiteral("30"));
    w.f().eTOff->setText(QStringLiteral("0"));
    w.f().eAOff->setText(QStringLiteral("10.5"));
    w.window->lbCtlPrmClick();
    EXPECT_FALSE(w.window->btCloseCtlPrmClick());
    EXPECT_TRUE(w.f().gbCtlPrm->isHidden());
    ASSERT_EQ(w.messages.said.size(), 1);
    EXPECT_EQ(w.messages.said[0].kind, Messages::Kind::Error);
    EXPECT_TRUE(w.messages.said[0].text.contains(QStringLiteral("10.5")));
    EXPECT_DOUBLE_EQ(w.window->controlThresholds().ThermoLevelOn, 25.5);
    EXPECT_DOUBLE_EQ(w.window->controlThresholds().ThermoLevelOff, -5.0);
    EXPECT_DOUBLE_EQ(w.window->controlThresholds().AnalogLevelOn, 200.0);
    EXPECT_DOUBLE_EQ(w.window->controlThresholds().AnalogLevelOff, 21.0);

    // A coefficient that does not convert fails the reading the same way.
    w.f().eAOff->setText(QStringLiteral("10,5"));
    w.f().emExtScale->setText(QString());
    choose(w.f().cbExtScale, 1);
    EXPECT_FALSE(w.window->btCloseCtlPrmClick());
    EXPECT_DOUBLE_EQ(w.window->controlThresholds().ThermoLevelOn, 25.5);
}
