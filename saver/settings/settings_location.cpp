#include "saver/settings/settings_location.h"

namespace ventalune::settings {

SettingsFiles LocateSettings(std::wstring_view programFolder, bool programFileWritable,
                             std::wstring_view userDataFolder, FilePort& files) {
  const std::wstring programFile = IniPath(programFolder);
  if (userDataFolder.empty()) return {programFile, programFile};
  const std::wstring userFile = IniPath(std::wstring(userDataFolder) + kUserSettingsFolderName);
  // Once the user's own file exists it holds the latest save, and stays in
  // force, even should the program folder take writes again.
  if (FileExists(files, userFile)) return {userFile, userFile};
  if (programFileWritable) return {programFile, programFile};
  // Until the first save the user's file does not exist, and the choices made
  // when the program folder was still writable (or by whoever installed it)
  // stay in force.
  return {programFile, userFile};
}

}  // namespace ventalune::settings
