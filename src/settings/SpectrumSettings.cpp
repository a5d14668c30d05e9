#include "settings/SpectrumSettings.h"

#include "settings/IniFile.h"
#include "text/NumberFormat.h"

#include <cmath>
#include <iterator>
#include <span>
#include <variant>
#include <vector>

namespace korvel {

namespace {

// The segment lengths the windows accept; kept here so the settings need nothing above them.
constexpr int ShortestSegment = 256;
constexpr int LongestSegment = 65536;

template <typename T>
struct Key {
    const char16_t* name;
    std::variant<int T::*, bool T::*, double T::*> field;
};

template <typename T>
T readSection(const IniFile& ini, QStringView section, std::span<const Key<T>> keys,
              QList<UnconvertedValue>* unconverted)
{
    T s;
    // One pass over the file, as the main window's keys are read; the first line of a key counts.
    bool inSection = false;
    std::vector<bool> seen(keys.size());
    ini.forEachEntry([&](QStringView name) { inSection = IniFile::sameName(name, section); },
                     [&](QStringView key, auto value) {
                         if (!inSection)
                             return;
                         for (size_t i = 0; i < keys.size(); ++i) {
                             if (seen[i] || !IniFile::sameName(key, keys[i].name))
                                 continue;
                             seen[i] = true;
                             const QStringView text = value();
                             int n = 0;
                             double d = 0.0;
                             bool converted = true;
                             if (auto* f = std::get_if<int T::*>(&keys[i].field)) {
                                 if ((converted = TryStrToInt(text, &n)))
                                     s.**f = n;
                             } else if (auto* b = std::get_if<bool T::*>(&keys[i].field)) {
                                 if ((converted = TryStrToInt(text, &n)))
                                     s.**b = n != 0;
                             } else if (auto* r = std::get_if<double T::*>(&keys[i].field)) {
                                 converted = TryStrToFloatEitherSeparator(text, &d) && std::isfinite(d);
                                 if (converted)
                                     s.**r = d;
                             }
                             // An empty value is an unset one; anything else unread is said.
                             if (!converted && !text.isEmpty() && unconverted)
                                 unconverted->append({section.toString(), key.toString(), text.toString()});
                             return;
                         }
                     });
    return s;
}

template <typename T>
void writeSection(const T& s, IniFile& ini, QStringView section, std::span<const Key<T>> keys)
{
    std::vector<QString> texts(keys.size());
    std::vector<IniFile::KeyValue> values(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        if (auto* f = std::get_if<int T::*>(&keys[i].field))
            texts[i] = QString::number(s.**f);
        else if (auto* b = std::get_if<bool T::*>(&keys[i].field))
            texts[i] = s.**b ? QStringLiteral("1") : QStringLiteral("0");
        else if (auto* r = std::get_if<double T::*>(&keys[i].field))
            texts[i] = FloatToStr(s.**r);
        values[i] = {keys[i].name, texts[i]};
    }
    const IniFile::SectionValues one{section, values};
    ini.setValues(std::span(&one, 1));
}

const QString SpectrumSection = QStringLiteral("Спектр");
const QString SpectrogramSection = QStringLiteral("Спектрограмма");

using SK = SpectrumSettings;
const Key<SK> SpectrumKeys[] = {
    {u"Высота окна", &SK::height},
    {u"Ширина окна", &SK::width},
    {u"Левый край", &SK::left},
    {u"Верхний край", &SK::top},
    {u"Оконная функция", &SK::window},
    {u"Сегмент", &SK::segment},
    {u"дБ", &SK::decibels},
    {u"Лог. частота", &SK::logFrequency},
    {u"Перекрытие", &SK::overlap},
    {u"Пиковое удержание", &SK::averaging},
    {u"Шкала", &SK::scale},
    {u"Величина", &SK::quantity},
    {u"Срез, Гц", &SK::lowCutHz},
    {u"Полоса", &SK::band},
    {u"Полоса от, Гц", &SK::bandFromHz},
    {u"Полоса до, Гц", &SK::bandToHz},
    {u"Пики", &SK::peaks},
    {u"Число пиков", &SK::peakCount},
};

using GK = SpectrogramSettings;
const Key<GK> SpectrogramKeys[] = {
    {u"Высота окна", &GK::height},
    {u"Ширина окна", &GK::width},
    {u"Левый край", &GK::left},
    {u"Верхний край", &GK::top},
    {u"Оконная функция", &GK::window},
    {u"Сегмент", &GK::segment},
    {u"Перекрытие", &GK::overlap},
    {u"Шкала", &GK::scale},
    {u"дБ", &GK::decibels},
};

bool isSegment(int n)
{
    return n >= ShortestSegment && n <= LongestSegment;
}

bool isOverlap(int percent)
{
    return percent == 0 || percent == 50 || percent == 75;
}

// A window too small to use takes its default size.
template <typename T>
void keepPlaceable(T& s, const T& defaults)
{
    if (s.width < 100 || s.height < 100) {
        s.width = defaults.width;
        s.height = defaults.height;
    }
}

void keepWithin(int& v, int lo, int hi, int fallback)
{
    if (v < lo || v > hi)
        v = fallback;
}

}  // namespace

SpectrumSettings ReadSpectrumSettings(const IniFile& ini, QList<UnconvertedValue>* unconverted)
{
    SpectrumSettings s = readSection<SK>(ini, SpectrumSection, SpectrumKeys, unconverted);
    const SpectrumSettings d;
    keepWithin(s.window, 0, 2, d.window);
    keepWithin(s.averaging, 0, 1, d.averaging);
    keepWithin(s.scale, 0, 3, d.scale);
    keepWithin(s.quantity, 0, 2, d.quantity);
    keepWithin(s.peakCount, 1, 50, d.peakCount);
    if (s.segment != 0 && !isSegment(s.segment))
        s.segment = d.segment;
    if (!isOverlap(s.overlap))
        s.overlap = d.overlap;
    if (!(s.lowCutHz >= 0.0))
        s.lowCutHz = d.lowCutHz;
    if (!(s.bandFromHz >= 0.0 && s.bandFromHz < s.bandToHz)) {
        s.bandFromHz = d.bandFromHz;
        s.bandToHz = d.bandToHz;
    }
    keepPlaceable(s, d);
    return s;
}

void WriteSpectrumSettings(const SpectrumSettings& s, IniFile& ini)
{
    writeSection<SK>(s, ini, SpectrumSection, SpectrumKeys);
}

SpectrogramSettings ReadSpectrogramSettings(const IniFile& ini,
                                            QList<UnconvertedValue>* unconverted)
{
    SpectrogramSettings s = readSection<GK>(ini, SpectrogramSection, SpectrogramKeys, unconverted);
    const SpectrogramSettings d;
    keepWithin(s.window, 0, 2, d.window);
    keepWithin(s.scale, 0, 3, d.scale);
    if (!isSegment(s.segment))
        s.segment = d.segment;
    if (!isOverlap(s.overlap))
        s.overlap = d.overlap;
    keepPlaceable(s, d);
    return s;
}

void WriteSpectrogramSettings(const SpectrogramSettings& s, IniFile& ini)
{
    writeSection<GK>(s, ini, SpectrogramSection, SpectrogramKeys);
}

}  // namespace korvel
