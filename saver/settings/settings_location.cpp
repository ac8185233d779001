#include "saver/settings/settings_location.h"

namespace ventalune::settings {

SettingsFiles LocateSettings(std::string_view programFolder, bool programFileWritable,
                             std::string_view userDataFolder, FilePort& files, LeadByteRule isLead) {
  const std::string programFile = IniPath(programFolder);
  if (programFileWritable || userDataFolder.empty()) return {programFile, programFile};
  const std::string userFile = IniPath(std::string(userDataFolder) + kUserSettingsFolderName);
  // Until the first save the user's file does not exist, and the choices made
  // when the program folder was still writable (or by whoever installed it)
  // stay in force.
  return {FileExists(files, userFile, isLead) ? userFile : programFile, userFile};
}

}  // namespace ventalune::settings
