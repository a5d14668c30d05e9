#include "settings/SpectrumSettings.h"

#include "settings/IniFile.h"
#include "spectrum/Spectrum.h"
#include "text/NumberFormat.h"

namespace korvel {

namespace {

const QString Section = QStringLiteral("Спектр");

struct Key {
    const char16_t* name;
    int SpectrumSettings::*field;
};

constexpr Key IntKeys[] = {
    {u"Высота окна", &SpectrumSettings::height},
    {u"Ширина окна", &SpectrumSettings::width},
    {u"Левый край", &SpectrumSettings::left},
    {u"Верхний край", &SpectrumSettings::top},
    {u"Оконная функция", &SpectrumSettings::window},
    {u"Сегмент", &SpectrumSettings::segment},
};
struct Flag {
    const char16_t* name;
    bool SpectrumSettings::*field;
};

constexpr Flag Flags[] = {
    {u"дБ", &SpectrumSettings::decibels},
    {u"Лог. частота", &SpectrumSettings::logFrequency},
};

}  // namespace

SpectrumSettings ReadSpectrumSettings(const IniFile& ini)
{
    SpectrumSettings s;
    for (const Key& k : IntKeys) {
        int v = 0;
        const std::optional<QStringView> raw = ini.value(Section, k.name);
        if (raw && TryStrToInt(*raw, &v))
            s.*k.field = v;
    }
    for (const Flag& k : Flags) {
        int v = 0;
        const std::optional<QStringView> raw = ini.value(Section, k.name);
        if (raw && TryStrToInt(*raw, &v))
            s.*k.field = v != 0;
    }
    const SpectrumSettings defaults;
    if (s.window < 0 || s.window > 2)
        s.window = defaults.window;
    if (s.segment != 0 && !IsSegmentLength(s.segment))
        s.segment = defaults.segment;
    if (s.width < 100 || s.height < 100) {
        s.width = defaults.width;
        s.height = defaults.height;
    }
    return s;
}

void WriteSpectrumSettings(const SpectrumSettings& s, IniFile& ini)
{
    for (const Key& k : IntKeys)
        ini.setValue(Section, QString::fromUtf16(k.name), QString::number(s.*k.field));
    for (const Flag& k : Flags)
        ini.setValue(Section, QString::fromUtf16(k.name), s.*k.field ? QStringLiteral("1") : QStringLiteral("0"));
}

}  // namespace korvel
