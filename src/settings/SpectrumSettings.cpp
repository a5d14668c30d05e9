#include "settings/SpectrumSettings.h"

#include "settings/IniFile.h"
#include "spectrum/Spectrum.h"
#include "text/NumberFormat.h"

#include <iterator>
#include <span>

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

SpectrumSettings ReadSpectrumSettings(const IniFile& ini, QList<UnconvertedValue>* unconverted)
{
    SpectrumSettings s;
    // One pass over the file, as the main window's keys are read; the first line of a key counts.
    bool inSection = false;
    bool seen[std::size(IntKeys) + std::size(Flags)] = {};
    const auto number = [&](QStringView key, QStringView text, int* v) {
        if (TryStrToInt(text, v))
            return true;
        if (!text.isEmpty() && unconverted)
            unconverted->append({Section, key.toString(), text.toString()});
        return false;
    };
    ini.forEachEntry([&](QStringView section) { inSection = IniFile::sameName(section, Section); },
                     [&](QStringView key, auto value) {
                         if (!inSection)
                             return;
                         int v = 0;
                         for (size_t i = 0; i < std::size(IntKeys); ++i)
                             if (!seen[i] && IniFile::sameName(key, IntKeys[i].name)) {
                                 seen[i] = true;
                                 if (number(key, value(), &v))
                                     s.*IntKeys[i].field = v;
                                 return;
                             }
                         for (size_t i = 0; i < std::size(Flags); ++i)
                             if (!seen[std::size(IntKeys) + i] && IniFile::sameName(key, Flags[i].name)) {
                                 seen[std::size(IntKeys) + i] = true;
                                 if (number(key, value(), &v))
                                     s.*Flags[i].field = v != 0;
                                 return;
                             }
                     });
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
    QString numbers[std::size(IntKeys)];
    IniFile::KeyValue keys[std::size(IntKeys) + std::size(Flags)];
    size_t n = 0;
    for (const Key& k : IntKeys) {
        numbers[n] = QString::number(s.*k.field);
        keys[n] = {k.name, numbers[n]};
        ++n;
    }
    for (const Flag& k : Flags)
        keys[n++] = {k.name, s.*k.field ? u"1" : u"0"};
    const IniFile::SectionValues section{Section, keys};
    ini.setValues(std::span(&section, 1));
}

}  // namespace korvel
