#include "saver/settings/disk_replacement.h"

#include <windows.h>

#include <vector>

#include "common/handles.h"

namespace ventalune::settings {
namespace {

// Copies every byte of `from` to `to`; false, with the reason in the
// thread's last error, when a read or a write fails.
bool CopyBytes(HANDLE from, HANDLE to) {
  std::vector<char> buffer(64 * 1024);
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) return false;
    if (read == 0) return true;
    DWORD written = 0;
    if (!WriteFile(to, buffer.data(), read, &written, nullptr)) return false;
    if (written != read) {
      SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
  }
}

bool IsMissingError(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

}  // namespace

std::wstring CopyPathFor(const std::wstring& path) { return path + L".saving"; }

std::optional<std::wstring> DiskReplacement::CopyBeside(const std::wstring& path) {
  const std::wstring copy = CopyPathFor(path);
  // Others may go on reading the file, as the profile functions let them;
  // one that holds it for writing makes this wait (a sharing violation).
  const OwnedFile original(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!original) {
    lastError_ = GetLastError();
    if (!IsMissingError(lastError_)) return std::nullopt;
    // No file yet (nor, perhaps, its folder): the writes create the copy as
    // they would have created the file.
    if (!DeleteFileW(copy.c_str()) && !IsMissingError(GetLastError())) {
      lastError_ = GetLastError();
      return std::nullopt;
    }
    lastError_ = 0;
    return copy;
  }
  const OwnedFile written(
      CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!written || !CopyBytes(original.get(), written.get())) {
    lastError_ = GetLastError();
    return std::nullopt;
  }
  lastError_ = 0;
  return copy;
}

bool DiskReplacement::PutInPlace(const std::wstring& copy, const std::wstring& path) {
  // The copy's bytes reach the disk before it takes the file's name: a
  // power cut after the replacement finds the new file whole.
  {
    const OwnedFile written(
        CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!written || !FlushFileBuffers(written.get())) {
      lastError_ = GetLastError();
      return false;
    }
  }
  const bool replaced =
      GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES
          ? ReplaceFileW(path.c_str(), copy.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != FALSE
          : MoveFileExW(copy.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  lastError_ = replaced ? 0 : GetLastError();
  return replaced;
}

void DiskReplacement::Discard(const std::wstring& copy) { DeleteFileW(copy.c_str()); }

}  // namespace ventalune::settings
