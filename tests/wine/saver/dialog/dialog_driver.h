#pragma once
// The real settings dialog, opened with "Ventalune.scr /c" from an
// installation folder of its own, and what a person sees of it and does
// with it: its elements found by name in the window tree, option marks and
// buttons read from the screen's pixels, clicks with the system's mouse.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "saver/dialog/dialog_layout.h"
#include "support/program_driver.h"
#include "support/screen_capture.h"

namespace ventalune::wine_test {

inline constexpr wchar_t kDialogTitle[] = L"<Ventalune>";
inline constexpr char kDialogInstallFolder[] = "C:\\Program Files\\Ventalune Dialog Test";

// The resolution the dialog is expected to lay itself out for: 96 unless
// the run set VENTALUNE_TEST_DPI (the 144 dpi pass of tools/test).
int ExpectedDpi();

// The settings file's text with one key per pair, as bytes.
std::string IniText(const std::vector<std::pair<std::string, std::string>>& keys);

enum class Mark { Selected, NotSelected, None };

class DialogRun {
 public:
  DialogRun();
  ~DialogRun();
  DialogRun(const DialogRun&) = delete;
  DialogRun& operator=(const DialogRun&) = delete;

  static std::string Installed(const char* file);
  static std::string IniPath() { return Installed("Ventalune.ini"); }
  // Replaces the settings file (nothing: removes it).
  static void SetIni(const std::string* bytes);
  static std::string IniBytes();  // empty when there is none

  // Starts the program with `arguments` and waits for the dialog to show.
  bool Open(const std::string& arguments = "/c");
  HWND window() const { return window_; }
  RunningProgram& program() { return program_; }
  // Waits for the process to end after the dialog closed.
  bool Ended();

  // A windowed element by its name ("Display", "Cmd_Set"), or the repeat box.
  HWND Element(std::string_view name) const;
  HWND RepeatBox() const;
  // Where a windowed element lies in its container's client area.
  RECT RectInContainer(HWND element) const;
  // A point of an element's rectangle from the layout, on the screen.
  POINT ScreenPoint(dialog::ElementId id, int dx, int dy) const;
  POINT Centre(dialog::ElementId id) const;

  Mark MarkAt(dialog::ElementId id) const;
  // Whether a button shows its enabled look (its outer line's colour).
  bool ButtonLooksEnabled(std::string_view name) const;
  // Dark text pixels inside a label's rectangle (its border left out).
  int TextPixels(dialog::ElementId id) const;

  // The mouse as a person uses it: move there, press, release.
  void Click(POINT at, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP) const;
  void Press(POINT at, DWORD down) const;
  // Released where the last press was.
  void Release(DWORD up) const;

 private:
  HWND Container(dialog::Container container) const;
  RunningProgram program_;
  HWND window_ = nullptr;
  mutable POINT pressedAt_{};
};

}  // namespace ventalune::wine_test
