#include "saver/launcher/preview_window.h"

#include <optional>
#include <string_view>

#include "assets/saver_resources.h"
#include "common/handles.h"
#include "common/preview_frames.h"
#include "common/window_of.h"
#include "saver/launcher/live_preview.h"
#include "saver/pictures/picture_surface.h"

namespace ventalune::launcher {
namespace {

// How often the preview checks that its host is still there and what size it
// is. Destroying the host destroys the preview with it; the check covers
// hosts in another process that merely hide or lose their area, and hosts
// whose size we first read at another scale (a host of another DPI
// awareness, rescaled once it adopted us).
constexpr UINT_PTR kHostWatch = 1;
constexpr UINT kHostWatchMs = 500;

class PreviewWindow {
 public:
  bool Create(HINSTANCE instance, HMODULE resources, HWND host, const LiveScene& live);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void StartLive(HWND window, HMODULE resources, const LiveScene& live);
  void Paint(HWND window);
  void FollowHost(HWND window);

  HWND host_ = nullptr;
  pictures::PictureSurface still_;
  LivePreview live_;
};

bool PreviewWindow::Create(HINSTANCE instance, HMODULE resources, HWND host, const LiveScene& live) {
  host_ = host;
  still_.LoadResource(resources, IDR_PREVIEW_STILL);

  RegisterWindowClass({kPreviewWindowClass, instance, WindowProcOf<PreviewWindow>, 0, nullptr,
                       static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))});

  RECT area{};
  GetClientRect(host, &area);
  // Made hidden and borderless, then turned into a child of the host's
  // area, placed at its origin with its size, and only then shown.
  HWND window = CreateWindowExW(0, kPreviewWindowClass, kPreviewWindowTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                instance, this);
  if (!window) return false;
  SetWindowLongW(window, GWL_STYLE, (GetWindowLongW(window, GWL_STYLE) & ~WS_POPUP) | WS_CHILD);
  SetParent(window, host);
  MoveWindow(window, 0, 0, area.right - area.left, area.bottom - area.top, FALSE);
  SetTimer(window, kHostWatch, kHostWatchMs, nullptr);
  ShowWindow(window, SW_SHOWNA);
  UpdateWindow(window);
  if (area.right - area.left >= kSmallestLiveArea && area.bottom - area.top >= kSmallestLiveArea)
    StartLive(window, resources, live);
  return true;
}

// The room a run would show: the user's picture, or, for the desktop (a
// copy would only show the settings window itself), the preview still's
// own wallpaper; the world map on the rings.
void PreviewWindow::StartLive(HWND window, HMODULE resources, const LiveScene& live) {
  if (live.sceneProgram.empty()) return;
  pictures::PictureSurface room, ring;
  if (live.userPicture.empty() || !room.LoadFile(live.userPicture)) room.LoadResource(resources, IDR_PREVIEW_WALLS);
  ring.LoadResource(resources, IDR_WORLD_MAP);
  live_.Start(window, live.sceneProgram, room, ring);
}

void PreviewWindow::Paint(HWND window) {
  const PaintScope paint(window);
  HDC dc = paint.dc();
  RECT client{};
  GetClientRect(window, &client);
  if (live_.Paint(dc, client)) return;
  if (still_.width() > 0) {
    // The still fills the area whatever its size.
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, 0, 0, client.right, client.bottom, still_.dc(), 0, 0, still_.width(), still_.height(), SRCCOPY);
  } else {
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
}

void PreviewWindow::FollowHost(HWND window) {
  RECT area{}, ours{};
  if (!GetClientRect(host_, &area) || !GetClientRect(window, &ours)) return;
  if (area.right == ours.right && area.bottom == ours.bottom) return;
  MoveWindow(window, 0, 0, area.right, area.bottom, TRUE);
}

LRESULT PreviewWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the frame or the still covers everything
    case kPreviewFrameMessage:
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_TIMER:
      if (wParam != kHostWatch) return 0;
      if (!IsWindow(host_)) {
        DestroyWindow(window);
        return 0;
      }
      FollowHost(window);
      return 0;
    case WM_DESTROY:
      // The preview is the process's only window: its end is the end, and
      // the scene's with it.
      live_.Stop();
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

bool ShowPreview(HINSTANCE instance, HMODULE resources, HWND host, const LiveScene& live) {
  if (!host || !IsWindow(host)) return false;
  static std::optional<PreviewWindow> preview;
  if (preview) return false;
  // An earlier preview still in the area goes, and its scene with it: two
  // would draw over each other.
  EnumChildWindows(
      host,
      [](HWND child, LPARAM) -> BOOL {
        wchar_t name[64] = {};
        if (GetClassNameW(child, name, 64) && std::wstring_view(name) == kPreviewWindowClass)
          PostMessageW(child, WM_CLOSE, 0, 0);
        return TRUE;
      },
      0);
  preview.emplace();
  return preview->Create(instance, resources, host, live);
}

}  // namespace ventalune::launcher
