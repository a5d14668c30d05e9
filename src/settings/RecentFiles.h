#pragma once
// The open button's list of data files opened or saved lately, newest first, as Korvel.ini
// keeps it.

#include "settings/SettingsKeys.h"

#include <QString>
#include <array>

namespace korvel {

using RecentFileList = std::array<QString, RecentFileCount>;

// path put first, an earlier mention of it dropped, the oldest falling off the end. A path the
// settings file cannot hold (a line break, a character outside Windows-1251) leaves the list
// as it was: it would come back as another name.
RecentFileList WithRecentFile(const RecentFileList& list, const QString& path);
RecentFileList WithoutRecentFile(const RecentFileList& list, const QString& path);

}  // namespace korvel
