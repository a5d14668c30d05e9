#include "settings/Settings.h"

#include "settings/IniFile.h"
#include "text/Messages.h"
#include "text/NumberFormat.h"

#include <QSaveFile>
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
    }
    return &v.WindowHeight;  // unreachable
}

void readKey(const IniFile& ini, const SettingKey& k, SettingsValues& v)
{
    const std::optional<QString> raw = ini.value(QString::fromUtf16(k.section),
                                                 QString::fromUtf16(k.key));
    std::visit(
        [&](auto* field) {
            using T = std::remove_pointer_t<decltype(field)>;
            if constexpr (std::is_same_v<T, QString>) {
                *field = raw ? *raw : DefaultText(k);
            } else if constexpr (std::is_same_v<T, double>) {
                double d = 0;
                *field = raw && TryStrToFloat(*raw, &d) ? d : k.number;
            } else {
                int i = 0;
                const bool ok = raw && TryStrToInt(*raw, &i);
                if constexpr (std::is_same_v<T, bool>)
                    *field = ok ? i != 0 : k.number != 0;
                else
                    *field = ok ? i : static_cast<int>(k.number);
            }
        },
        bind(v, k.id));
}

QString writtenText(SettingsValues& v, SettingId id)
{
    return std::visit(
        [](auto* field) -> QString {
            using T = std::remove_pointer_t<decltype(field)>;
            if constexpr (std::is_same_v<T, QString>)
                return *field;
            else if constexpr (std::is_same_v<T, double>)
                return FloatToStr(*field);
            else if constexpr (std::is_same_v<T, bool>)
                return *field ? QStringLiteral("1") : QStringLiteral("0");
            else
                return QString::number(*field);
        },
        bind(v, id));
}

}  // namespace

QString DefaultText(const SettingKey& key)
{
    QString t = key.text ? QString::fromUtf16(key.text) : QString();
    // The defaults were made for a comma locale; elsewhere they must still convert.
    t.replace(QChar(','), DecimalSeparator());
    return t;
}

SettingsValues::SettingsValues()
{
    for (const SettingKey& k : SettingsTable)
        if (k.type == SettingType::String)
            *std::get<QString*>(bind(*this, k.id)) = DefaultText(k);
}

SettingsValues ReadSettings(const IniFile& ini)
{
    SettingsValues v;
    for (const SettingKey& k : SettingsTable)
        readKey(ini, k, v);
    if (v.SRAMblocks < 1 || v.SRAMblocks > 8)
        v.SRAMblocks = 8;
    if (v.TriggerType < 0 || v.TriggerType > 2)
        v.TriggerType = 0;
    // An X unit outside the list would leave the unit factor and its name undefined.
    if (v.cbXscale < 0 || v.cbXscale > 2)
        v.cbXscale = 0;
    v.spectrum = ReadSpectrumSettings(ini);
    return v;
}

SettingsValues LoadSettings(const QString& path)
{
    return ReadSettings(IniFile::load(path));
}

void WriteSettings(const SettingsValues& values, IniFile& ini)
{
    SettingsValues v = values;  // bind() hands out mutable fields
    for (SettingId id : WriteOrder) {
        const SettingKey& k = SettingKeyOf(id);
        ini.setValue(QString::fromUtf16(k.section), QString::fromUtf16(k.key), writtenText(v, id));
    }
    WriteSpectrumSettings(values.spectrum, ini);
}

bool SaveSettings(const QString& path, const SettingsValues& values, Messages& messages)
{
    IniFile ini = IniFile::load(path);
    WriteSettings(values, ini);
    QSaveFile f(path);
    const QByteArray bytes = ini.toBytes();
    // Unbuffered, so that a short write (disk full) shows in write()'s count: a buffered
    // QSaveFile can commit a truncated file in its place.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || f.write(bytes) != bytes.size()
        || !f.commit()) {
        messages.error(Format(u"Unable to write to %s", {path}));
        return false;
    }
    return true;
}

}  // namespace korvel
