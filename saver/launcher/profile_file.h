#pragma once
// The settings store on Windows: the ANSI profile functions, the file system
// and the folder of the running program.
#include <string>
#include <string_view>

#include "saver/launcher/settings_store.h"

namespace ventalune::launcher {

// GetPrivateProfileStringA / WritePrivateProfileStringA.
class ProfileFile final : public ProfilePort {
 public:
  std::string ReadString(const std::string& section, const std::string& key, const std::string& path,
                         std::size_t capacity) override;
  void WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& path) override;
};

// Opens the file for reading and closes it again at once.
class DiskFiles final : public FilePort {
 public:
  bool CanOpenForReading(const std::string& path) override;
};

// Whether the byte starts a two-byte character in the system's ANSI code
// page, the one the ANSI file and profile functions read paths in.
bool IsSystemLeadByte(unsigned char byte);

// The folder of the running program file, without a trailing backslash.
std::string ProgramFolder();

// The operations as the rest of the saver program calls them. IniPath is the
// settings file the dialog saves to: beside the program while that folder
// accepts writes, otherwise the user's own (see user_settings_folder.h).
std::string IniPath();
std::string ReadIniValue(std::string_view section, std::string_view key, std::string_view path);
void WriteIniValue(std::string_view section, std::string_view key, std::string_view value, std::string_view path);
bool FileExists(std::string_view path);
std::string FolderOf(std::string_view path);

// The saver program's one settings record: empty at start, filled by
// LoadSettings (from the file in force), changed only by the settings dialog.
Settings& ProcessSettings();
void LoadSettings();

}  // namespace ventalune::launcher
