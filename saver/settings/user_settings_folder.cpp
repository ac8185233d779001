#include "saver/settings/user_settings_folder.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>

#include "common/handles.h"
#include "common/wide_text.h"
#include "saver/settings/profile_file.h"

namespace ventalune::settings {
namespace {

// The path in the ANSI code page, or nothing when a character has no
// spelling there (a best-fit look-alike would name another folder).
std::optional<std::string> PathInCodePage(const std::wstring& wide) {
  std::optional<std::string> ansi = AnsiFromWide(wide);
  if (!ansi || ansi->empty()) return std::nullopt;
  return ansi;
}

}  // namespace

std::string UserDataFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
  std::wstring wide(folder);
  while (!wide.empty() && wide.back() == L'\\') wide.pop_back();
  return AnsiPathOf(wide);
}

std::string AnsiPathOf(const std::wstring& path) {
  if (std::optional<std::string> ansi = PathInCodePage(path)) return *ansi;
  // A user name outside the ANSI code page: the short (8.3) name, where the
  // file system keeps one, is plain ASCII.
  wchar_t shortName[MAX_PATH] = {};
  const DWORD length = GetShortPathNameW(path.c_str(), shortName, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return PathInCodePage(shortName).value_or(std::string());
}

bool CanWriteSettingsFile(const std::string& iniPath) {
  // A read-only file is one the user asked not to be changed. Windows
  // refuses to open it for writing, but an administrator's process on some
  // file systems is let through; the attribute decides for everyone.
  const DWORD attributes = GetFileAttributesA(iniPath.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
  constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  OwnedFile file(CreateFileA(iniPath.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
  if (!file && GetLastError() == ERROR_FILE_NOT_FOUND) {
    // Create it for a moment: the only sure way to learn whether this user
    // may add a file to the folder. The system deletes it again on close.
    file = OwnedFile(CreateFileA(iniPath.c_str(), GENERIC_WRITE, kShareAll, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  }
  if (!file) {
    // Held by another program for a moment (a backup, a virus scanner): the
    // folder still takes writes, and the save waits for the file.
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
  }
  return true;
}

SettingsFiles SettingsFilesOf(std::string_view programFolder) {
  DiskFiles files;
  return LocateSettings(programFolder, CanWriteSettingsFile(IniPath(programFolder)), UserDataFolder(), files,
                        IsSystemLeadByte);
}

}  // namespace ventalune::settings
