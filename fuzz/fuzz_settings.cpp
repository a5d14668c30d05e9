// The settings reader over arbitrary Korvel.ini bytes: every key gets a value, the clamps hold,
// and writing the values back gives a file that reads the same, as far as Windows-1251 holds
// the texts of an input that was UTF-8. All in memory: the input is read where it lies, and
// neither side touches the disk.
#include "FuzzSupport.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "text/Cp1251.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    korvel::fuzz::EnsureApplication();
    korvel::IniFile ini = korvel::IniFile::fromBytes(korvel::fuzz::View(data, size));
    const korvel::SettingsValues v = korvel::ReadSettings(ini);
    if (v.SRAMblocks < 1 || v.SRAMblocks > 8 || v.TriggerType < 0 || v.TriggerType > 2)
        std::abort();
    korvel::WriteSettings(v, ini);
    const korvel::IniFile again = korvel::IniFile::fromBytes(ini.toBytes());
    const korvel::SettingsValues w = korvel::ReadSettings(again);
    if (w.SRAMblocks != v.SRAMblocks || w.seF != v.seF
        || w.eYTitle != korvel::FromCp1251(korvel::ToCp1251(v.eYTitle)) || again.readAsUtf8())
        std::abort();
    return 0;
}
