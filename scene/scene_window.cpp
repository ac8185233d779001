#include "scene/scene_window.h"

#include <vector>

#include "common/display_monitors.h"
#include "common/window_of.h"
#include "scene/display_power.h"
#include "scene/gl_api.h"
#include "scene/gl_context.h"
#include "scene/window_activation.h"
#include "scene/window_placement.h"

namespace ventalune::scene {
namespace {

void DestroySceneWindow(SceneWindow& record) {
  DestroyWindow(record.window);
  record.window = nullptr;
}

void ReleaseDeviceContext(SceneWindow& record) {
  ReleaseDC(record.window, record.dc);
  record.dc = nullptr;
}

ScreenRect PlacementRect(const MonitorRect& r) { return {r.left, r.top, r.width(), r.height()}; }

class Win32Activation final : public WindowActivationPort {
 public:
  explicit Win32Activation(HWND window) : window_(window) {}
  void Show() override { ShowWindow(window_, SW_SHOWNORMAL); }
  bool BringToFront() override { return SetForegroundWindow(window_) != FALSE; }
  void TakeKeyboard() override { SetFocus(window_); }
  bool IsForeground() override { return GetForegroundWindow() == window_; }
  // No modifier: Esc alone, as the key table reads it.
  bool HoldEscape() override { return RegisterHotKey(window_, kEscapeHotKey, 0, VK_ESCAPE) != FALSE; }
  void ReleaseEscape() override { UnregisterHotKey(window_, kEscapeHotKey); }

 private:
  HWND window_;
};

}  // namespace

bool SwitchDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel) {
  DEVMODEA mode{};
  mode.dmSize = sizeof(mode);
  mode.dmPelsWidth = static_cast<DWORD>(width);
  mode.dmPelsHeight = static_cast<DWORD>(height);
  mode.dmBitsPerPel = static_cast<DWORD>(bitsPerPixel);
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

bool OpenSceneWindow(SceneWindow& record) {
  const bool modeSwitched =
      record.fullScreen && SwitchDisplayMode(record.width, record.height, record.bitsPerPixel);
  // The monitors as the switch (or its refusal) left them.
  const SceneLayout layout = LayOutScene(DisplayMonitors(), record.run);
  const WindowPlacement placement = PlaceSceneWindow(record.fullScreen != 0, modeSwitched,
                                                     PlacementRect(layout.window), record.width, record.height);
  record.displayModeSwitched = placement.restoresDisplayMode ? 1 : 0;
  if (placement.hidesCursor) ShowCursor(FALSE);

  const DWORD style = placement.popup ? WS_POPUP : WS_OVERLAPPEDWINDOW;
  const DWORD exStyle = WS_EX_APPWINDOW | (placement.topmost ? WS_EX_TOPMOST : 0);
  const ScreenRect& place = placement.rect;
  RECT rect{place.left, place.top, place.left + place.width, place.top + place.height};
  if (placement.sizeIsClientArea) AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  // An adjusted window starts at the origin as before, its frame included.
  const int x = placement.sizeIsClientArea ? 0 : rect.left;
  const int y = placement.sizeIsClientArea ? 0 : rect.top;

  record.window = CreateWindowExW(exStyle, record.application->className, record.title, style, x, y,
                                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                  record.application->instance, &record);
  if (!record.window) return false;
  record.dc = GetDC(record.window);
  if (!record.dc) {
    DestroySceneWindow(record);
    return false;
  }
  if (!CreatePixelFormatAndContext(record.dc, record.gl)) {
    ReleaseDeviceContext(record);
    DestroySceneWindow(record);
    return false;
  }

  Win32Activation port(record.window);
  record.activation.Activate(port, record.fullScreen != 0);
  record.visible = 1;
  // Over the monitors, a view each; a plain window's one view takes the
  // client area the window really has (what a small screen left of it).
  RECT client{};
  GetClientRect(record.window, &client);
  const bool overMonitors = placement.popup && !layout.views.empty() &&
                            client.right - client.left == layout.window.width() &&
                            client.bottom - client.top == layout.window.height();
  record.views = overMonitors ? layout.views : WholeWindowView(client.right - client.left, client.bottom - client.top);
  record.keys->fill(0);
  // Told at once how the display stands, then at every change. Only told:
  // nothing here asks the system to keep the display on.
  record.displayOff = 0;
  record.displayPower =
      RegisterPowerSettingNotification(record.window, &GUID_CONSOLE_DISPLAY_STATE, DEVICE_NOTIFY_WINDOW_HANDLE);
  return true;
}

bool CloseSceneWindow(SceneWindow& record) {
  if (record.displayPower) {
    UnregisterPowerSettingNotification(record.displayPower);
    record.displayPower = nullptr;
  }
  if (record.window) {
    Win32Activation port(record.window);
    record.activation.Release(port);
    if (record.dc) {
      wglMakeCurrent(record.dc, nullptr);
      if (record.gl) {
        wglDeleteContext(record.gl);
        record.gl = nullptr;
      }
      ReleaseDeviceContext(record);
    }
    DestroySceneWindow(record);
  }
  if (record.displayModeSwitched) ChangeDisplaySettingsA(nullptr, 0);
  record.displayModeSwitched = 0;
  if (record.fullScreen) ShowCursor(TRUE);
  return true;
}

void FollowMonitors(SceneWindow& record) {
  if (!record.fullScreen || !record.window) return;
  const SceneLayout layout = LayOutScene(DisplayMonitors(), record.run);
  if (layout.views.empty()) return;
  // Moved and sized in one step, above everything as before; the keyboard
  // stays where it is.
  const MonitorRect& r = layout.window;
  SetWindowPos(record.window, HWND_TOPMOST, r.left, r.top, r.width(), r.height(), SWP_NOACTIVATE);
  record.views = layout.views;
}

BOOL RequestQuit(SceneWindow& record) {
  const BOOL posted = PostMessageA(record.window, WM_QUIT, 0, 0);
  record.flags->running = false;
  return posted;
}

LRESULT CALLBACK SceneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return WindowProcOf<SceneWindow>(window, message, wParam, lParam);
}

LRESULT SceneWindow::HandleMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) {
        visible = 0;
        return 0;
      }
      if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) {
        visible = 1;
        // A full-screen window's views are its monitors'.
        if (!fullScreen) views = WholeWindowView(LOWORD(lParam), HIWORD(lParam));
        return 0;
      }
      break;
    case WM_DISPLAYCHANGE:  // monitors came, went, moved or changed size
    case WM_DPICHANGED:     // a scale changed: keep to the monitors' physical pixels, not the suggested size
      FollowMonitors(*this);
      return 0;
    case WM_CLOSE:
      RequestQuit(*this);
      return 0;
    case WM_HOTKEY:
      // Esc pressed while another window had the keyboard.
      if (wParam == kEscapeHotKey) {
        RequestQuit(*this);
        return 0;
      }
      break;
    case WM_ACTIVATE:
      // Told also when another program's window takes the foreground.
      if (LOWORD(wParam) == WA_INACTIVE) {
        Win32Activation port(handle);
        activation.ForegroundLost(port);
      }
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (wParam <= 255) {
        (*keys)[wParam] = message == WM_KEYDOWN ? 1 : 0;
        return 0;
      }
      break;
    case WM_SYSCOMMAND:
      // Exact values only: no screen saver and no monitor power-down while
      // we are the screen saver. Other codes keep their default handling.
      if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) return 0;
      break;
    case WM_POWERBROADCAST:
      if (wParam == PBT_POWERSETTINGCHANGE) {
        if (const std::optional<bool> off = DisplayOffIn(lParam)) displayOff = *off ? 1 : 0;
        return TRUE;
      }
      break;
    case kDisplayModeSwitchMessage:
      flags->requestedFullScreen = !flags->requestedFullScreen;
      PostMessageA(handle, WM_QUIT, 0, 0);
      break;
    default:
      break;
  }
  return DefWindowProcW(handle, message, wParam, lParam);
}

}  // namespace ventalune::scene
