#pragma once
// Where the saver program's settings file is on this machine: beside the
// program while that folder accepts writes, otherwise in the user's
// application data.
#include <string>
#include <string_view>

#include "saver/settings/settings_location.h"

namespace ventalune::settings {

// The user's application-data folder (Roaming) as the system names it,
// without a trailing backslash; empty when the system names none.
std::wstring UserDataFolder();

// True when the settings file can be written: an existing file opens for
// writing, or a missing one can be created in its folder. Nothing is changed
// or left behind.
bool CanWriteSettingsFile(const std::wstring& iniPath);

// The settings files in force for a program folder.
SettingsFiles SettingsFilesOf(std::wstring_view programFolder);

}  // namespace ventalune::settings
