#pragma once
// Which settings file is in force. The file beside the program is kept while
// that folder accepts writes, so existing installs go on using theirs; an
// install where the user may not write (System32, Program Files without
// elevation) keeps the settings in the user's own application-data folder
// instead, and reads the program folder's file until the user first saves.
#include <string>
#include <string_view>

#include "saver/settings/settings_store.h"

namespace ventalune::settings {

// The folder under the user's application data that holds the per-user file.
inline constexpr wchar_t kUserSettingsFolderName[] = L"\\Ventalune";

// Paths as the system names them (UTF-16): both folders come from the system.
struct SettingsFiles {
  std::wstring readPath;   // the file the settings are loaded from
  std::wstring writePath;  // the file the settings dialog saves to
};

// `programFileWritable`: the program folder's settings file can be written,
// or created when it is missing. `userDataFolder`: the user's application-data
// folder without a trailing backslash, empty when the system names none (then
// the program folder's file is the only one, as before). `files` tells
// whether the per-user file exists yet.
SettingsFiles LocateSettings(std::wstring_view programFolder, bool programFileWritable,
                             std::wstring_view userDataFolder, FilePort& files);

}  // namespace ventalune::settings
