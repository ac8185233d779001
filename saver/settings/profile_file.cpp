#include "saver/settings/profile_file.h"

#include <windows.h>

#include <vector>

#include "common/handles.h"
#include "saver/settings/settings_writes.h"
#include "saver/settings/user_settings_folder.h"

namespace ventalune::settings {

std::string ProfileFile::ReadString(const std::string& section, const std::string& key, const std::string& path,
                                    std::size_t capacity) {
  std::vector<char> buffer(capacity, '\0');
  GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(), static_cast<DWORD>(buffer.size()),
                           path.c_str());
  return std::string(buffer.data(), buffer.size());
}

bool ProfileFile::WriteString(const std::string& section, const std::string& key, const std::string& value,
                              const std::string& path) {
  // The profile functions create the file but not its folder, and the
  // per-user settings folder does not exist before the first save.
  const std::string folder = FolderOf(path);
  if (!folder.empty() && GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  SetLastError(0);
  const bool written = WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != FALSE;
  lastError_ = written ? 0 : GetLastError();
  return written;
}

bool DiskFiles::CanOpenForReading(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
  // Others may go on reading, writing or deleting it: we only look.
  const OwnedFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  // Device names such as NUL or CON open too, but they are not files.
  return file && GetFileType(file.get()) == FILE_TYPE_DISK;
}

bool IsSystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

std::string ProgramFolder() {
  // The path can be longer than MAX_PATH; grow until it fits.
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return FolderOf(std::string_view(buffer.data(), length));
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::string IniPath() { return SettingsFilesOf(ProgramFolder()).writePath; }

std::string ReadIniValue(std::string_view section, std::string_view key, std::string_view path) {
  ProfileFile profile;
  return ReadIniValue(profile, section, key, path);
}

bool WriteIniValue(std::string_view section, std::string_view key, std::string_view value, std::string_view path) {
  ProfileFile profile;
  return WriteIniValue(profile, section, key, value, path);
}

bool FileExists(std::string_view path) {
  DiskFiles files;
  return FileExists(files, path, IsSystemLeadByte);
}

std::string FolderOf(std::string_view path) { return FolderOf(path, IsSystemLeadByte); }

std::string ChooserFolder(std::string_view file, bool fileInUse) {
  return ChooserFolder(file, fileInUse, ProgramFolder(), IsSystemLeadByte);
}

Settings LoadProgramSettings(MissingFiles missing) {
  ProfileFile profile;
  DiskFiles files;
  const std::string programFolder = ProgramFolder();
  Settings settings;
  LoadSettings(settings, profile, files, programFolder, SettingsFilesOf(programFolder).readPath, IsSystemLeadByte,
               missing);
  return settings;
}

bool SaveProgramSettings(const Settings& choices) {
  // Long enough for a scanner's look at a small file, short enough that the
  // user is not left waiting on a file that stays locked.
  constexpr DWORD kLockedForAtMostMs = 3000;
  constexpr DWORD kTryAgainAfterMs = 100;
  ProfileFile profile;
  const std::string path = IniPath();
  const DWORD start = GetTickCount();
  for (;;) {
    if (SaveSettings(choices, profile, path)) return true;
    const bool locked = profile.lastError() == ERROR_SHARING_VIOLATION || profile.lastError() == ERROR_LOCK_VIOLATION;
    if (!locked || GetTickCount() - start >= kLockedForAtMostMs) return false;
    Sleep(kTryAgainAfterMs);
  }
}

}  // namespace ventalune::settings
