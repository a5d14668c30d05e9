#include "files/OpenExport.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace korvel;

namespace {

SignalChannel channel(QVector<double> x, QVector<double> y, std::vector<quint16> words)
{
    SignalChannel c;
    c.points.x = std::move(x);
    c.points.y = std::move(y);
    c.words = std::move(words);
    return c;
}

}  // namespace

TEST(OpenExport, TableOfTheVisiblePointsWithDigitalLinesAndTemperature)
{
    PlottedSignal s;
    s.channels.push_back(channel({0, 0.5, 1, 1.5}, {-1, 2.25, 3, 4},
                                 {0x0000, 0x2000, 0xC000, 0xE000}));
    s.temperature = {90, -41, 4, 0};
    const ExportTable t = BuildExportTable(s, 0.5, 1.0, "Время, мс", "Напряжение, мВ");
    EXPECT_EQ(t.names, (QStringList{"Время, мс", "Напряжение, мВ", "d1", "d2", "d3", "T, °C"}));
    ASSERT_EQ(t.rows(), 2);
    EXPECT_EQ(t.columns[0], (std::vector<double>{0.5, 1}));
    EXPECT_EQ(t.columns[1], (std::vector<double>{2.25, 3}));
    EXPECT_EQ(t.columns[2], (std::vector<double>{1, 0}));
    EXPECT_EQ(t.columns[3], (std::vector<double>{0, 1}));
    EXPECT_EQ(t.columns[4], (std::vector<double>{0, 1}));
    EXPECT_EQ(t.columns[5], (std::vector<double>{-10.25, 1}));

    // Quoted names, point decimals under the comma locale the tests pin, LF endings.
    EXPECT_EQ(ToCsv(t), QStringLiteral("\"Время, мс\",\"Напряжение, мВ\",d1,d2,d3,\"T, °C\"\n"
                                       "0.5,2.25,1,0,0,-10.25\n"
                                       "1,3,0,1,1,1\n")
                            .toUtf8());
}

TEST(OpenExport, TwoAccelerometerChannelsWithoutDigitalLinesAndAShortChannelLeftEmpty)
{
    PlottedSignal s;
    s.kind = PlotKind::AccelerometerTwoChannels;
    s.channels.push_back(channel({0, 1, 2}, {10, 11, 12}, {0x8800, 0x8801, 0x8802}));
    s.channels.push_back(channel({0, 1}, {20, 21}, {0x0000, 0x0FFF}));
    const ExportTable t = BuildExportTable(s, -1, 10, "Выборки", "единицы АЦП");
    EXPECT_EQ(t.names, (QStringList{"Выборки", "единицы АЦП (X)", "единицы АЦП (Y)"}));
    ASSERT_EQ(t.rows(), 3);
    EXPECT_TRUE(std::isnan(t.columns[2][2]));
    EXPECT_EQ(ToCsv(t).split('\n').at(3), "2,12,");
}
