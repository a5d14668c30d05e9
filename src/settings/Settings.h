#pragma once
// The values of Korvel.ini as a plain struct: read with defaults and the reader's clamps,
// written back atomically. The window applies them; the command-line program can read them.

#include "chart/Calibration.h"
#include "settings/IniFile.h"
#include "settings/SettingsKeys.h"
#include "settings/SpectrumSettings.h"
#include "text/RegularFiles.h"

#include <QList>
#include <QString>
#include <array>

namespace korvel {

class Messages;

struct SettingsValues {
    // "График сигнала": the window's size and place.
    int WindowHeight = 515;
    int WindowWidth = 794;
    int WindowLeft = 0;
    int WindowTop = 0;

    Calibration calibration;

    // Texts and item indexes of the options panel; an index outside its list means no selection.
    QString emExtScale;
    QString emExtShift;
    QString eYTitle;
    int cbExtScale = 0;
    int cbExtShift = 0;
    int cbRgm = 3;
    int cbXscale = 0;
    int cbShowK = 0;
    int cbTxtSaveX = 0;
    int cbTxtSaveY = 0;
    bool cbDgt1 = false;
    bool cbDgt2 = false;
    bool cbDgt3 = false;
    bool cbTermo = false;

    // Colours with red in the low byte.
    int ColorDgt1 = 65535;
    int ColorDgt2 = 32768;
    int ColorDgt3 = 16711680;

    // Control outputs.
    QString eTOn, eTOff, eAOn, eAOff;
    int cbTCondition1 = 1, cbTCondition2 = 3, cbTLevel1 = 1, cbTLevel2 = 0;
    int cbACondition1 = 1, cbACondition2 = 3, cbALevel1 = 1, cbALevel2 = 0;

    int seFExtrn = 100000;
    int seSamplesFExtrn = 30000;
    int TriggerType = 0;
    int SRAMblocks = 8;
    int Time4allSRAM = 10000;
    int seF = 2400;

    // Our own sections, written after all of the above.
    bool ChartLegend = false;
    // Data files opened or saved, newest first; empty entries are unused.
    std::array<QString, RecentFileCount> RecentFiles;
    SpectrumSettings spectrum;
    SpectrogramSettings spectrogram;

    SettingsValues();  // string defaults need the locale's separator
};

// The default text of a string key: its numbers carry the locale's decimal separator.
QString DefaultText(const SettingKey& key);

// Reads every key in the table's order; a missing or empty key takes its default. Numbers are
// read with a point or a comma, whatever the locale. A number that still does not convert takes
// its default too and is added to unconverted, when given. SRAMblocks outside 1..8 becomes 8, a
// trigger type outside 0..2 becomes 0 and an X-unit index outside 0..2 becomes 0.
SettingsValues ReadSettings(const IniFile& ini, QList<UnconvertedValue>* unconverted = nullptr);

// Korvel.ini as the window and korvel-cli take it at start.
struct LoadedSettings {
    SettingsValues values;
    RegularFileStatus file = RegularFileStatus::Missing;
    QList<UnconvertedValue> unconverted;
    bool readAsUtf8 = false;

    // The file is there but was not read (too large, not a regular file, unreadable): the values
    // are the defaults, and the file must not be replaced with them.
    bool refused() const;
    // Why the file was refused, or which of its numbers did not convert; empty when neither.
    QString problem(const QString& path) const;
};
LoadedSettings LoadSettings(const QString& path);

// Said when a file saved as UTF-8 was read as such.
QString ReadAsUtf8Message(const QString& path);

// Puts every key into ini in the write order (unknown lines of ini stay).
void WriteSettings(const SettingsValues& values, IniFile& ini);
// Rewrites the file atomically in Windows-1251, keeping what it held beyond our keys. A file
// the reader would refuse is never written. On failure the old file stays, "Unable to write to
// <path>" (or why it was not tried) is told through messages, and false is returned.
bool SaveSettings(const QString& path, const SettingsValues& values, Messages& messages);

}  // namespace korvel
