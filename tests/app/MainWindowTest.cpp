// The main window: layout on resize, spreading and restoring, start-up from the settings file,
// the trigger selector, the external-clock label, help topics and the close that writes back.
#include "WindowRig.h"

#include "app/HelpWindow.h"
#include "chartview/ChartView.h"
#include "settings/IniFile.h"

#include <QApplication>
#include <QFile>
#include <QHelpEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QStatusBar>
#include <QStringEncoder>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

// The window on a scripted port, started on a settings file of these bytes (none when null).
WindowOptions startedOn(const QByteArray& fileBytes)
{
    WindowOptions o = OnScriptedPort(QStringLiteral("ttyTEST"));
    o.settingsFile = fileBytes;
    return o;
}
// The same, on a settings file with this text as a user writes it (Windows-1251).
WindowOptions startedOn(const QString& ini = QString())
{
    return startedOn(ini.isNull() ? QByteArray() : QStringEncoder("windows-1251").encode(ini));
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

}  // namespace

TEST(MainWindow, ResizeLaysOutChartPanelsAndStatusBar)
{
    WindowRig fx(startedOn());
    fx.window->show();
    fx.window->resize(400, 300);
    Ui::MainWindow& f = fx.f();
    EXPECT_EQ(f.Chart1->size(), QSize(378, 131));
    EXPECT_EQ(f.gbFile->width(), 378);
    EXPECT_EQ(f.Panel1->width(), 378);
    EXPECT_EQ(f.progressBar->width(), 358);
    EXPECT_EQ(f.mComment->width(), 362);
    EXPECT_EQ(f.gbAllCmnt->size(), QSize(378, 131));
    EXPECT_EQ(f.MAllCmnt->width(), 362);
    EXPECT_EQ(f.MAllCmnt->height(), 131 - f.pSearch->height() - f.MAllCmnt->y() - 10);
    EXPECT_EQ(f.pSearch->width(), 358);
    EXPECT_EQ(f.pSearch->y(), 131 - f.pSearch->height() - 5);
    EXPECT_EQ(f.btSaveChart->y(), 105);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(fx.window->statusPanel(i)->width(), 133);
        EXPECT_EQ(fx.window->statusPanel(i)->x(), 133 * i);
    }
}

TEST(MainWindow, AStatusTextCutShortIsWholeInItsToolTip)
{
    WindowRig fx(startedOn());
    fx.window->show();
    fx.window->resize(400, 300);
    QLabel* panel = fx.window->statusPanel(1);
    auto tipFor = [panel](const QString& text) {
        panel->setText(text);
        QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), panel->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(panel, &hover);
        return panel->toolTip();
    };
    const QString summary = QStringLiteral("XP2/8: +5В, сигнал 1234,56 мВ >= 1000,0 мВ, включено");
    EXPECT_EQ(tipFor(summary), summary);
    EXPECT_EQ(tipFor(QStringLiteral("ИЗМЕРЕНИЕ")), QString());
}

TEST(MainWindow, ClickOnAWindowCoveringTheWorkAreaShrinksItToTheDefault)
{
    WindowRig fx(startedOn());
    const QRect work = fx.window->screen()->availableGeometry();
    fx.window->resize(fx.window->screen()->geometry().width(), work.y() + work.height());
    fx.window->FormClick();
    EXPECT_EQ(fx.window->size(), QSize(620, 480));
    EXPECT_EQ(fx.window->pos(), QPoint(0, 0));
    EXPECT_EQ(fx.f().Chart1->size(), QSize(598, 311));
}

TEST(MainWindow, TwoClicksSpreadTheWindowAndBringItBack)
{
    WindowRig fx(startedOn());
    fx.window->show();
    fx.window->resize(500, 400);
    fx.window->move(30, 40);
    const QScreen* s = fx.window->screen();
    const QRect work = s->availableGeometry();

    // A click on the free area right of the comment box, not on a control.
    QWidget* central = fx.f().centralwidget;
    const QPoint free(central->width() - 3, 100);
    ASSERT_EQ(central->childAt(free), nullptr);
    QTest::mouseClick(central, Qt::LeftButton, {}, free);
    // Spread: the outer frame, title bar included, covers the work area.
    EXPECT_EQ(fx.window->frameGeometry(), QRect(0, 0, s->geometry().width(), work.y() + work.height()));

    QTest::mouseClick(central, Qt::LeftButton, {}, QPoint(central->width() - 3, 100));
    EXPECT_EQ(fx.window->size(), QSize(500, 400));
    EXPECT_EQ(fx.window->pos(), QPoint(30, 40));

    // A click on a label is not a click on the window.
    QTest::mouseClick(fx.f().lbHeadFile, Qt::LeftButton);
    EXPECT_EQ(fx.window->size(), QSize(500, 400));
}

TEST(MainWindow, RestoredGeometryStaysOnTheScreenAndAboveTheMinimum)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    WindowRig huge(startedOn(QStringLiteral("[График сигнала]\nвысота=100000\nширина=100000\nслева=-5000\nсверху=-4000\n")));
    EXPECT_TRUE(screen.contains(huge.window->geometry())) << huge.window->width();
    WindowRig tiny(startedOn(QStringLiteral("[График сигнала]\nвысота=-20\nширина=-5\n")));
    EXPECT_EQ(tiny.window->size(), QSize(400, 300));
}

TEST(MainWindow, StartsWithTheDefaultsWhenThereIsNoSettingsFile)
{
    WindowRig fx(startedOn());
    MainWindow& w = *fx.window;
    Ui::MainWindow& f = fx.f();
    EXPECT_EQ(w.size(), QSize(794, 515));
    EXPECT_EQ(w.pos(), QPoint(0, 0));
    EXPECT_EQ(f.cbRgm->currentIndex(), 3);
    EXPECT_EQ(f.cbRgm->currentText(), QStringLiteral("±2,5В"));
    EXPECT_DOUBLE_EQ(w.scaleState().calibration.AdcKPlus5V, 1.0);
    EXPECT_DOUBLE_EQ(w.scaleState().calibration.AdcKMinus2V, -1.0);
    EXPECT_DOUBLE_EQ(w.scaleState().ScaleK, 1.0);
    EXPECT_EQ(w.scaleState().ScaleShift, 0);
    EXPECT_EQ(f.pRgm->text(), QStringLiteral("Kацп=1,00; СДВИГ=0 (ini-файл)"));
    EXPECT_EQ(w.ftCalculator().SRAMblocks(), 8);
    EXPECT_EQ(f.seSamples->value(), 240000);
    EXPECT_EQ(w.ftCalculator().Time4allSRAM(), 10000);
    EXPECT_EQ(f.seF->value(), 2400);
    EXPECT_EQ(f.seTime->value(), 10000);
    EXPECT_EQ(f.emExtScale->text(), QStringLiteral("1,0"));
    EXPECT_FALSE(f.emExtScale->isEnabled());
    EXPECT_EQ(f.lbTimeFExtr->text(), QStringLiteral("Время измерения: 0c"));
    EXPECT_EQ(f.Chart1->seriesColor(f.Chart1->SeriDgt1()), QColor(255, 255, 0));
    EXPECT_EQ(f.cbDgt3->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_TRUE(w.timErrColor().isActive());
    EXPECT_EQ(w.timErrColor().interval(), 300);
    EXPECT_FALSE(w.timer2().isActive());
    EXPECT_EQ(w.timer2().interval(), 250);
    // The error label blinks between red and yellow.
    EXPECT_EQ(f.lErrIn->palette().color(QPalette::WindowText), QColor(Qt::red));
    w.TimErrColorTimer();
    EXPECT_EQ(f.lErrIn->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    w.TimErrColorTimer();
    EXPECT_EQ(f.lErrIn->palette().color(QPalette::WindowText), QColor(Qt::red));
}

TEST(MainWindow, StartUpAppliesTheFileWithItsClamps)
{
    WindowRig fx(startedOn(
        QStringLiteral("[Окно F/T]\nSRAMblocks=2\nTime4allSRAM=10000\nF=10\n"
                       "[Jumpers]\nРежим=9\n[Внешние параметры]\nтолько внеш.Смещение=1\n"
                       "[F внешняя]\nFextrn=100\nSamples=240000\n[Colors]\nDigit XP2/cont2=255\n")));
    MainWindow& w = *fx.window;
    Ui::MainWindow& f = fx.f();
    EXPECT_EQ(f.seSamples->value(), 60000);
    EXPECT_EQ(f.seTime->value(), 2500);
    EXPECT_EQ(f.seF->value(), 75);  // clamped by the field
    EXPECT_EQ(f.cbRgm->currentIndex(), -1);
    EXPECT_DOUBLE_EQ(w.scaleState().ScaleK, 0.0);  // no range: the coefficient keeps its start value
    EXPECT_EQ(f.pRgm->text(), QStringLiteral("Kацп=0,00; СДВИГ=0 (ini-файл)"));
    EXPECT_TRUE(f.emExtShift->isEnabled());
    EXPECT_EQ(f.lbTimeFExtr->text(), QStringLiteral("Время измерения: 2400c"));
    EXPECT_EQ(f.Chart1->seriesColor(f.Chart1->SeriDgt1()), QColor(255, 0, 0));

    for (const char* blocks : {"0", "9"}) {
        WindowRig bad(startedOn(QStringLiteral("[Окно F/T]\nSRAMblocks=%1\n").arg(QLatin1String(blocks))));
        EXPECT_EQ(bad.window->ftCalculator().SRAMblocks(), 8);
        EXPECT_EQ(bad.f().seSamples->value(), 240000);
    }
}

TEST(MainWindow, ASettingsFileTheReaderRefusesIsSaidOnceAndLeftAsItIs)
{
    const QByteArray big = "[Options]\r\nXYmode=2\r\n;" + QByteArray(1024 * 1024, 'x') + "\r\n";
    WindowRig refused(startedOn(big));
    EXPECT_EQ(refused.f().cbShowK->currentIndex(), 0);
    ASSERT_EQ(refused.messages.said.size(), 1);
    EXPECT_EQ(refused.messages.said[0].kind, Messages::Kind::Error);
    EXPECT_EQ(refused.messages.said[0].text,
              QStringLiteral("Файл настроек %1 не прочитан: он больше 1048576 байт, а таких файлов "
                             "настроек не бывает.\nПрограмма работает с настройками по умолчанию и "
                             "при закрытии не перезапишет этот файл.")
                  .arg(refused.settingsPath()));
    refused.window->show();
    refused.window->close();
    EXPECT_EQ(refused.messages.said.size(), 1);
    EXPECT_EQ(readFile(refused.settingsPath()), big);

    // Saved by an editor as UTF-8: read whole, said once, written back as the program writes.
    WindowRig utf8(startedOn(QStringLiteral("[АЦП 5В]\r\nKпреобр,(ед АЦП/мВ)=0,5\r\n"
                                            "[Options]\r\nXYmode=2\r\n").toUtf8()));
    EXPECT_EQ(utf8.f().pRgm->text(), QStringLiteral("Kацп=0,50; СДВИГ=0 (ini-файл)"));
    EXPECT_EQ(utf8.f().cbShowK->currentIndex(), 2);
    ASSERT_EQ(utf8.messages.said.size(), 1);
    EXPECT_EQ(utf8.messages.said[0].kind, Messages::Kind::Information);
    EXPECT_EQ(utf8.messages.said[0].text, ReadAsUtf8Message(utf8.settingsPath()));
    utf8.window->show();
    utf8.window->close();
    EXPECT_EQ(utf8.messages.said.size(), 1);
    const QByteArray back = readFile(utf8.settingsPath());
    QStringEncoder cp1251("windows-1251");
    const QByteArray section = cp1251.encode(QStringLiteral("[АЦП 5В]\r\n"));
    EXPECT_TRUE(back.startsWith(
        section + cp1251.encode(QStringLiteral("Kпреобр,(ед АЦП/мВ)=0,5\r\n"))));
    EXPECT_EQ(back.count(section), 1);
}

TEST(MainWindow, NumbersOfTheSettingsFileAreReadInEitherLocaleAndANonNumberIsNamed)
{
    // Written under ru_RU, started under C.UTF-8 (a point locale).
    const QLocale saved;
    QLocale::setDefault(QLocale::c());
    {
        WindowRig fx(startedOn(QStringLiteral(
            "[АЦП 5В]\nKпреобр,(ед АЦП/мВ)=0,5\n[Control]\n"
            "ThermoControlOut On=155,0\nThermoControlOut Off=-55,0\n"
            "AnalogControlOut On=99999,0\nAnalogControlOut Off=-99999,0\n")));
        EXPECT_EQ(fx.f().pRgm->text(), QStringLiteral("Kацп=0.50; СДВИГ=0 (ini-файл)"));
        EXPECT_EQ(fx.f().eTOn->text(), QStringLiteral("155.0"));
        EXPECT_TRUE(fx.window->btCloseCtlPrmClick());
        EXPECT_DOUBLE_EQ(fx.window->controlThresholds().ThermoLevelOn, 155.0);
        EXPECT_DOUBLE_EQ(fx.window->controlThresholds().ThermoLevelOff, -55.0);
        EXPECT_TRUE(fx.messages.said.isEmpty());
    }
    QLocale::setDefault(saved);

    WindowRig bad(startedOn(QStringLiteral("[АЦП 2В]\nKпреобр,(ед АЦП/мВ)=0,5x\n")));
    ASSERT_EQ(bad.messages.said.size(), 1);
    EXPECT_EQ(bad.messages.said[0].kind, Messages::Kind::Error);
    EXPECT_EQ(bad.messages.said[0].text,
              QStringLiteral("В файле настроек %1 эти значения не являются числами:\n"
                             "[АЦП 2В] Kпреобр,(ед АЦП/мВ)=0,5x\n"
                             "Вместо них взяты значения по умолчанию; при закрытии программы они "
                             "будут записаны в файл.")
                  .arg(bad.settingsPath()));
}

TEST(MainWindow, TriggerSelectorCyclesAndRestoresTheSavedType)
{
    WindowRig fx(startedOn(QStringLiteral("[Запуск]\nТип=5\n")));
    MainWindow& w = *fx.window;
    EXPECT_EQ(w.triggerType(), 0);
    EXPECT_EQ(fx.f().btExtrn->toolTip(), QStringLiteral("Запуск от компьютера"));
    const QStringList hints = {QStringLiteral("Внешний запуск по фронту"),
                               QStringLiteral("Внешний запуск по спаду"),
                               QStringLiteral("Запуск от компьютера")};
    for (int i = 0; i < 3; ++i) {
        fx.f().btExtrn->click();
        EXPECT_EQ(w.triggerType(), (i + 1) % 3);
        EXPECT_EQ(fx.f().btExtrn->toolTip(), hints[i]);
    }

    WindowRig falling(startedOn(QStringLiteral("[Запуск]\nТип=2\n")));
    EXPECT_EQ(falling.window->triggerType(), 2);
    EXPECT_EQ(falling.f().btExtrn->toolTip(), QStringLiteral("Внешний запуск по спаду"));
}

TEST(MainWindow, ExternalClockLabelAndClamp)
{
    WindowRig fx(startedOn());
    Ui::MainWindow& f = fx.f();
    f.seFExtrn->setValue(100000);
    f.seSamplesFExtrn->setValue(30000);
    EXPECT_EQ(f.lbTimeFExtr->text(), QStringLiteral("Время измерения: 0c"));
    f.seFExtrn->setValue(100);
    f.seSamplesFExtrn->setValue(240000);
    EXPECT_EQ(f.lbTimeFExtr->text(), QStringLiteral("Время измерения: 2400c"));
    // Typed out of range, the field is put back into range by its change handler.
    f.seFExtrn->findChild<QLineEdit*>()->setText(QStringLiteral("0"));
    EXPECT_EQ(f.seFExtrn->value(), 100);
    f.seFExtrn->findChild<QLineEdit*>()->setText(QStringLiteral("250000"));
    EXPECT_EQ(f.seFExtrn->value(), 100000);
    EXPECT_EQ(f.lbTimeFExtr->text(), QStringLiteral("Время измерения: 2c"));
}

TEST(MainWindow, FormHoldsTheControlsInTheirStartState)
{
    WindowRig fx(startedOn());
    Ui::MainWindow& f = fx.f();
    for (QWidget* off : {static_cast<QWidget*>(f.btPrevFile), static_cast<QWidget*>(f.btNextFile),
                         static_cast<QWidget*>(f.btRd)})
        EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
    // The comment list asks for a folder when no file is open yet.
    EXPECT_TRUE(f.btShowCmnt->isEnabled());
    fx.window->show();
    for (QWidget* hidden : {static_cast<QWidget*>(f.gbFT), static_cast<QWidget*>(f.gbAx),
                            static_cast<QWidget*>(f.gbOptions), static_cast<QWidget*>(f.gbCtlPrm),
                            static_cast<QWidget*>(f.Panel1), static_cast<QWidget*>(f.gbAllCmnt),
                            static_cast<QWidget*>(f.pnlA), static_cast<QWidget*>(f.pnlT),
                            static_cast<QWidget*>(f.mClipBoard), static_cast<QWidget*>(f.pLdFile)})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    EXPECT_TRUE(f.Chart1->isVisible());
    // Controls that must be reachable while the control-output panel is hidden.
    for (QWidget* outside : {static_cast<QWidget*>(f.lbCtlPrm), static_cast<QWidget*>(f.btTemperature),
                             static_cast<QWidget*>(f.pnlA), static_cast<QWidget*>(f.pnlT)})
        EXPECT_FALSE(f.gbCtlPrm->isAncestorOf(outside)) << outside->objectName().toStdString();
    EXPECT_TRUE(f.gbOptions->isAncestorOf(f.lbCtlPrm));
    EXPECT_TRUE(f.Chart1->isAncestorOf(f.Panel1));
    EXPECT_TRUE(f.Chart1->isAncestorOf(f.gbAllCmnt));
    EXPECT_EQ(fx.window->windowTitle(), QStringLiteral("АЦП 12 разрядов, частота выборки до 1МГц"));
    EXPECT_EQ(f.cbXscale->count(), 3);
    EXPECT_EQ(f.cbTCondition2->itemText(3), QStringLiteral("<="));
    EXPECT_EQ(fx.window->N1()->text(), QStringLiteral("Копировать"));
}

TEST(MainWindow, HelpTopicsFollowTheAreaUnderTheMouse)
{
    WindowRig fx(startedOn());
    Ui::MainWindow& f = fx.f();
    EXPECT_EQ(HelpTopicOf(f.mComment), 2);
    EXPECT_EQ(HelpTopicOf(f.eFind), 3);
    EXPECT_EQ(HelpTopicOf(f.seF), 4);
    EXPECT_EQ(HelpTopicOf(f.bt1MHz), 4);
    EXPECT_EQ(HelpTopicOf(f.cbRgm), 5);
    EXPECT_EQ(HelpTopicOf(f.status), 6);
    EXPECT_EQ(HelpTopicOf(f.btSave), 7);
    EXPECT_EQ(HelpTopicOf(f.Chart1), 7);
    EXPECT_EQ(HelpTopicOf(f.btSaveChart), 8);
    for (int topic = FirstHelpTopic; topic <= LastHelpTopic; ++topic)
        EXPECT_TRUE(QFile::exists(HelpPageUrl(topic).toString().mid(3))) << topic;

    fx.window->showHelpFor(f.btCopy);
    const auto* help = fx.window->findChild<HelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->source(), HelpPageUrl(8));
    EXPECT_FALSE(help->toPlainText().isEmpty());
}

TEST(MainWindow, CloseWritesTheSettingsBack)
{
    WindowRig fx(startedOn(QStringLiteral("; kept\n[Options]\nDigitChannel1=7\n")));
    fx.window->show();
    fx.f().btExtrn->click();
    fx.window->close();
    EXPECT_FALSE(fx.window->timErrColor().isActive());
    EXPECT_TRUE(fx.messages.said.isEmpty());
    const IniFile ini = IniFile::load(fx.settingsPath());
    EXPECT_TRUE(ini.text().startsWith(QStringLiteral("; kept\r\n")));
    EXPECT_EQ(ini.value(QStringLiteral("Options"), QStringLiteral("DigitChannel1")), QStringLiteral("1"));
    EXPECT_EQ(ini.value(QStringLiteral("Запуск"), QStringLiteral("Тип")), QStringLiteral("1"));
    EXPECT_EQ(ini.value(QStringLiteral("График сигнала"), QStringLiteral("ширина")), QStringLiteral("794"));
}

TEST(MainWindow, AFailedSettingsWriteStillClosesTheWindow)
{
    WindowRig fx(startedOn(QStringLiteral("[Options]\nXYmode=2\n")));
    const QByteArray before = readFile(fx.settingsPath());
    fx.window->show();
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 32;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool closed = fx.window->close();
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(fx.window->isVisible());
    EXPECT_EQ(readFile(fx.settingsPath()), before);
    ASSERT_EQ(fx.messages.said.size(), 1);
    EXPECT_EQ(fx.messages.said[0].text, QStringLiteral("Unable to write to ") + fx.settingsPath());
}
