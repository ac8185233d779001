#pragma once
// Saving a file whole on Windows: the copy is written beside the file, flushed
// to the disk and put in the file's place with ReplaceFileW (which keeps the
// file's attributes and access list) or, for a new file, MoveFileExW with
// write-through.
#include <string>

#include "saver/settings/settings_writes.h"

namespace ventalune::settings {

class DiskReplacement final : public FileReplacement {
 public:
  std::optional<std::wstring> CopyBeside(const std::wstring& path) override;
  bool PutInPlace(const std::wstring& copy, const std::wstring& path) override;
  void Discard(const std::wstring& copy) override;
  // Why the last step failed (the system's error code), 0 after a success.
  unsigned long lastError() const { return lastError_; }

 private:
  unsigned long lastError_ = 0;
};

// The copy a save writes for the file at `path`. One name, not a fresh one a
// save: a copy a killed save left behind is simply written over by the next.
std::wstring CopyPathFor(const std::wstring& path);

}  // namespace ventalune::settings
