#include "saver/settings/user_settings_folder.h"

#include <windows.h>
#include <shlobj.h>

#include "common/handles.h"
#include "saver/settings/disk_replacement.h"
#include "saver/settings/profile_file.h"

namespace ventalune::settings {

std::wstring UserDataFolder() {
  // The known-folder call, not the older fixed-size one: a redirected folder
  // may be longer than MAX_PATH.
  PWSTR folder = nullptr;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder)) || !folder) {
    CoTaskMemFree(folder);
    return {};
  }
  std::wstring wide(folder);
  CoTaskMemFree(folder);
  while (!wide.empty() && wide.back() == L'\\') wide.pop_back();
  return wide;
}

bool CanWriteSettingsFile(const std::wstring& iniPath) {
  // A read-only file is one the user asked not to be changed. Windows
  // refuses to open it for writing, but an administrator's process on some
  // file systems is let through; the attribute decides for everyone.
  const DWORD attributes = GetFileAttributesW(iniPath.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
  // Held by another program for a moment (a backup, a virus scanner): the
  // folder still takes writes, and the save waits for the file.
  const auto heldForAMoment = [] { return IsHeldByAnotherProgram(GetLastError()); };
  constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const OwnedFile file(CreateFileW(iniPath.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file && GetLastError() != ERROR_FILE_NOT_FOUND && !heldForAMoment()) return false;
  // A save writes its copy beside the file: create that for a moment, the
  // only sure way to learn whether this user may add a file to the folder.
  // The system deletes it again on close.
  const OwnedFile copy(CreateFileW(CopyPathFor(iniPath).c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  return copy || heldForAMoment();
}

SettingsFiles SettingsFilesOf(std::wstring_view programFolder) {
  DiskFiles files;
  return LocateSettings(programFolder, CanWriteSettingsFile(IniPath(programFolder)), UserDataFolder(), files);
}

}  // namespace ventalune::settings
