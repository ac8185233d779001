#include "common/whole_file.h"

#include <windows.h>

#include <algorithm>
#include <new>

#include "common/handles.h"
#include "common/wide_text.h"

namespace ventalune {
namespace {

std::optional<std::vector<uint8_t>> ReadOpened(const OwnedFile& file, uint64_t ceilingBytes) {
  if (!file) return std::nullopt;
  std::optional<std::vector<uint8_t>> bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file.get(), &size) && size.QuadPart >= 0 && static_cast<uint64_t>(size.QuadPart) <= ceilingBytes) {
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
    if (!ReadFile(file.get(), bytes->data() + at, want, &got, nullptr) || got == 0) bytes.reset();
    at += got;
  }
  return bytes;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::wstring& path, uint64_t ceilingBytes) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  const OwnedFile file(
      CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return ReadOpened(file, ceilingBytes);
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& ansiPath, uint64_t ceilingBytes) {
  // The ANSI file functions read the path in the system code page too.
  const std::wstring path = WideFromAnsi(ansiPath);
  if (path.empty()) return std::nullopt;
  return ReadWholeFile(path, ceilingBytes);
}

}  // namespace ventalune
