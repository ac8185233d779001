#include "saver/dialog/file_chooser.h"

#include <commdlg.h>

#include <vector>

#include "saver/dialog/dialog_rules.h"
#include "saver/dialog/dialog_texts.h"
#include "common/wide_text.h"
#include "saver/settings/profile_file.h"

namespace ventalune::dialog {
namespace {

// Room for the longest path Windows can name, so a long choice arrives
// whole and is then stored in its short form or refused with a reason,
// never cut.
constexpr DWORD kPathBuffer = 32768;

class SystemPaths final : public PathPort {
 public:
  std::optional<std::string> ToAnsi(std::wstring_view path) override { return AnsiFromWide(path); }
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
  // No start folder in the code page: the program's folder by its own name.
  const std::wstring startFolder =
      request.startFolder.empty() ? settings::ProgramFolder() : WideFromAnsi(request.startFolder);
  std::vector<wchar_t> file(kPathBuffer);
  std::vector<wchar_t> fileTitle(kPathBuffer);

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
  chooser.lpstrTitle = request.texts.chooserTitle;
  // The file need not exist; the read-only box shows and is ignored.
  chooser.Flags = 0;
  if (GetOpenFileNameW(&chooser) <= 0) return std::nullopt;

  SystemPaths paths;
  const StorableChoice choice = StorablePath(std::wstring_view(file.data()), paths);
  // A refused choice is said, not dropped as though cancelled.
  const wchar_t* reason = choice.refusal == PathRefusal::TooLong         ? request.texts.pathTooLong
                          : choice.refusal == PathRefusal::NotInCodePage ? request.texts.pathNotInCodePage
                                                                         : nullptr;
  if (reason) MessageBoxW(owner, reason, kDialogTitle, MB_OK | MB_ICONWARNING);
  return choice.path;
}

}  // namespace ventalune::dialog
