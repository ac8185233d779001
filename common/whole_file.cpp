#include "common/whole_file.h"

#include <windows.h>

#include <algorithm>
#include <new>

namespace ventalune {
namespace {

std::optional<std::vector<uint8_t>> ReadOpened(HANDLE file, uint64_t ceilingBytes) {
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::vector<uint8_t>> bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart >= 0 && static_cast<uint64_t>(size.QuadPart) <= ceilingBytes) {
    try {
      bytes.emplace(static_cast<size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
      bytes.reset();
    }
  }
  // One ReadFile takes at most 4 GiB less one byte; read in pieces.
  for (size_t at = 0; bytes && at < bytes->size();) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes->size() - at, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(file, bytes->data() + at, want, &got, nullptr) || got == 0) bytes.reset();
    at += got;
  }
  CloseHandle(file);
  return bytes;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::wstring& path, uint64_t ceilingBytes) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  return ReadOpened(
      CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
      ceilingBytes);
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& ansiPath, uint64_t ceilingBytes) {
  // The ANSI file functions read the path in the system code page too.
  const int length = MultiByteToWideChar(CP_ACP, 0, ansiPath.data(), static_cast<int>(ansiPath.size()), nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring path(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansiPath.data(), static_cast<int>(ansiPath.size()), path.data(), length);
  return ReadWholeFile(path, ceilingBytes);
}

}  // namespace ventalune
