#include "cli/Options.h"

#include "cli/Printed.h"
#include "settings/SettingsLocation.h"

#include <QFileInfo>
#include <QStringList>

namespace korvel::cli {

QString SettingsNote(const QString& path)
{
    QString note = QStringLiteral("Файл настроек: ") + path;
    if (!QFileInfo::exists(path))
        note += QStringLiteral(" (нет такого файла: значения по умолчанию)");
    return note;
}

void AddSettingsOption(CommandLine& cl)
{
    cl.addOption({QStringLiteral("settings"),
                  QStringLiteral("Читать настройки (масштаб, вид графика, вид текстового файла) "
                                 "из ФАЙЛА. Без него — Korvel.ini, как у окна программы: рядом с "
                                 "программой, если её папка доступна для записи, иначе в "
                                 "~/.config/korvel."),
                  QStringLiteral("ФАЙЛ")});
    cl.addNote(SettingsNote(SettingsPathForThisProgram({})));
}

QString SettingsPathFor(const CommandLine& cl)
{
    return SettingsPathForThisProgram(cl.value(QStringLiteral("settings")));
}

std::optional<SettingsValues> SettingsFrom(const CommandLine& cl)
{
    const QString path = SettingsPathFor(cl);
    if (cl.isSet(QStringLiteral("settings"))) {
        // A name typed on purpose that reads nothing would silently calibrate with defaults.
        const QFileInfo f(path);
        if (!f.exists()) {
            Failure(QStringLiteral("Нет файла настроек %1").arg(path));
            return std::nullopt;
        }
        if (!f.isFile()) {
            Failure(QStringLiteral("%1 — не файл настроек (это папка или устройство)").arg(path));
            return std::nullopt;
        }
    }
    // Defaults in place of a file that is there would calibrate without a word.
    LoadedSettings loaded = LoadSettings(path);
    if (const QString problem = loaded.problem(path); !problem.isEmpty()) {
        Failure(problem);
        return std::nullopt;
    }
    return std::move(loaded.values);
}

void AddSaveOptions(CommandLine& cl)
{
    cl.addOption({QStringLiteral("comment"), QStringLiteral("Комментарий, записываемый в файл."),
                  QStringLiteral("ТЕКСТ")});
    cl.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                  QStringLiteral("Файл для записи (.txt — текстовый файл со всеми точками)."),
                  QStringLiteral("ФАЙЛ")});
}

std::array<bool, 3> DigitalLinesOption(CommandLine& cl, const std::array<bool, 3>& fallback)
{
    if (!cl.isSet(QStringLiteral("digital")))
        return fallback;
    std::array<bool, 3> lines{};
    const QString list = cl.value(QStringLiteral("digital"));
    for (const QString& part : list.split(QLatin1Char(','))) {
        const QString p = part.trimmed();
        const int line = QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}.indexOf(p);
        if (line >= 0)
            lines[line] = true;
        else if (p != QLatin1String("none"))
            cl.reject(QStringLiteral("--digital «%1»: нужен список из 1, 2, 3 через запятую или none").arg(list));
    }
    return lines;
}

ScaleInputs ScaleInputsFrom(const SettingsValues& settings, const QString& XUnitName)
{
    ScaleInputs in;
    in.rangeIndex = settings.cbRgm;
    in.calibration = settings.calibration;
    in.extScaleIndex = settings.cbExtScale;
    in.emExtScale = settings.emExtScale;
    in.extShiftIndex = settings.cbExtShift;
    in.emExtShift = settings.emExtShift;
    in.displayMode = settings.cbShowK;
    in.eYTitle = settings.eYTitle;
    in.XUnitName = XUnitName;
    return in;
}

}  // namespace korvel::cli
