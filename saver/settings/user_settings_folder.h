#pragma once
// Where the saver program's settings file is on this machine: beside the
// program while that folder accepts writes, otherwise in the user's
// application data.
#include <string>
#include <string_view>

#include "saver/settings/settings_location.h"

namespace ventalune::settings {

// The user's application-data folder (Roaming) as a path the ANSI profile
// functions can open, without a trailing backslash; empty when the system
// names none or it cannot be spelt in the ANSI code page.
std::string UserDataFolder();

// A path as the ANSI file functions can open it: as it is when the code
// page spells it exactly, else its short (8.3) form, which is plain ASCII
// where the file system keeps one; empty when neither works.
std::string AnsiPathOf(const std::wstring& path);

// True when the settings file can be written: an existing file opens for
// writing, or a missing one can be created in its folder. Nothing is changed
// or left behind.
bool CanWriteSettingsFile(const std::string& iniPath);

// The settings files in force for a program folder.
SettingsFiles SettingsFilesOf(std::string_view programFolder);

}  // namespace ventalune::settings
