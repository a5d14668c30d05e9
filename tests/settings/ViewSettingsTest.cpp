// The chart's legend switch and the open button's recent files in Korvel.ini: a section of
// their own, kept across a run, and a list that stays newest first, unique and ten long.
#include "settings/IniFile.h"
#include "settings/RecentFiles.h"
#include "settings/Settings.h"
#include "text/Messages.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace korvel;

TEST(ViewSettings, LegendAndRecentFilesComeBackFromTheirOwnSection)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Korvel.ini"));
    RecordingMessages messages;
    SettingsValues v;
    v.ChartLegend = true;
    v.RecentFiles[0] = QStringLiteral("/данные/стенд 2/run.dtw");
    v.RecentFiles[1] = QStringLiteral("/data/a=b.dtw");
    ASSERT_TRUE(SaveSettings(path, v, messages));

    const IniFile ini = IniFile::load(path);
    EXPECT_EQ(ini.value(u"Просмотр", u"Легенда"), std::optional<QStringView>(u"1"));
    EXPECT_EQ(ini.value(u"Просмотр", u"Файл1"), std::optional<QStringView>(u"/данные/стенд 2/run.dtw"));

    const SettingsValues back = LoadSettings(path).values;
    EXPECT_TRUE(back.ChartLegend);
    EXPECT_EQ(back.RecentFiles, v.RecentFiles);
    EXPECT_FALSE(SettingsValues().ChartLegend);
}

TEST(RecentFiles, NewestFirstOnceEachTenAtMostAndOnlyWhatTheFileCanHold)
{
    RecentFileList list;
    for (int i = 1; i <= 12; ++i)
        list = WithRecentFile(list, QStringLiteral("/d/%1.dtw").arg(i));
    EXPECT_EQ(list.front(), QStringLiteral("/d/12.dtw"));
    EXPECT_EQ(list.back(), QStringLiteral("/d/3.dtw"));

    list = WithRecentFile(list, QStringLiteral("/d/7.dtw"));
    EXPECT_EQ(list[0], QStringLiteral("/d/7.dtw"));
    EXPECT_EQ(list[1], QStringLiteral("/d/12.dtw"));
    EXPECT_EQ(std::count(list.begin(), list.end(), QStringLiteral("/d/7.dtw")), 1);
    EXPECT_EQ(list.back(), QStringLiteral("/d/3.dtw"));

    // Windows-1251 has no Chinese, and a line break would end the key.
    EXPECT_EQ(WithRecentFile(list, QStringLiteral("/d/测试.dtw")), list);
    EXPECT_EQ(WithRecentFile(list, QStringLiteral("/d/a\nb.dtw")), list);

    list = WithoutRecentFile(list, QStringLiteral("/d/12.dtw"));
    EXPECT_EQ(list[1], QStringLiteral("/d/11.dtw"));
    EXPECT_TRUE(list.back().isEmpty());
}
