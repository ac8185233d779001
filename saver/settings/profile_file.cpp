#include "saver/settings/profile_file.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "common/handles.h"
#include "common/wide_text.h"
#include "saver/settings/disk_replacement.h"
#include "saver/settings/settings_writes.h"
#include "saver/settings/user_settings_folder.h"

namespace ventalune::settings {

namespace {

// The folder part of a system path, without the separator.
std::wstring FolderOfSystemPath(const std::wstring& path) {
  const size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

// Tries `attempt` (which returns 0 or the system's error code) again while
// another program holds the file for a moment: long enough for a scanner's
// look at a small file, short enough that the user is not left waiting on a
// file that stays locked. True when an attempt succeeded.
template <class Attempt>
bool WhileLockedTry(Attempt attempt) {
  constexpr DWORD kLockedForAtMostMs = 3000;
  constexpr DWORD kTryAgainAfterMs = 100;
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD error = attempt();
    if (error == 0) return true;
    if (!IsHeldByAnotherProgram(error) || GetTickCount() - start >= kLockedForAtMostMs) return false;
    Sleep(kTryAgainAfterMs);
  }
}

}  // namespace

std::string ProfileFile::ReadString(const std::string& section, const std::string& key, const std::wstring& path,
                                    std::size_t capacity) {
  // A value of `capacity` bytes has at most that many characters.
  std::vector<wchar_t> buffer(capacity, L'\0');
  const DWORD length = GetPrivateProfileStringW(WideFromAnsi(section).c_str(), WideFromAnsi(key).c_str(), L"",
                                                buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
  std::string value = AnsiFromWideReplacing(std::wstring_view(buffer.data(), std::min<size_t>(length, capacity)));
  // In the code page a character may take two bytes: keep whole characters
  // that leave room for the terminator, as the byte-sized reply buffer did.
  size_t kept = 0;
  for (size_t at = 0; at < value.size();) {
    const size_t width = IsSystemLeadByte(static_cast<unsigned char>(value[at])) && at + 1 < value.size() ? 2 : 1;
    if (at + width >= capacity) break;
    at += width;
    kept = at;
  }
  value.resize(kept);
  value.resize(capacity, '\0');
  return value;
}

bool ProfileFile::WriteString(const std::string& section, const std::string& key, const std::string& value,
                              const std::wstring& path) {
  // The profile functions create the file but not its folder, and the
  // per-user settings folder does not exist before the first save.
  const std::wstring folder = FolderOfSystemPath(path);
  if (!folder.empty() && GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
    CreateDirectoryW(folder.c_str(), nullptr);
  }
  SetLastError(0);
  const bool written = WritePrivateProfileStringW(WideFromAnsi(section).c_str(), WideFromAnsi(key).c_str(),
                                                  WideFromAnsi(value).c_str(), path.c_str()) != FALSE;
  lastError_ = written ? 0 : GetLastError();
  return written;
}

bool IsHeldByAnotherProgram(unsigned long error) {
  // A replacement refused leaves both files with their names, which is most
  // often the same thing seen from there.
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_UNABLE_TO_REMOVE_REPLACED || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT;
}

bool ProfileFile::CanRead(const std::wstring& path) {
  return WhileLockedTry([&]() -> DWORD {
    const OwnedFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return 0;
    const DWORD error = GetLastError();
    // Nothing there holds nothing: the defaults are what the file says.
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : error;
  });
}

bool DiskFiles::CanOpenForReading(const std::string& path) {
  // What the ANSI file functions would open: the same conversion.
  const std::wstring wide = WideFromAnsi(path);
  return !wide.empty() && CanOpenForReading(wide);
}

bool DiskFiles::CanOpenForReading(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
  // Others may go on reading, writing or deleting it: we only look.
  const OwnedFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  // Device names such as NUL or CON open too, but they are not files.
  return file && GetFileType(file.get()) == FILE_TYPE_DISK;
}

bool IsSystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

std::wstring ProgramFolder() {
  // The path can be longer than MAX_PATH; grow until it fits.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return FolderOfSystemPath(std::wstring(buffer.data(), length));
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::string ProgramFolderInCodePage() { return AnsiFromWide(ProgramFolder()).value_or(std::string()); }

std::wstring IniPath() { return SettingsFilesOf(ProgramFolder()).writePath; }

std::string ReadIniValue(std::string_view section, std::string_view key, std::wstring_view path) {
  ProfileFile profile;
  return ReadIniValue(profile, section, key, path);
}

bool WriteIniValue(std::string_view section, std::string_view key, std::string_view value, std::wstring_view path) {
  ProfileFile profile;
  return WriteIniValue(profile, section, key, value, path);
}

bool FileExists(std::string_view path) {
  DiskFiles files;
  return FileExists(files, path, IsSystemLeadByte);
}

std::string FolderOf(std::string_view path) { return FolderOf(path, IsSystemLeadByte); }

std::string ChooserFolder(std::string_view file, bool fileInUse) {
  return ChooserFolder(file, fileInUse, ProgramFolderInCodePage(), IsSystemLeadByte);
}

std::optional<Settings> LoadProgramSettings(MissingFiles missing) {
  ProfileFile profile;
  DiskFiles files;
  Settings settings;
  if (!LoadSettings(settings, profile, files, ProgramFolderInCodePage(), SettingsFilesOf(ProgramFolder()).readPath,
                    IsSystemLeadByte, missing))
    return std::nullopt;
  return settings;
}

bool SaveProgramSettings(const Settings& choices) {
  ProfileFile profile;
  DiskReplacement replacement;
  const std::wstring path = IniPath();
  return WhileLockedTry([&]() -> DWORD {
    if (SaveSettings(choices, profile, replacement, path)) return 0;
    // The copy is ours alone: a lock is met reading or replacing the file.
    const DWORD error = replacement.lastError() != 0 ? replacement.lastError() : profile.lastError();
    return error != 0 ? error : ERROR_GEN_FAILURE;
  });
}

}  // namespace ventalune::settings
