#include "saver/launcher/monitor_covers.h"

#include "common/display_monitors.h"
#include "common/window_of.h"
#include "saver/launcher/cover_layout.h"
#include "saver/launcher/saver_run.h"

namespace ventalune::launcher {
namespace {

constexpr wchar_t kCoverClass[] = L"Nubivola_Cover";
constexpr wchar_t kCoverTitle[] = L"Ventalune";

std::vector<ScreenRect> CurrentLayout() {
  std::vector<MonitorArea> monitors;
  for (const DisplayMonitor& m : DisplayMonitors())
    monitors.push_back({{m.area.left, m.area.top, m.area.right, m.area.bottom}, m.primary});
  return CoverLayout(monitors);
}

}  // namespace

void MonitorCovers::Show(HWND owner) {
  if (state_ != State::kWaiting) return;
  owner_ = owner;
  state_ = State::kShown;
  // Once a run, before the first cover; covers made later on a display
  // change use the same class.
  RegisterWindowClass({kCoverClass, instance_, WindowProcOf<MonitorCovers>, 0, nullptr,
                       static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))});
  Relayout();
}

void MonitorCovers::Relayout() {
  if (state_ != State::kShown) return;
  const std::vector<ScreenRect> layout = CurrentLayout();
  // Existing covers move rather than being made again, so a monitor that
  // stays where it was does not flash the desktop.
  while (covers_.size() > layout.size()) {
    DestroyWindow(covers_.back());
    covers_.pop_back();
  }
  for (size_t i = 0; i < layout.size(); ++i) {
    const ScreenRect& r = layout[i];
    const RECT rect{r.left, r.top, r.right, r.bottom};
    if (i < covers_.size()) {
      SetWindowPos(covers_[i], HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
    } else if (HWND cover = CreateCover(rect)) {
      covers_.push_back(cover);
    }
  }
}

void MonitorCovers::Remove() {
  state_ = State::kRemoved;
  for (HWND cover : covers_) DestroyWindow(cover);
  covers_.clear();
}

HWND MonitorCovers::CreateCover(const RECT& rect) {
  // Owned by the run window, so the covers go with it however it ends; a
  // tool window stays off the taskbar, and no-activate keeps the keyboard
  // with the scene.
  HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kCoverClass, kCoverTitle,
                               WS_POPUP, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, owner_,
                               nullptr, instance_, this);
  if (cover) ShowWindow(cover, SW_SHOWNOACTIVATE);
  return cover;
}

void MonitorCovers::EndRun() {
  // The run knows which scene is its own.
  if (owner_) PostMessageW(owner_, kEndRunRequest, 0, 0);
}

LRESULT MonitorCovers::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_SETCURSOR:
      SetCursor(nullptr);
      return TRUE;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) EndRun();
      return 0;
    case WM_CLOSE:
      // A cover is only ever closed with the run.
      EndRun();
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace ventalune::launcher
