#include "saver/launcher/run_pictures.h"

#include <shlobj.h>

#include <vector>

#include "common/program_contract.h"
#include "saver/pictures/bitmap_file.h"

namespace ventalune::launcher {
namespace {

bool IsReparsePoint(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// A wide path in the system code page, exactly, or nothing.
std::optional<std::string> AnsiExactly(const std::wstring& path) {
  BOOL lost = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, nullptr, 0, nullptr, &lost);
  if (size <= 0 || lost) return std::nullopt;
  std::string ansi(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, ansi.data(), size, nullptr, &lost);
  if (lost) return std::nullopt;
  ansi.pop_back();  // the NUL
  return ansi;
}

}  // namespace

std::optional<std::string> PrepareRunPictureFolder() {
  PWSTR local = nullptr;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &local)) || !local) {
    CoTaskMemFree(local);
    return std::nullopt;
  }
  std::wstring folder = std::wstring(local) + L"\\" + kUserFolderName;
  CoTaskMemFree(local);
  CreateDirectoryW(folder.c_str(), nullptr);
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) || IsReparsePoint(attributes))
    return std::nullopt;
  if (std::optional<std::string> ansi = AnsiExactly(folder)) return ansi;
  // A user name outside the code page: the short form names the same folder.
  std::wstring shortForm(MAX_PATH, L'\0');
  const DWORD length = GetShortPathNameW(folder.c_str(), shortForm.data(), MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  shortForm.resize(length);
  return AnsiExactly(shortForm);
}

bool WriteRunPicture(const pictures::PictureSurface& picture, const std::string& path) {
  const std::vector<uint8_t> bytes = pictures::EncodeBitmapFile(picture.pixels(), picture.width(), picture.height());
  if (bytes.empty()) return false;
  // Opened as itself, never followed, and shared with no one while written.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION information{};
  bool written = GetFileInformationByHandle(file, &information) && !IsReparsePoint(information.dwFileAttributes) &&
                 SetEndOfFile(file);
  DWORD done = 0;
  written = written && WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
            done == bytes.size();
  CloseHandle(file);
  return written;
}

}  // namespace ventalune::launcher
