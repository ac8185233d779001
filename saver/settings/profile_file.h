#pragma once
// The settings store on Windows: the profile functions, the file system and
// the folder of the running program. Every path the system names stays
// UTF-16; the file's sections, keys and values are bytes of the system code
// page, as the settings file has always held them.
#include <optional>
#include <string>
#include <string_view>

#include "saver/settings/settings_store.h"

namespace ventalune::settings {

// GetPrivateProfileStringW / WritePrivateProfileStringW, given the names and
// values converted with the system code page exactly as the ANSI functions
// convert them: a file without a byte-order mark is written back in that code
// page, so its bytes are what they always were.
class ProfileFile final : public ProfilePort {
 public:
  std::string ReadString(const std::string& section, const std::string& key, const std::wstring& path,
                         std::size_t capacity) override;
  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::wstring& path) override;
  // Waits out another program that holds the file for a moment, as a save does.
  bool CanRead(const std::wstring& path) override;
  // Why the last write failed (the system's error code), 0 after a success.
  unsigned long lastError() const { return lastError_; }

 private:
  unsigned long lastError_ = 0;
};

// Opens the file for reading and closes it again at once.
class DiskFiles final : public FilePort {
 public:
  bool CanOpenForReading(const std::string& path) override;
  bool CanOpenForReading(const std::wstring& path) override;
};

// Whether a file operation failed with this error (the system's code)
// because another program holds the file for now, so that trying again a
// moment later may succeed.
bool IsHeldByAnotherProgram(unsigned long error);

// Whether the byte starts a two-byte character in the system's ANSI code
// page, the one the ANSI file and profile functions read paths in.
bool IsSystemLeadByte(unsigned char byte);

// The folder of the running program file, without a trailing backslash, as
// the system names it.
std::wstring ProgramFolder();
// The same in the system code page, empty where the code page cannot spell
// it: the choosers' start folder as the settings record keeps it.
std::string ProgramFolderInCodePage();

// The operations as the rest of the saver program calls them. IniPath is the
// settings file the dialog saves to: beside the program while that folder
// accepts writes, otherwise the user's own (see user_settings_folder.h).
std::wstring IniPath();
std::string ReadIniValue(std::string_view section, std::string_view key, std::wstring_view path);
bool WriteIniValue(std::string_view section, std::string_view key, std::string_view value, std::wstring_view path);
bool FileExists(std::string_view path);
std::string FolderOf(std::string_view path);

// Where a chooser starts for `file` (see ChooserFolder in settings_store.h).
std::string ChooserFolder(std::string_view file, bool fileInUse);

// The settings in force for this program: read from the settings file in
// force (beside the program, or the user's own copy), with paths to missing
// files dropped or kept as `missing` says. Nothing when the file stayed
// unreadable (held by another program, or not this user's to read).
std::optional<Settings> LoadProgramSettings(MissingFiles missing = MissingFiles::Drop);
// Saves the six settings whole to the file the dialog saves to (IniPath()).
// A file another program holds for a moment (a backup, a virus scanner) is
// tried again for a while; false, with the file as it was, when the settings
// could not be saved.
bool SaveProgramSettings(const Settings& choices);

}  // namespace ventalune::settings
