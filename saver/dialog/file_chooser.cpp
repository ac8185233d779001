#include "saver/dialog/file_chooser.h"

#include <commdlg.h>

#include <array>

#include "saver/dialog/dialog_rules.h"
#include "saver/dialog/dialog_texts.h"
#include "saver/toolkit/wide_text.h"

namespace ventalune::dialog {
namespace {

// Both buffers hold 255 characters, NUL included.
constexpr DWORD kPathBuffer = 255;

class SystemPaths final : public PathPort {
 public:
  std::optional<std::string> ToAnsi(std::wstring_view path) override { return toolkit::AnsiFromWide(path); }
  std::optional<std::wstring> ShortForm(std::wstring_view path) override {
    const std::wstring full(path);
    const DWORD size = GetShortPathNameW(full.c_str(), nullptr, 0);
    if (size == 0) return std::nullopt;
    std::wstring shortPath(size, L'\0');
    const DWORD written = GetShortPathNameW(full.c_str(), shortPath.data(), size);
    if (written == 0 || written >= size) return std::nullopt;
    shortPath.resize(written);
    // A file system without short names gives the long path back.
    if (shortPath == full) return std::nullopt;
    return shortPath;
  }
};

}  // namespace

std::optional<std::string> ChooseFile(HWND owner, HINSTANCE instance, const ChooserRequest& request) {
  // Description, NUL, pattern, NUL, and the closing NUL of the list.
  std::wstring filter = request.filterDescription;
  filter += L'\0';
  filter += request.pattern;
  filter += L'\0';
  const std::wstring startFolder = toolkit::WideFromAnsi(request.startFolder);
  std::array<wchar_t, kPathBuffer> file{};
  std::array<wchar_t, kPathBuffer> fileTitle{};

  OPENFILENAMEW chooser{};
  chooser.lStructSize = sizeof(chooser);
  chooser.hwndOwner = owner;
  chooser.hInstance = instance;
  chooser.lpstrFilter = filter.c_str();
  chooser.lpstrFile = file.data();
  chooser.nMaxFile = kPathBuffer;
  chooser.lpstrFileTitle = fileTitle.data();
  chooser.nMaxFileTitle = kPathBuffer;
  chooser.lpstrInitialDir = startFolder.empty() ? nullptr : startFolder.c_str();
  chooser.lpstrTitle = kChooserTitle;
  // The file need not exist; the read-only box shows and is ignored.
  chooser.Flags = 0;
  if (GetOpenFileNameW(&chooser) <= 0) return std::nullopt;

  SystemPaths paths;
  return StorablePath(std::wstring_view(file.data()), paths).path;
}

}  // namespace ventalune::dialog
