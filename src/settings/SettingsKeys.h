#pragma once
// Every key of Korvel.ini, defined once: section, key, type, default and what it drives.
// The table is in reading order; WriteOrder lists the same keys in the order they are written.

#include <array>
#include <cstddef>

namespace korvel {

// NumberText: the text of an edit that holds a number; it stays the user's text, but a number
// written in another locale is read with either separator.
enum class SettingType { Integer, Boolean, Float, String, NumberText };

// Texts are taken as they are written: an empty one is a value, not a missing key.
inline constexpr bool IsText(SettingType type)
{
    return type == SettingType::String || type == SettingType::NumberText;
}

enum class SettingId {
    WindowHeight, WindowWidth, WindowLeft, WindowTop,
    AdcKPlus2V, AdcKPlus5V, AdcKMinus2V, AdcKMinus5V, AdcBipolarShift2V, AdcBipolarShift5V,
    ExtScaleText, ExtShiftText, FExtrn, SamplesFExtrn, YTitle, ExtScaleIndex, ExtShiftIndex,
    RangeIndex, XScaleIndex, DisplayModeIndex, SaveXIndex, SaveYIndex,
    DigitChannel1, DigitChannel2, DigitChannel3, TemperatureToChart,
    ColorDgt1, ColorDgt2, ColorDgt3,
    ThermoOn, TCondition1, TCondition2, ThermoOff, TLevel1, TLevel2,
    AnalogOn, ACondition1, ACondition2, AnalogOff, ALevel1, ALevel2,
    TriggerType, SRAMblocks, Time4allSRAM, F,
    ChartLegend,
    RecentFile1, RecentFile2, RecentFile3, RecentFile4, RecentFile5,
    RecentFile6, RecentFile7, RecentFile8, RecentFile9, RecentFile10,
};

// The most recent data files the open button's list keeps.
inline constexpr int RecentFileCount = 10;

struct SettingKey {
    SettingId id;
    const char16_t* section;
    const char16_t* key;
    SettingType type;
    double number;          // default of integer, boolean and float keys
    const char16_t* text;   // default of string keys; a comma here is the locale's separator
    const char* appliesTo;
};

inline constexpr std::array<SettingKey, 56> SettingsTable{{
    {SettingId::WindowHeight, u"График сигнала", u"высота", SettingType::Integer, 515, nullptr, "window height"},
    {SettingId::WindowWidth, u"График сигнала", u"ширина", SettingType::Integer, 794, nullptr, "window width"},
    {SettingId::WindowLeft, u"График сигнала", u"слева", SettingType::Integer, 0, nullptr, "window left edge"},
    {SettingId::WindowTop, u"График сигнала", u"сверху", SettingType::Integer, 0, nullptr, "window top edge"},
    {SettingId::AdcKPlus2V, u"АЦП 2В", u"Kпреобр,(ед АЦП/мВ)", SettingType::Float, 1.0, nullptr, "AdcKPlus2V"},
    {SettingId::AdcKPlus5V, u"АЦП 5В", u"Kпреобр,(ед АЦП/мВ)", SettingType::Float, 1.0, nullptr, "AdcKPlus5V"},
    {SettingId::AdcKMinus2V, u"АЦП 2В", u"-Kпреобр,(ед АЦП/мВ)", SettingType::Float, -1.0, nullptr, "AdcKMinus2V"},
    {SettingId::AdcKMinus5V, u"АЦП 5В", u"-Kпреобр,(ед АЦП/мВ)", SettingType::Float, -1.0, nullptr, "AdcKMinus5V"},
    {SettingId::AdcBipolarShift2V, u"АЦП 2В", u"смещение биполярного", SettingType::Integer, 0, nullptr, "AdcBipolarShift2V"},
    {SettingId::AdcBipolarShift5V, u"АЦП 5В", u"смещение биполярного", SettingType::Integer, 0, nullptr, "AdcBipolarShift5V"},
    {SettingId::ExtScaleText, u"Внешние параметры", u"Kвнеш.", SettingType::NumberText, 0, u"1,0", "emExtScale text"},
    {SettingId::ExtShiftText, u"Внешние параметры", u"Внеш.Смещение", SettingType::String, 0, u"0", "emExtShift text"},
    {SettingId::FExtrn, u"F внешняя", u"Fextrn", SettingType::Integer, 100000, nullptr, "seFExtrn value"},
    {SettingId::SamplesFExtrn, u"F внешняя", u"Samples", SettingType::Integer, 30000, nullptr, "seSamplesFExtrn value"},
    {SettingId::YTitle, u"Внешние параметры", u"Имя Y", SettingType::String, 0, u"", "eYTitle text"},
    {SettingId::ExtScaleIndex, u"Внешние параметры", u"только Kвнеш.", SettingType::Integer, 0, nullptr, "cbExtScale index"},
    {SettingId::ExtShiftIndex, u"Внешние параметры", u"только внеш.Смещение", SettingType::Integer, 0, nullptr, "cbExtShift index"},
    {SettingId::RangeIndex, u"Jumpers", u"Режим", SettingType::Integer, 3, nullptr, "cbRgm index"},
    {SettingId::XScaleIndex, u"Options", u"X scale", SettingType::Integer, 0, nullptr, "cbXscale index"},
    {SettingId::DisplayModeIndex, u"Options", u"XYmode", SettingType::Integer, 0, nullptr, "cbShowK index"},
    {SettingId::SaveXIndex, u"Options", u"SaveXmode", SettingType::Integer, 0, nullptr, "cbTxtSaveX index"},
    {SettingId::SaveYIndex, u"Options", u"SaveYmode", SettingType::Integer, 0, nullptr, "cbTxtSaveY index"},
    {SettingId::DigitChannel1, u"Options", u"DigitChannel1", SettingType::Boolean, 0, nullptr, "cbDgt1 checked"},
    {SettingId::DigitChannel2, u"Options", u"DigitChannel2", SettingType::Boolean, 0, nullptr, "cbDgt2 checked"},
    {SettingId::DigitChannel3, u"Options", u"DigitChannel3", SettingType::Boolean, 0, nullptr, "cbDgt3 checked"},
    {SettingId::TemperatureToChart, u"Options", u"Temperature to Chart", SettingType::Boolean, 0, nullptr, "cbTermo checked"},
    {SettingId::ColorDgt1, u"Colors", u"Digit XP2/cont2", SettingType::Integer, 65535, nullptr, "SeriDgt1 colour"},
    {SettingId::ColorDgt2, u"Colors", u"Digit XP2/cont3", SettingType::Integer, 32768, nullptr, "SeriDgt2 colour"},
    {SettingId::ColorDgt3, u"Colors", u"Digit XP3/cont8", SettingType::Integer, 16711680, nullptr, "SeriDgt3 colour"},
    {SettingId::ThermoOn, u"Control", u"ThermoControlOut On", SettingType::NumberText, 0, u"155,0", "eTOn text"},
    {SettingId::TCondition1, u"Control", u"TCondition1", SettingType::Integer, 1, nullptr, "cbTCondition1 index"},
    {SettingId::TCondition2, u"Control", u"TCondition2", SettingType::Integer, 3, nullptr, "cbTCondition2 index"},
    {SettingId::ThermoOff, u"Control", u"ThermoControlOut Off", SettingType::NumberText, 0, u"-55,0", "eTOff text"},
    {SettingId::TLevel1, u"Control", u"TLevel1", SettingType::Integer, 1, nullptr, "cbTLevel1 index"},
    {SettingId::TLevel2, u"Control", u"TLevel2", SettingType::Integer, 0, nullptr, "cbTLevel2 index"},
    {SettingId::AnalogOn, u"Control", u"AnalogControlOut On", SettingType::NumberText, 0, u"99999,0", "eAOn text"},
    {SettingId::ACondition1, u"Control", u"ACondition1", SettingType::Integer, 1, nullptr, "cbACondition1 index"},
    {SettingId::ACondition2, u"Control", u"ACondition2", SettingType::Integer, 3, nullptr, "cbACondition2 index"},
    {SettingId::AnalogOff, u"Control", u"AnalogControlOut Off", SettingType::NumberText, 0, u"-99999,0", "eAOff text"},
    {SettingId::ALevel1, u"Control", u"ALevel1", SettingType::Integer, 1, nullptr, "cbALevel1 index"},
    {SettingId::ALevel2, u"Control", u"ALevel2", SettingType::Integer, 0, nullptr, "cbALevel2 index"},
    {SettingId::TriggerType, u"Запуск", u"Тип", SettingType::Integer, 0, nullptr, "TriggerType"},
    {SettingId::SRAMblocks, u"Окно F/T", u"SRAMblocks", SettingType::Integer, 8, nullptr, "SRAMblocks"},
    {SettingId::Time4allSRAM, u"Окно F/T", u"Time4allSRAM", SettingType::Integer, 10000, nullptr, "Time4allSRAM"},
    {SettingId::F, u"Окно F/T", u"F", SettingType::Integer, 2400, nullptr, "seF value"},
    // Our own section: the chart's legend and the open button's list, newest first.
    {SettingId::ChartLegend, u"Просмотр", u"Легенда", SettingType::Boolean, 0, nullptr, "chart legend shown"},
    {SettingId::RecentFile1, u"Просмотр", u"Файл1", SettingType::String, 0, u"", "recent data file 1"},
    {SettingId::RecentFile2, u"Просмотр", u"Файл2", SettingType::String, 0, u"", "recent data file 2"},
    {SettingId::RecentFile3, u"Просмотр", u"Файл3", SettingType::String, 0, u"", "recent data file 3"},
    {SettingId::RecentFile4, u"Просмотр", u"Файл4", SettingType::String, 0, u"", "recent data file 4"},
    {SettingId::RecentFile5, u"Просмотр", u"Файл5", SettingType::String, 0, u"", "recent data file 5"},
    {SettingId::RecentFile6, u"Просмотр", u"Файл6", SettingType::String, 0, u"", "recent data file 6"},
    {SettingId::RecentFile7, u"Просмотр", u"Файл7", SettingType::String, 0, u"", "recent data file 7"},
    {SettingId::RecentFile8, u"Просмотр", u"Файл8", SettingType::String, 0, u"", "recent data file 8"},
    {SettingId::RecentFile9, u"Просмотр", u"Файл9", SettingType::String, 0, u"", "recent data file 9"},
    {SettingId::RecentFile10, u"Просмотр", u"Файл10", SettingType::String, 0, u"", "recent data file 10"},
}};

// The top edge is written a second time after the F/T keys; it does not change the file.
inline constexpr std::array<SettingId, 57> WriteOrder{{
    SettingId::WindowHeight, SettingId::WindowWidth, SettingId::WindowLeft, SettingId::WindowTop,
    SettingId::F, SettingId::Time4allSRAM, SettingId::SRAMblocks,
    SettingId::WindowTop,
    SettingId::AdcKMinus2V, SettingId::AdcKPlus2V, SettingId::AdcBipolarShift2V,
    SettingId::AdcKMinus5V, SettingId::AdcKPlus5V, SettingId::AdcBipolarShift5V,
    SettingId::ExtScaleText, SettingId::ExtShiftText, SettingId::YTitle,
    SettingId::ExtScaleIndex, SettingId::ExtShiftIndex,
    SettingId::RangeIndex, SettingId::TriggerType, SettingId::FExtrn, SettingId::SamplesFExtrn,
    SettingId::XScaleIndex, SettingId::DisplayModeIndex, SettingId::SaveXIndex, SettingId::SaveYIndex,
    SettingId::DigitChannel1, SettingId::DigitChannel2, SettingId::DigitChannel3,
    SettingId::TemperatureToChart,
    SettingId::ColorDgt1, SettingId::ColorDgt2, SettingId::ColorDgt3,
    SettingId::ThermoOn, SettingId::TCondition1, SettingId::TLevel1,
    SettingId::ThermoOff, SettingId::TCondition2, SettingId::TLevel2,
    SettingId::AnalogOn, SettingId::ACondition1, SettingId::ALevel1,
    SettingId::AnalogOff, SettingId::ACondition2, SettingId::ALevel2,
    SettingId::ChartLegend,
    SettingId::RecentFile1, SettingId::RecentFile2, SettingId::RecentFile3, SettingId::RecentFile4,
    SettingId::RecentFile5, SettingId::RecentFile6, SettingId::RecentFile7, SettingId::RecentFile8,
    SettingId::RecentFile9, SettingId::RecentFile10,
}};

// The table lists the keys in the order of their ids, so an id is its row.
inline constexpr bool TableFollowsIds()
{
    for (size_t row = 0; row < SettingsTable.size(); ++row)
        if (static_cast<size_t>(SettingsTable[row].id) != row)
            return false;
    return true;
}
static_assert(TableFollowsIds());

inline constexpr const SettingKey& SettingKeyOf(SettingId id)
{
    return SettingsTable[static_cast<size_t>(id)];
}

}  // namespace korvel
