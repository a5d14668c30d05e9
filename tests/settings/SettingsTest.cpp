// The settings file: defaults, the reader's clamps, locale-bound numbers, round trips that keep
// foreign content, the write order, and a failed write that must leave the old file alone.
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "text/Messages.h"
#include "text/NumberFormat.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>
#include <csignal>
#include <sys/resource.h>

using namespace korvel;

namespace {

IniFile iniOf(const QString& text)
{
    QStringEncoder enc("windows-1251");
    return IniFile::fromBytes(enc(text));
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Makes every write beyond a size fail, whatever the rights of the user running the tests.
struct FileSizeLimit {
    rlimit saved{};
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
};

struct LocaleGuard {
    QLocale saved;
    explicit LocaleGuard(const QLocale& l) { QLocale::setDefault(l); }
    ~LocaleGuard() { QLocale::setDefault(saved); }
};

}  // namespace

TEST(IniFile, MatchesSectionsAndKeysWithoutCaseAndTrimsValues)
{
    const IniFile ini = iniOf(u"; header\r\n[АЦП 2В]\r\nKПРЕОБР,(ЕД АЦП/МВ) =  2,5 \r\n"_qs);
    EXPECT_EQ(ini.value(u"ацп 2в"_qs, u"Kпреобр,(ед АЦП/мВ)"_qs), u"2,5"_qs);
    EXPECT_FALSE(ini.value(u"АЦП 5В"_qs, u"Kпреобр,(ед АЦП/мВ)"_qs).has_value());
    EXPECT_FALSE(ini.value(u"АЦП 2В"_qs, u"; header"_qs).has_value());
}

TEST(IniFile, ReadsEveryLineEndAndIgnoresKeysOutsideSections)
{
    const IniFile ini = iniOf(u"F=1\r[Окно F/T]\rF=2\n\n[Other]\r\nF=3"_qs);
    EXPECT_EQ(ini.value(QStringLiteral("Окно F/T"), QStringLiteral("F")), u"2"_qs);
    EXPECT_EQ(ini.value(QStringLiteral("Other"), QStringLiteral("F")), u"3"_qs);
    EXPECT_EQ(ini.value(QString(), QStringLiteral("F")), std::nullopt);
}

TEST(IniFile, RewritingKeepsCommentsUnknownKeysAndTheFilesSpelling)
{
    IniFile ini = iniOf(u"; мой комментарий\n[Options]\nx SCALE=2\nМоё=значение\n\n[Чужое]\na=b\n"_qs);
    ini.setValue(u"options"_qs, u"X scale"_qs, u"1"_qs);
    ini.setValue(u"Options"_qs, u"XYmode"_qs, u"3"_qs);
    ini.setValue(u"Новое"_qs, u"k"_qs, u"v"_qs);
    EXPECT_EQ(ini.text(),
              u"; мой комментарий\r\n[Options]\r\nx SCALE=1\r\nМоё=значение\r\nXYmode=3\r\n\r\n"
              "[Чужое]\r\na=b\r\n[Новое]\r\nk=v\r\n"_qs);
    // Russian names travel as single bytes.
    EXPECT_TRUE(ini.toBytes().contains("\xcd\xee\xe2\xee\xe5"));  // "Новое"
}

TEST(IniFile, OnlyTheFirstSectionOfANameAndTheFirstLineOfAKeyCount)
{
    IniFile ini = iniOf(u"[Options]\nXYmode=1\nXYmode=2\n\n[OPTIONS]\nSaveXmode=3\n"_qs);
    EXPECT_EQ(ReadSettings(ini).cbShowK, 1);
    EXPECT_EQ(ReadSettings(ini).cbTxtSaveX, 0);
    ini.setValue(u"options"_qs, u"xymode"_qs, u"4"_qs);
    ini.setValue(u"Options"_qs, u"SaveXmode"_qs, u"5"_qs);
    EXPECT_EQ(ini.text(), u"[Options]\r\nXYmode=4\r\nXYmode=2\r\nSaveXmode=5\r\n\r\n"
                          "[OPTIONS]\r\nSaveXmode=3\r\n"_qs);
}

TEST(Settings, NoFileGivesTheDefaults)
{
    const SettingsValues v = ReadSettings(IniFile{});
    EXPECT_EQ(v.WindowWidth, 794);
    EXPECT_EQ(v.WindowHeight, 515);
    EXPECT_EQ(v.WindowLeft, 0);
    EXPECT_EQ(v.WindowTop, 0);
    EXPECT_EQ(v.cbRgm, 3);
    EXPECT_DOUBLE_EQ(v.calibration.AdcKPlus2V, 1.0);
    EXPECT_DOUBLE_EQ(v.calibration.AdcKPlus5V, 1.0);
    EXPECT_DOUBLE_EQ(v.calibration.AdcKMinus2V, -1.0);
    EXPECT_DOUBLE_EQ(v.calibration.AdcKMinus5V, -1.0);
    EXPECT_EQ(v.calibration.AdcBipolarShift5V, 0);
    EXPECT_EQ(v.SRAMblocks, 8);
    EXPECT_EQ(v.Time4allSRAM, 10000);
    EXPECT_EQ(v.seF, 2400);
    EXPECT_EQ(v.ColorDgt1, 65535);
    EXPECT_EQ(v.cbTCondition2, 3);
    // The test locale uses a comma: the program's own texts exactly.
    EXPECT_EQ(v.emExtScale, u"1,0"_qs);
    EXPECT_EQ(v.eTOn, u"155,0"_qs);
    EXPECT_EQ(v.eAOff, u"-99999,0"_qs);
}

TEST(Settings, NumericDefaultTextsFollowAPointLocale)
{
    LocaleGuard point(QLocale::c());
    const SettingsValues v = ReadSettings(IniFile{});
    EXPECT_EQ(v.emExtScale, u"1.0"_qs);
    EXPECT_EQ(v.eTOff, u"-55.0"_qs);
    EXPECT_EQ(v.eAOn, u"99999.0"_qs);
}

TEST(Settings, ReaderClampsWhatWouldBreakLaterSteps)
{
    for (const char16_t* blocks : {u"0", u"9", u"-3", u"abc"}) {
        const SettingsValues v = ReadSettings(iniOf(u"[Окно F/T]\nSRAMblocks="_qs + QString::fromUtf16(blocks)));
        EXPECT_EQ(v.SRAMblocks, 8) << QString::fromUtf16(blocks).toStdString();
    }
    EXPECT_EQ(ReadSettings(iniOf(u"[Окно F/T]\nSRAMblocks=3"_qs)).SRAMblocks, 3);
    EXPECT_EQ(ReadSettings(iniOf(u"[Запуск]\nТип=5"_qs)).TriggerType, 0);
    EXPECT_EQ(ReadSettings(iniOf(u"[запуск]\nтип=2"_qs)).TriggerType, 2);
    EXPECT_EQ(ReadSettings(iniOf(u"[Options]\nX scale=7"_qs)).cbXscale, 0);
    EXPECT_EQ(ReadSettings(iniOf(u"[Options]\nX scale=2"_qs)).cbXscale, 2);
    // Other item indexes pass through: the window shows no selection for them.
    EXPECT_EQ(ReadSettings(iniOf(u"[Jumpers]\nРежим=17"_qs)).cbRgm, 17);
}

TEST(Settings, NumbersWrittenInEitherLocaleAreReadInAnyAndTheRestAreNamed)
{
    // What the program writes under ru_RU and under C.UTF-8, each read in the other locale.
    const QString commaFile = u"[АЦП 2В]\nKпреобр,(ед АЦП/мВ)=0,5\n[Control]\n"
                              "ThermoControlOut On=155,0\nAnalogControlOut Off=-2,25E-3\n"_qs;
    const QString pointFile = u"[АЦП 5В]\n-Kпреобр,(ед АЦП/мВ)=-0.25\n"
                              "[Внешние параметры]\nKвнеш.=2.5\n"_qs;
    for (const QLocale& locale : {QLocale(QLocale::Russian, QLocale::Russia), QLocale::c()}) {
        LocaleGuard pinned(locale);
        const QString sep = DecimalSeparator();
        QList<UnconvertedValue> unconverted;
        const SettingsValues comma = ReadSettings(iniOf(commaFile), &unconverted);
        EXPECT_DOUBLE_EQ(comma.calibration.AdcKPlus2V, 0.5);
        // The thresholds stay texts of their edits, in the separator the edits convert.
        EXPECT_EQ(comma.eTOn, u"155"_qs + sep + u"0"_qs);
        EXPECT_EQ(comma.eAOff, u"-2"_qs + sep + u"25E-3"_qs);
        const SettingsValues point = ReadSettings(iniOf(pointFile), &unconverted);
        EXPECT_DOUBLE_EQ(point.calibration.AdcKMinus5V, -0.25);
        EXPECT_EQ(point.emExtScale, u"2"_qs + sep + u"5"_qs);
        EXPECT_TRUE(unconverted.isEmpty());
        // Values made without a file (korvel-cli's, a test's) have the same texts, and an
        // edit the user left empty stays empty.
        EXPECT_EQ(SettingsValues().eTOff, u"-55"_qs + sep + u"0"_qs);
        EXPECT_EQ(SettingsValues().emExtScale, u"1"_qs + sep + u"0"_qs);
        EXPECT_EQ(ReadSettings(iniOf(u"[Control]\nAnalogControlOut On=\n"_qs)).eAOn, QString());
    }

    // A value that is no number in either form is named, and is not the default in disguise.
    QList<UnconvertedValue> unconverted;
    const SettingsValues v = ReadSettings(
        iniOf(u"[АЦП 5В]\nKпреобр,(ед АЦП/мВ)=1.000,5\n[График сигнала]\nширина=широко\n"
              "высота=\n[Options]\nDigitChannel1=7\n[Спектр]\nдБ=да\n"
              "[Control]\nThermoControlOut On=тепло\n"_qs),
        &unconverted);
    ASSERT_EQ(unconverted.size(), 3);
    EXPECT_EQ(unconverted[0].key, u"ширина"_qs);
    EXPECT_EQ(unconverted[1].section, u"АЦП 5В"_qs);
    EXPECT_EQ(unconverted[1].key, u"Kпреобр,(ед АЦП/мВ)"_qs);
    EXPECT_EQ(unconverted[1].text, u"1.000,5"_qs);
    EXPECT_EQ(unconverted[2].section, u"Спектр"_qs);
    EXPECT_EQ(unconverted[2].text, u"да"_qs);
    EXPECT_DOUBLE_EQ(v.calibration.AdcKPlus5V, 1.0);
    EXPECT_EQ(v.WindowWidth, 794);
    EXPECT_EQ(v.WindowHeight, 515);  // an empty value is no value
    EXPECT_TRUE(v.cbDgt1);
    EXPECT_EQ(v.eTOn, u"тепло"_qs);  // a typed text stays for the user to see in its edit
}

TEST(Settings, TheWriterNeverMakesAFileItsReaderRefuses)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Korvel.ini"_qs);
    // Exactly the reader's limit with LF line ends: CR LF for each would take it over.
    QByteArray lf = "[Options]\nXYmode=2\n";
    while (lf.size() + 22 <= IniFile::MaxBytes)
        lf += "; " + QByteArray(8, 'x') + '\n';
    lf += QByteArray(IniFile::MaxBytes - lf.size() - 1, ';') + '\n';
    ASSERT_EQ(lf.size(), IniFile::MaxBytes);
    writeFile(path, lf);
    LoadedSettings loaded = LoadSettings(path);
    ASSERT_FALSE(loaded.refused());
    ASSERT_EQ(loaded.values.cbShowK, 2);

    RecordingMessages msgs;
    loaded.values.cbShowK = 1;
    EXPECT_FALSE(SaveSettings(path, loaded.values, msgs));
    EXPECT_EQ(msgs.texts(),
              QStringList{u"Файл "_qs + path
                          + u" не записан: с настройками программы он стал бы больше 1048576 "
                            "байт, и программа не смогла бы его прочитать"_qs});
    EXPECT_EQ(readFile(path), lf);
    EXPECT_EQ(LoadSettings(path).values.cbShowK, 2);

    // A refused file is said, by what it is.
    writeFile(path, lf + "\n");
    loaded = LoadSettings(path);
    EXPECT_TRUE(loaded.refused());
    EXPECT_EQ(loaded.problem(path), u"Файл настроек "_qs + path
                                        + u" не прочитан: он больше 1048576 байт, а таких файлов "
                                          "настроек не бывает"_qs);
}

TEST(Settings, AFileSavedAsUtf8IsReadAsUtf8AndWrittenBackInWindows1251)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Korvel.ini"_qs);
    const QString text = u"; правлено в редакторе\r\n[АЦП 2В]\r\nKпреобр,(ед АЦП/мВ)=0,5\r\n"
                         "[Внешние параметры]\r\nИмя Y=Давление, кПа\r\n"_qs;
    for (const QByteArray& mark : {QByteArray(), QByteArray("\xEF\xBB\xBF")}) {
        writeFile(path, mark + text.toUtf8());
        const LoadedSettings loaded = LoadSettings(path);
        EXPECT_TRUE(loaded.readAsUtf8);
        EXPECT_TRUE(loaded.problem(path).isEmpty());
        EXPECT_DOUBLE_EQ(loaded.values.calibration.AdcKPlus2V, 0.5);
        EXPECT_EQ(loaded.values.eYTitle, u"Давление, кПа"_qs);

        RecordingMessages msgs;
        ASSERT_TRUE(SaveSettings(path, loaded.values, msgs));
        const QByteArray back = readFile(path);
        QStringDecoder cp1251("windows-1251");
        const QString written = cp1251(back);
        EXPECT_TRUE(written.startsWith(u"; правлено в редакторе\r\n[АЦП 2В]\r\n"
                                       "Kпреобр,(ед АЦП/мВ)=0,5\r\n"_qs));
        // The sections were found, not added again at the end.
        EXPECT_EQ(written.count(u"[АЦП 2В]"_qs), 1);
        EXPECT_EQ(written.count(u"Имя Y="_qs), 1);
        const LoadedSettings again = LoadSettings(path);
        EXPECT_FALSE(again.readAsUtf8);
        EXPECT_EQ(again.values.eYTitle, u"Давление, кПа"_qs);
    }
}

TEST(Settings, EveryKeySurvivesAWriteAndReadBack)
{
    SettingsValues v;
    v.WindowHeight = 600; v.WindowWidth = 900; v.WindowLeft = -4; v.WindowTop = 33;
    v.calibration = {0.61, -0.62, 12, 1.25, -1.5, -7};
    v.emExtScale = u"2,5"_qs; v.emExtShift = u"-3"_qs; v.eYTitle = u"Давление, кПа"_qs;
    v.cbExtScale = 2; v.cbExtShift = 1; v.cbRgm = 5; v.cbXscale = 1; v.cbShowK = 3;
    v.cbTxtSaveX = 2; v.cbTxtSaveY = 1; v.cbDgt1 = true; v.cbDgt3 = true; v.cbTermo = true;
    v.ColorDgt1 = 255; v.ColorDgt2 = 0; v.ColorDgt3 = 12345678;
    v.eTOn = u"30"_qs; v.eTOff = u"20,5"_qs; v.eAOn = u"1"_qs; v.eAOff = u"-1"_qs;
    v.cbTCondition1 = 0; v.cbTCondition2 = 2; v.cbTLevel1 = 0; v.cbTLevel2 = 1;
    v.cbACondition1 = 3; v.cbACondition2 = 0; v.cbALevel1 = 0; v.cbALevel2 = 1;
    v.seFExtrn = 5000; v.seSamplesFExtrn = 60000; v.TriggerType = 2; v.SRAMblocks = 2;
    v.Time4allSRAM = 12345; v.seF = 19440;

    IniFile ini;
    WriteSettings(v, ini);
    const SettingsValues r = ReadSettings(IniFile::fromBytes(ini.toBytes()));
    EXPECT_EQ(r.WindowHeight, 600); EXPECT_EQ(r.WindowWidth, 900);
    EXPECT_EQ(r.WindowLeft, -4); EXPECT_EQ(r.WindowTop, 33);
    EXPECT_DOUBLE_EQ(r.calibration.AdcKPlus2V, 0.61);
    EXPECT_DOUBLE_EQ(r.calibration.AdcKMinus2V, -0.62);
    EXPECT_EQ(r.calibration.AdcBipolarShift2V, 12);
    EXPECT_DOUBLE_EQ(r.calibration.AdcKPlus5V, 1.25);
    EXPECT_DOUBLE_EQ(r.calibration.AdcKMinus5V, -1.5);
    EXPECT_EQ(r.calibration.AdcBipolarShift5V, -7);
    EXPECT_EQ(r.emExtScale, v.emExtScale); EXPECT_EQ(r.emExtShift, v.emExtShift);
    EXPECT_EQ(r.eYTitle, v.eYTitle);
    EXPECT_EQ(r.cbExtScale, 2); EXPECT_EQ(r.cbExtShift, 1); EXPECT_EQ(r.cbRgm, 5);
    EXPECT_EQ(r.cbXscale, 1); EXPECT_EQ(r.cbShowK, 3);
    EXPECT_EQ(r.cbTxtSaveX, 2); EXPECT_EQ(r.cbTxtSaveY, 1);
    EXPECT_TRUE(r.cbDgt1); EXPECT_FALSE(r.cbDgt2); EXPECT_TRUE(r.cbDgt3); EXPECT_TRUE(r.cbTermo);
    EXPECT_EQ(r.ColorDgt1, 255); EXPECT_EQ(r.ColorDgt2, 0); EXPECT_EQ(r.ColorDgt3, 12345678);
    EXPECT_EQ(r.eTOn, v.eTOn); EXPECT_EQ(r.eTOff, v.eTOff);
    EXPECT_EQ(r.eAOn, v.eAOn); EXPECT_EQ(r.eAOff, v.eAOff);
    EXPECT_EQ(r.cbTCondition1, 0); EXPECT_EQ(r.cbTCondition2, 2);
    EXPECT_EQ(r.cbTLevel1, 0); EXPECT_EQ(r.cbTLevel2, 1);
    EXPECT_EQ(r.cbACondition1, 3); EXPECT_EQ(r.cbACondition2, 0);
    EXPECT_EQ(r.cbALevel1, 0); EXPECT_EQ(r.cbALevel2, 1);
    EXPECT_EQ(r.seFExtrn, 5000); EXPECT_EQ(r.seSamplesFExtrn, 60000);
    EXPECT_EQ(r.TriggerType, 2); EXPECT_EQ(r.SRAMblocks, 2);
    EXPECT_EQ(r.Time4allSRAM, 12345); EXPECT_EQ(r.seF, 19440);
}

TEST(Settings, WritesBooleansAsDigitsAndFloatsWithTheLocaleSeparator)
{
    SettingsValues v = ReadSettings(iniOf(u"[Options]\nDigitChannel1=7\n"_qs));
    v.calibration.AdcKPlus2V = 0.61;
    IniFile ini;
    WriteSettings(v, ini);
    EXPECT_EQ(ini.value(u"Options"_qs, u"DigitChannel1"_qs), u"1"_qs);
    EXPECT_EQ(ini.value(u"АЦП 2В"_qs, u"Kпреобр,(ед АЦП/мВ)"_qs), u"0,61"_qs);
    EXPECT_EQ(ini.value(u"АЦП 5В"_qs, u"-Kпреобр,(ед АЦП/мВ)"_qs), u"-1"_qs);
}

TEST(Settings, AFreshFileFollowsTheWriteOrder)
{
    IniFile ini;
    WriteSettings(SettingsValues{}, ini);
    const QString t = ini.text();
    const QStringList order = {
        u"[График сигнала]"_qs, u"высота="_qs, u"сверху="_qs, u"[Окно F/T]"_qs, u"F="_qs,
        u"Time4allSRAM="_qs, u"SRAMblocks="_qs, u"[АЦП 2В]"_qs, u"-Kпреобр"_qs,
        u"[АЦП 5В]"_qs, u"[Внешние параметры]"_qs, u"Kвнеш.="_qs, u"Внеш.Смещение="_qs,
        u"Имя Y="_qs, u"только Kвнеш.="_qs, u"[Jumpers]"_qs, u"[Запуск]"_qs,
        u"[F внешняя]"_qs, u"Fextrn="_qs, u"Samples="_qs, u"[Options]"_qs, u"X scale="_qs,
        u"Temperature to Chart="_qs, u"[Colors]"_qs, u"[Control]"_qs,
        u"ThermoControlOut On="_qs, u"TCondition1="_qs, u"TLevel1="_qs,
        u"ThermoControlOut Off="_qs, u"ALevel2="_qs};
    qsizetype at = -1;
    for (const QString& s : order) {
        const qsizetype next = t.indexOf(s);
        EXPECT_GT(next, at) << s.toStdString();
        at = next;
    }
    EXPECT_EQ(t.count(u"сверху="_qs), 1);
    EXPECT_EQ(t.count(u"\nKвнеш.="_qs), 1);
}

TEST(Settings, SavingKeepsForeignContentOfTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Korvel.ini"_qs);
    QStringEncoder enc("windows-1251");
    writeFile(path, enc(u"; от руки\r\n[Options]\r\nМоё=1\r\nXYmode=2\r\n[Прочее]\r\nz=9\r\n"_qs));
    RecordingMessages msgs;
    SettingsValues v = LoadSettings(path).values;
    EXPECT_EQ(v.cbShowK, 2);
    v.cbShowK = 1;
    ASSERT_TRUE(SaveSettings(path, v, msgs));
    EXPECT_TRUE(msgs.said.isEmpty());
    const IniFile back = IniFile::load(path);
    EXPECT_TRUE(back.text().startsWith(u"; от руки\r\n[Options]\r\nМоё=1\r\nXYmode=1\r\n"_qs));
    EXPECT_EQ(back.value(u"Прочее"_qs, u"z"_qs), u"9"_qs);
    EXPECT_EQ(LoadSettings(path).values.cbShowK, 1);
}

TEST(Settings, AFailedWriteLeavesTheOldFileAndSaysSo)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Korvel.ini"_qs);
    writeFile(path, "[Options]\r\nXYmode=2\r\n");
    RecordingMessages msgs;
    SettingsValues v;
    v.cbShowK = 1;
    bool saved = true;
    {
        FileSizeLimit limit(64);  // the new file is far larger: its write fails
        saved = SaveSettings(path, v, msgs);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(readFile(path), QByteArray("[Options]\r\nXYmode=2\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"Korvel.ini"_qs});
    ASSERT_EQ(msgs.said.size(), 1);
    EXPECT_EQ(msgs.said[0].kind, Messages::Kind::Error);
    EXPECT_EQ(msgs.said[0].text, u"Unable to write to "_qs + path);
}

TEST(Settings, SpectrumSectionsComeAfterTheWindowsKeysAndFallBackOnNonsense)
{
    LocaleGuard russian(QLocale(QLocale::Russian, QLocale::Russia));
    SettingsValues v;
    SpectrumSettings& s = v.spectrum;
    s.height = 400;
    s.width = 900;
    s.left = 10;
    s.top = 20;
    s.window = 2;
    s.segment = 3000;
    s.overlap = 75;
    s.averaging = 1;
    s.scale = 2;
    s.quantity = 1;
    s.lowCutHz = 2.5;
    s.band = true;
    s.bandFromHz = 10;
    s.bandToHz = 1000;
    s.peaks = true;
    s.peakCount = 8;
    s.decibels = true;
    s.logFrequency = true;
    v.spectrogram.segment = 4096;
    v.spectrogram.overlap = 0;
    v.spectrogram.decibels = false;
    IniFile ini;
    WriteSettings(v, ini);
    const QString t = ini.text();
    EXPECT_GT(t.indexOf(u"[Спектр]"_qs), t.indexOf(u"ALevel2="_qs));
    EXPECT_GT(t.indexOf(u"[Спектрограмма]"_qs), t.indexOf(u"[Спектр]"_qs));
    // The low cut-off is written as the user reads numbers (a comma in Russian).
    EXPECT_TRUE(t.contains(u"Срез, Гц=2,5"_qs)) << t.toStdString();
    const SettingsValues back = ReadSettings(ini);
    const SpectrumSettings& b = back.spectrum;
    EXPECT_EQ(std::tie(b.height, b.width, b.left, b.top, b.window, b.segment, b.overlap, b.averaging,
                       b.scale, b.quantity, b.peakCount),
              std::tie(s.height, s.width, s.left, s.top, s.window, s.segment, s.overlap, s.averaging,
                       s.scale, s.quantity, s.peakCount));
    EXPECT_EQ(std::tie(b.lowCutHz, b.bandFromHz, b.bandToHz), std::tie(s.lowCutHz, s.bandFromHz, s.bandToHz));
    EXPECT_TRUE(b.band && b.peaks && b.decibels && b.logFrequency);
    EXPECT_EQ(back.spectrogram.segment, 4096);
    EXPECT_EQ(back.spectrogram.overlap, 0);
    EXPECT_FALSE(back.spectrogram.decibels);

    const SettingsValues odd = ReadSettings(
        iniOf(u"[Спектр]\nОконная функция=7\nСегмент=100\nШирина окна=5\nдБ=x\nПерекрытие=30\n"
              u"Полоса от, Гц=500\nПолоса до, Гц=20\nСрез, Гц=-1\n[Спектрограмма]\nСегмент=70000\n"_qs));
    EXPECT_EQ(odd.spectrum.window, 0);
    EXPECT_EQ(odd.spectrum.segment, 0);
    EXPECT_EQ(odd.spectrum.width, SpectrumSettings{}.width);
    EXPECT_FALSE(odd.spectrum.decibels);
    EXPECT_EQ(odd.spectrum.overlap, 50);
    EXPECT_EQ(odd.spectrum.bandFromHz, SpectrumSettings{}.bandFromHz);
    EXPECT_EQ(odd.spectrum.bandToHz, SpectrumSettings{}.bandToHz);
    EXPECT_EQ(odd.spectrum.lowCutHz, SpectrumSettings{}.lowCutHz);
    EXPECT_EQ(odd.spectrogram.segment, SpectrogramSettings{}.segment);
}
