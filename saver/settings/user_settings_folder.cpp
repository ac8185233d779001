#include "saver/settings/user_settings_folder.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "saver/settings/profile_file.h"

namespace ventalune::settings {
namespace {

// The path in the ANSI code page, or nothing when a character has no
// spelling there (a best-fit look-alike would name another folder).
bool ToAnsi(const std::wstring& wide, std::string& ansi) {
  if (wide.empty()) return false;
  BOOL lossy = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0, nullptr, &lossy);
  if (size <= 1 || lossy) return false;
  std::vector<char> bytes(static_cast<size_t>(size));
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, bytes.data(), size, nullptr, &lossy);
  if (lossy) return false;
  ansi.assign(bytes.data());
  return true;
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
  std::string ansi;
  if (ToAnsi(path, ansi)) return ansi;
  // A user name outside the ANSI code page: the short (8.3) name, where the
  // file system keeps one, is plain ASCII.
  wchar_t shortName[MAX_PATH] = {};
  const DWORD length = GetShortPathNameW(path.c_str(), shortName, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  if (ToAnsi(shortName, ansi)) return ansi;
  return {};
}

bool CanWriteSettingsFile(const std::string& iniPath) {
  // A read-only file is one the user asked not to be changed. Windows
  // refuses to open it for writing, but an administrator's process on some
  // file systems is let through; the attribute decides for everyone.
  const DWORD attributes = GetFileAttributesA(iniPath.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
  constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE file = CreateFileA(iniPath.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND) {
    // Create it for a moment: the only sure way to learn whether this user
    // may add a file to the folder. The system deletes it again on close.
    file = CreateFileA(iniPath.c_str(), GENERIC_WRITE, kShareAll, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  }
  if (file == INVALID_HANDLE_VALUE) {
    // Held by another program for a moment (a backup, a virus scanner): the
    // folder still takes writes, and the save waits for the file.
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
  }
  CloseHandle(file);
  return true;
}

SettingsFiles SettingsFilesOf(std::string_view programFolder) {
  DiskFiles files;
  return LocateSettings(programFolder, CanWriteSettingsFile(IniPath(programFolder)), UserDataFolder(), files,
                        IsSystemLeadByte);
}

}  // namespace ventalune::settings
