#include "dialog_driver.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "control_host.h"
#include "saver/settings/settings_keys.h"

namespace ventalune::wine_test {
namespace {

using dialog::ElementId;

// The option marks' and buttons' own colours (tools/make_dialog_art,
// tools/make_control_art).
constexpr Rgb kMarkDot{40, 36, 88};
constexpr Rgb kMarkWell{255, 255, 255};
constexpr Rgb kNormalOutline{84, 78, 128};

// Windowed elements carry their element as their control number (one past
// its place in the layout's order); their texts are what a person reads.
HWND FindChild(HWND parent, std::string_view name) {
  int number = 0;
  for (const dialog::ElementPlace& place : dialog::kLayout)
    if (place.name == name) number = static_cast<int>(place.id) + 1;
  if (number == 0) return nullptr;
  struct Search {
    int number;
    HWND found = nullptr;
  } search{number};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (GetDlgCtrlID(child) == s->number) {
          s->found = child;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

int ExpectedDpi() {
  const char* dpi = std::getenv("VENTALUNE_TEST_DPI");
  return dpi ? std::atoi(dpi) : 96;
}

std::string IniText(const std::vector<std::pair<std::string, std::string>>& keys) {
  std::string text = std::string("[") + settings::kSettingsSection + "]\r\n";
  for (const auto& [key, value] : keys) text += key + "=" + value + "\r\n";
  return text;
}

DialogRun::DialogRun() {
  CreateDirectoryA(kDialogInstallFolder, nullptr);
  CopyFileA(ProductPath("Ventalune.scr").c_str(), Installed("Ventalune.scr").c_str(), FALSE);
}

DialogRun::~DialogRun() {
  if (program_.running()) {
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    program_.WaitForExit(10s);
  }
}

std::string DialogRun::Installed(const char* file) {
  // Tests put their pictures and settings there before any run has made the
  // folder (the first test in a new prefix does).
  CreateDirectoryA(kDialogInstallFolder, nullptr);
  return std::string(kDialogInstallFolder) + "\\" + file;
}

void DialogRun::SetIni(const std::string* bytes) {
  DeleteFileA(IniPath().c_str());
  if (bytes) std::ofstream(IniPath(), std::ios::binary) << *bytes;
}

std::string DialogRun::IniBytes() {
  std::ifstream file(IniPath(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

bool DialogRun::Open(const std::string& arguments) {
  // The pointer away from where the buttons will be, so none opens hovered.
  MovePointer({5, 5});
  if (!program_.Start(Installed("Ventalune.scr"), arguments)) return false;
  const bool shown = WaitFor(
      [&] {
        window_ = FindWindowW(nullptr, kDialogTitle);
        return window_ && IsWindowVisible(window_);
      },
      15s);
  if (!shown) return false;
  // Shown and painted: the save button's outline is on the screen.
  return WaitFor([&] { return ButtonLooksEnabled("Cmd_Set"); }, 10s);
}

bool DialogRun::Ended() { return program_.WaitForExit(15s); }

HWND DialogRun::Element(std::string_view name) const { return window_ ? FindChild(window_, name) : nullptr; }

HWND DialogRun::RepeatBox() const { return FindWindowExW(Element("Pic_D(1)"), nullptr, L"ComboBox", nullptr); }

RECT DialogRun::RectInContainer(HWND element) const {
  RECT rect{};
  GetWindowRect(element, &rect);
  MapWindowPoints(nullptr, GetParent(element), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

HWND DialogRun::Container(dialog::Container container) const {
  switch (container) {
    case dialog::Container::PicBase: return Element("Pic_Base");
    case dialog::Container::PicD0: return Element("Pic_D(0)");
    case dialog::Container::PicD1: return Element("Pic_D(1)");
    case dialog::Container::PicD2: return Element("Pic_D(2)");
    case dialog::Container::Window: return window_;
  }
  return window_;
}

POINT DialogRun::ScreenPoint(ElementId id, int dx, int dy) const {
  const dialog::PixelRect rect = dialog::ElementRect(id, ExpectedDpi());
  POINT point{rect.x + dx, rect.y + dy};
  ClientToScreen(Container(dialog::PlaceOf(id).container), &point);
  return point;
}

POINT DialogRun::Centre(ElementId id) const {
  const dialog::PixelRect rect = dialog::ElementRect(id, ExpectedDpi());
  return ScreenPoint(id, rect.width / 2, rect.height / 2);
}

Mark DialogRun::MarkAt(ElementId id) const {
  // The middle of the 12 × 12 mark: the dot when selected, the white well
  // when not, the frame's tiles when the element shows no mark at all.
  const int middle = dialog::ScaleToDpi(6, ExpectedDpi());
  const POINT at = ScreenPoint(id, middle, middle);
  const Rgb pixel = CaptureScreen().at(at.x, at.y);
  if (ColourNear(pixel, kMarkDot, 40)) return Mark::Selected;
  if (ColourNear(pixel, kMarkWell, 12)) return Mark::NotSelected;
  return Mark::None;
}

bool DialogRun::ButtonLooksEnabled(std::string_view name) const {
  HWND button = Element(name);
  if (!button) return false;
  RECT rect{};
  GetWindowRect(button, &rect);
  return ColourNear(CaptureScreen().at((rect.left + rect.right) / 2, rect.top), kNormalOutline, 8);
}

int DialogRun::TextPixels(ElementId id) const {
  const dialog::PixelRect rect = dialog::ElementRect(id, ExpectedDpi());
  const POINT topLeft = ScreenPoint(id, 2, 2);
  const ScreenPicture screen = CaptureScreen();
  int dark = 0;
  for (int y = 0; y < rect.height - 4; ++y)
    for (int x = 0; x < rect.width - 4; ++x) {
      const Rgb p = screen.at(topLeft.x + x, topLeft.y + y);
      if (p.r < 100 && p.g < 100 && p.b < 100) ++dark;
    }
  return dark;
}

void DialogRun::Press(POINT at, DWORD down) const {
  MovePointer(at);
  MouseButtonEventAt(down, at);
  pressedAt_ = at;
}

void DialogRun::Release(DWORD up) const { MouseButtonEventAt(up, pressedAt_); }

void DialogRun::Click(POINT at, DWORD down, DWORD up) const {
  Press(at, down);
  Release(up);
}

}  // namespace ventalune::wine_test
