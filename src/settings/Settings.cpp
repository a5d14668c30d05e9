#include "settings/Settings.h"

#include "settings/IniFile.h"
#include "text/Cp1251.h"
#include "text/Messages.h"
#include "text/NumberFormat.h"
#include "text/RegularFiles.h"

#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <charconv>
#include <variant>

namespace korvel {

namespace {

using Field = std::variant<int*, bool*, double*, QString*>;

// Where each key lives in the struct; the table says how it is typed and what its default is.
Field bind(SettingsValues& v, SettingId id)
{
    Calibration& c = v.calibration;
    switch (id) {
    case SettingId::WindowHeight: return &v.WindowHeight;
    case SettingId::WindowWidth: return &v.WindowWidth;
    case SettingId::WindowLeft: return &v.WindowLeft;
    case SettingId::WindowTop: return &v.WindowTop;
    case SettingId::AdcKPlus2V: return &c.AdcKPlus2V;
    case SettingId::AdcKPlus5V: return &c.AdcKPlus5V;
    case SettingId::AdcKMinus2V: return &c.AdcKMinus2V;
    case SettingId::AdcKMinus5V: return &c.AdcKMinus5V;
    case SettingId::AdcBipolarShift2V: return &c.AdcBipolarShift2V;
    case SettingId::AdcBipolarShift5V: return &c.AdcBipolarShift5V;
    case SettingId::ExtScaleText: return &v.emExtScale;
    case SettingId::ExtShiftText: return &v.emExtShift;
    case SettingId::FExtrn: return &v.seFExtrn;
    case SettingId::SamplesFExtrn: return &v.seSamplesFExtrn;
    case SettingId::YTitle: return &v.eYTitle;
    case SettingId::ExtScaleIndex: return &v.cbExtScale;
    case SettingId::ExtShiftIndex: return &v.cbExtShift;
    case SettingId::RangeIndex: return &v.cbRgm;
    case SettingId::XScaleIndex: return &v.cbXscale;
    case SettingId::DisplayModeIndex: return &v.cbShowK;
    case SettingId::SaveXIndex: return &v.cbTxtSaveX;
    case SettingId::SaveYIndex: return &v.cbTxtSaveY;
    case SettingId::DigitChannel1: return &v.cbDgt1;
    case SettingId::DigitChannel2: return &v.cbDgt2;
    case SettingId::DigitChannel3: return &v.cbDgt3;
    case SettingId::TemperatureToChart: return &v.cbTermo;
    case SettingId::ColorDgt1: return &v.ColorDgt1;
    case SettingId::ColorDgt2: return &v.ColorDgt2;
    case SettingId::ColorDgt3: return &v.ColorDgt3;
    case SettingId::ThermoOn: return &v.eTOn;
    case SettingId::TCondition1: return &v.cbTCondition1;
    case SettingId::TCondition2: return &v.cbTCondition2;
    case SettingId::ThermoOff: return &v.eTOff;
    case SettingId::TLevel1: return &v.cbTLevel1;
    case SettingId::TLevel2: return &v.cbTLevel2;
    case SettingId::AnalogOn: return &v.eAOn;
    case SettingId::ACondition1: return &v.cbACondition1;
    case SettingId::ACondition2: return &v.cbACondition2;
    case SettingId::AnalogOff: return &v.eAOff;
    case SettingId::ALevel1: return &v.cbALevel1;
    case SettingId::ALevel2: return &v.cbALevel2;
    case SettingId::TriggerType: return &v.TriggerType;
    case SettingId::SRAMblocks: return &v.SRAMblocks;
    case SettingId::Time4allSRAM: return &v.Time4allSRAM;
    case SettingId::F: return &v.seF;
    case SettingId::ChartLegend: return &v.ChartLegend;
    case SettingId::RecentFile1:
    case SettingId::RecentFile2:
    case SettingId::RecentFile3:
    case SettingId::RecentFile4:
    case SettingId::RecentFile5:
    case SettingId::RecentFile6:
    case SettingId::RecentFile7:
    case SettingId::RecentFile8:
    case SettingId::RecentFile9:
    case SettingId::RecentFile10:
        return &v.RecentFiles[static_cast<size_t>(id) - static_cast<size_t>(SettingId::RecentFile1)];
    }
    return &v.WindowHeight;  // unreachable
}

// The table's rows by section, for reading the file in one pass.
struct TableSection {
    QStringView name;
    QList<qsizetype> rows;  // into SettingsTable
};

const QList<TableSection>& tableSections()
{
    static const QList<TableSection> sections = [] {
        QList<TableSection> out;
        for (qsizetype row = 0; row < qsizetype(SettingsTable.size()); ++row) {
            const QStringView name(SettingsTable[row].section);
            auto it = std::find_if(out.begin(), out.end(),
                                   [&](const TableSection& t) { return t.name == name; });
            if (it == out.end())
                it = out.insert(out.end(), TableSection{name, {}});
            it->rows.append(row);
        }
        return out;
    }();
    return sections;
}

// What the file gives for each row of the table, as IniFile::value would find it: the first
// line of the key in the first section of its name.
std::array<std::optional<QStringView>, SettingsTable.size()> findKeys(const IniFile& ini)
{
    std::array<std::optional<QStringView>, SettingsTable.size()> found;
    const QList<TableSection>& sections = tableSections();
    QList<bool> seen(sections.size(), false);
    const TableSection* current = nullptr;
    qsizetype expected = 0;  // the program writes a section's keys in the table's order
    ini.forEachEntry(
        [&](QStringView name) {
            current = nullptr;
            expected = 0;
            for (qsizetype t = 0; t < sections.size(); ++t) {
                if (!IniFile::sameName(name, sections[t].name))
                    continue;
                if (!seen[t])
                    current = &sections[t];
                seen[t] = true;
                return;
            }
        },
        [&](QStringView key, const auto& value) {
            if (!current)
                return;
            const QList<qsizetype>& rows = current->rows;
            qsizetype at = expected;
            if (at >= rows.size() || !IniFile::sameName(key, SettingsTable[rows[at]].key)) {
                at = 0;
                while (at < rows.size() && !IniFile::sameName(key, SettingsTable[rows[at]].key))
                    ++at;
                if (at == rows.size())
                    return;
            }
            expected = at + 1;
            if (!found[rows[at]])
                found[rows[at]] = value();
        });
    return found;
}

// Puts the file's text of a key, or its default, into the field; false when the text is not a
// number of the key's type. An empty value is no value.
bool readKey(std::optional<QStringView> raw, const SettingKey& k, SettingsValues& v)
{
    if (raw && raw->isEmpty() && !IsText(k.type))
        raw.reset();
    bool converted = true;
    std::visit(
        [&](auto* field) {
            using T = std::remove_pointer_t<decltype(field)>;
            if constexpr (std::is_same_v<T, QString>) {
                if (!raw)
                    *field = DefaultText(k);
                else if (k.type == SettingType::NumberText)
                    *field = WithLocaleSeparator(*raw);
                else
                    *field = raw->toString();
            } else if constexpr (std::is_same_v<T, double>) {
                double d = 0;
                converted = !raw || TryStrToFloatEitherSeparator(*raw, &d);
                *field = raw && converted ? d : k.number;
            } else {
                int i = 0;
                converted = !raw || TryStrToInt(*raw, &i);
                const bool ok = raw && converted;
                if constexpr (std::is_same_v<T, bool>)
                    *field = ok ? i != 0 : k.number != 0;
                else
                    *field = ok ? i : static_cast<int>(k.number);
            }
        },
        bind(v, k.id));
    return converted;
}

// WriteOrder by section, in the order each section is first written, each key once (the top
// edge is written twice, with the same value): what IniFile::setValues takes.
struct WriteGroup {
    QStringView section;
    QList<SettingId> ids;
};

const QList<WriteGroup>& writeGroups()
{
    static const QList<WriteGroup> groups = [] {
        QList<WriteGroup> out;
        for (const SettingId id : WriteOrder) {
            const QStringView section(SettingKeyOf(id).section);
            auto it = std::find_if(out.begin(), out.end(),
                                   [&](const WriteGroup& g) { return g.section == section; });
            if (it == out.end())
                it = out.insert(out.end(), WriteGroup{section, {}});
            if (!it->ids.contains(id))
                it->ids.append(id);
        }
        return out;
    }();
    return groups;
}

// The text a key is written with. Integers are formatted into digits, which the view then
// points into, so that writing the file allocates next to nothing per key.
QStringView writtenText(SettingsValues& v, SettingId id, std::array<char16_t, 12>& digits,
                        QString& scratch)
{
    return std::visit(
        [&](auto* field) -> QStringView {
            using T = std::remove_pointer_t<decltype(field)>;
            if constexpr (std::is_same_v<T, QString>) {
                return *field;
            } else if constexpr (std::is_same_v<T, double>) {
                scratch = FloatToStr(*field);
                return scratch;
            } else if constexpr (std::is_same_v<T, bool>) {
                return *field ? u"1" : u"0";
            } else {
                char ascii[12];
                const auto end = std::to_chars(ascii, ascii + sizeof ascii, *field).ptr;
                std::copy(ascii, end, digits.begin());
                return QStringView(digits.data(), end - ascii);
            }
        },
        bind(v, id));
}

}  // namespace

QString DefaultText(const SettingKey& key)
{
    if (!key.text)
        return {};
    // The table's own characters, not a copy, unless the separator must change.
    QString t = QString::fromRawData(reinterpret_cast<const QChar*>(key.text),
                                     QStringView(key.text).size());
    // The defaults were made for a comma locale; elsewhere they must still convert.
    const QChar separator = DecimalSeparator();
    if (separator != u',')
        t.replace(QChar(','), separator);
    return t;
}

SettingsValues::SettingsValues()
{
    for (const SettingKey& k : SettingsTable)
        if (IsText(k.type))
            *std::get<QString*>(bind(*this, k.id)) = DefaultText(k);
}

SettingsValues ReadSettings(const IniFile& ini, QList<UnconvertedValue>* unconverted)
{
    SettingsValues v;
    const auto found = findKeys(ini);
    for (size_t row = 0; row < SettingsTable.size(); ++row) {
        const SettingKey& k = SettingsTable[row];
        if (!readKey(found[row], k, v) && unconverted)
            unconverted->append({QString::fromUtf16(k.section), QString::fromUtf16(k.key),
                                 found[row]->toString()});
    }
    if (v.SRAMblocks < 1 || v.SRAMblocks > 8)
        v.SRAMblocks = 8;
    if (v.TriggerType < 0 || v.TriggerType > 2)
        v.TriggerType = 0;
    // An X unit outside the list would leave the unit factor and its name undefined.
    if (v.cbXscale < 0 || v.cbXscale > 2)
        v.cbXscale = 0;
    v.spectrum = ReadSpectrumSettings(ini, unconverted);
    v.spectrogram = ReadSpectrogramSettings(ini, unconverted);
    return v;
}

bool LoadedSettings::refused() const
{
    return file != RegularFileStatus::Ok && file != RegularFileStatus::Missing;
}

QString LoadedSettings::problem(const QString& path) const
{
    switch (file) {
    case RegularFileStatus::TooLarge:
        return Format(u"Файл настроек %s не прочитан: он больше %d байт, а таких файлов "
                      u"настроек не бывает",
                      {path, IniFile::MaxBytes});
    case RegularFileStatus::NotRegular:
        return Format(u"Файл настроек %s не прочитан: это не обычный файл (папка, канал или "
                      u"устройство)",
                      {path});
    case RegularFileStatus::Unreadable:
        return Format(u"Файл настроек %s не прочитан: его не удалось открыть для чтения", {path});
    case RegularFileStatus::Ok:
    case RegularFileStatus::Missing: break;
    }
    if (unconverted.isEmpty())
        return {};
    QString text = Format(u"В файле настроек %s эти значения не являются числами:", {path});
    for (const UnconvertedValue& u : unconverted)
        text += Format(u"\n[%s] %s=%s", {u.section, u.key, u.text});
    return text;
}

LoadedSettings LoadSettings(const QString& path)
{
    LoadedSettings loaded;
    const IniFile ini = IniFile::load(path, &loaded.file);
    loaded.readAsUtf8 = ini.readAsUtf8();
    loaded.values = ReadSettings(ini, &loaded.unconverted);
    return loaded;
}

QString ReadAsUtf8Message(const QString& path)
{
    return Format(u"Файл настроек %s сохранён в кодировке UTF-8. Он прочитан как UTF-8 и при "
                  u"закрытии программы будет записан в Windows-1251, как программа пишет его "
                  u"всегда",
                  {path});
}

void WriteSettings(const SettingsValues& values, IniFile& ini)
{
    SettingsValues v = values;  // bind() hands out mutable fields
    std::array<std::array<char16_t, 12>, SettingsTable.size()> digits;
    std::array<QString, SettingsTable.size()> scratch;
    std::array<IniFile::KeyValue, SettingsTable.size()> keys;
    QVarLengthArray<IniFile::SectionValues, 16> sections;
    qsizetype n = 0;
    for (const WriteGroup& group : writeGroups()) {
        const qsizetype first = n;
        for (const SettingId id : group.ids) {
            const size_t row = static_cast<size_t>(id);
            keys[n++] = {SettingsTable[row].key, writtenText(v, id, digits[row], scratch[row])};
        }
        sections.append({group.section, std::span(keys.data() + first, n - first)});
    }
    ini.setValues(sections);
    WriteSpectrumSettings(values.spectrum, ini);
    WriteSpectrogramSettings(values.spectrogram, ini);
}

bool SaveSettings(const QString& path, const SettingsValues& values, Messages& messages)
{
    // Without the codec the file would be written empty in place of the user's settings.
    if (!Cp1251Available()) {
        messages.error(Cp1251MissingMessage(path));
        return false;
    }
    RegularFileStatus status = RegularFileStatus::Ok;
    IniFile ini = IniFile::load(path, &status);
    // What was too large to read is not replaced either: it is hardly a settings file.
    if (status == RegularFileStatus::TooLarge) {
        messages.error(Format(u"Файл %s не записан: для файла настроек он слишком велик "
                              u"(больше %d байт)",
                              {path, IniFile::MaxBytes}));
        return false;
    }
    WriteSettings(values, ini);
    const QByteArray bytes = ini.toBytes();
    // CR LF for LF, or the keys added, can make a file near the limit outgrow it; written so,
    // it would be refused at the next start.
    if (bytes.size() > IniFile::MaxBytes) {
        messages.error(Format(u"Файл %s не записан: с настройками программы он стал бы больше "
                              u"%d байт, и программа не смогла бы его прочитать",
                              {path, IniFile::MaxBytes}));
        return false;
    }
    switch (ReplaceRegularFile(path, bytes)) {
    case ReplaceOutcome::Replaced: return true;
    case ReplaceOutcome::NotRegular: messages.error(NotRegularWriteMessage(path)); return false;
    case ReplaceOutcome::Failed: break;
    }
    messages.error(Format(u"Unable to write to %s", {path}));
    return false;
}

}  // namespace korvel
