// The control's window: painting over the parent's background, the mouse
// and its pointer, and the messages that drive the control.
#include <windowsx.h>

#include <algorithm>
#include <optional>

#include "common/handles.h"
#include "saver/controls/anigif/anigif_control.h"
#include "saver/controls/anigif/frame_presenter.h"
#include "saver/controls/anigif/mouse_pointers.h"
#include "saver/controls/anigif/remote_download.h"
#include "saver/controls/anigif/timer_binding.h"
#include "saver/gif/fit.h"
#include "saver/toolkit/parent_background.h"
#include "saver/toolkit/shift_state.h"

namespace ventalune::anigif {
namespace {

// The IDC_ names are integer resource ids spelt as narrow strings.
LPCWSTR WideId(LPCSTR id) { return reinterpret_cast<LPCWSTR>(id); }

int16_t ButtonsHeld(WPARAM wParam) {
  int16_t buttons = 0;
  if (wParam & MK_LBUTTON) buttons |= kLeftMouseButton;
  if (wParam & MK_RBUTTON) buttons |= kRightMouseButton;
  if (wParam & MK_MBUTTON) buttons |= kMiddleMouseButton;
  return buttons;
}

}  // namespace

LPCWSTR SystemPointer(int32_t pointer) {
  switch (pointer) {
    case 1: return WideId(IDC_ARROW);
    case 2: return WideId(IDC_CROSS);
    case 3: return WideId(IDC_IBEAM);
    case 4: return WideId(IDC_ICON);
    case 5: return WideId(IDC_SIZEALL);
    case 6: return WideId(IDC_SIZENESW);
    case 7: return WideId(IDC_SIZENS);
    case 8: return WideId(IDC_SIZENWSE);
    case 9: return WideId(IDC_SIZEWE);
    case 10: return WideId(IDC_UPARROW);
    case 11: return WideId(IDC_WAIT);
    case 12: return WideId(IDC_NO);
    case 13: return WideId(IDC_APPSTARTING);
    case 14: return WideId(IDC_HELP);
    case 15: return WideId(IDC_SIZEALL);
    default: return nullptr;
  }
}

// Everything of the control is done before Painted is raised, and only the
// locals are cleaned up after it: its handler may end the control.
void ucAniGIF::Paint(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  OwnedDc buffer;
  OwnedBitmap bitmap;
  std::optional<SelectedObject> selected;
  {
    const PaintScope paint(window);
    HDC screen = paint.dc();
    // Drawn through a buffer of the part of us that shows and needs it: a
    // control the picture's own size can be far larger than the screen. A
    // Painted handler gets a copy of the whole client area, so then it is
    // all drawn.
    RECT area = client;
    RECT visible{};
    if (!Painted && GetClipBox(screen, &visible) != ERROR && !IntersectRect(&area, &client, &visible)) return;
    const int width = std::max<LONG>(area.right - area.left, 1);
    const int height = std::max<LONG>(area.bottom - area.top, 1);
    buffer.reset(CreateCompatibleDC(screen));
    bitmap.reset(CreateCompatibleBitmap(screen, width, height));
    if (!buffer || !bitmap) {
      buffer.reset();
      bitmap.reset();
    } else {
      selected.emplace(buffer.get(), bitmap.get());
    }
    HDC target = buffer ? buffer.get() : screen;
    // The buffer's first pixel is the area's top-left; we draw in client
    // coordinates.
    if (buffer) SetViewportOrgEx(target, -area.left, -area.top, nullptr);

    // What lies under us in the parent first, so transparent pixels show it.
    toolkit::PaintParentBackground(window, target, client);
    if (!presenter_->empty()) {
      const gif::Rect canvas =
          gif::ScaledCanvasRect(picture_.logicalWidth(), picture_.logicalHeight(), scaleX_, scaleY_);
      presenter_->Paint(target, canvas.x, canvas.y, canvas.width, canvas.height);
    }
    if (designMode()) {
      // The designer's dotted frame round the control.
      const OwnedPen pen(CreatePen(PS_DOT, 1, GetSysColor(COLOR_WINDOWFRAME)));
      const SelectedObject penSelected(target, pen.get());
      const SelectedObject brushSelected(target, GetStockObject(NULL_BRUSH));
      const int oldMode = SetBkMode(target, TRANSPARENT);
      Rectangle(target, 0, 0, client.right, client.bottom);
      SetBkMode(target, oldMode);
    }
    if (buffer) {
      SetViewportOrgEx(target, 0, 0, nullptr);
      BitBlt(screen, area.left, area.top, width, height, target, 0, 0, SRCCOPY);
    }
  }
  // The handler sees our own copy of what went on screen; without one
  // (no memory for it) there is nothing to show it.
  if (buffer) Raise(life_, Painted, buffer.get(), static_cast<int>(client.right), static_cast<int>(client.bottom));
}

bool ucAniGIF::SetCursorShape() {
  if (mousePointer_ == kCustomPointer) {
    if (!mouseIcon_ || !mouseIcon_->cursor()) return false;
    SetCursor(mouseIcon_->cursor());
    return true;
  }
  if (LPCWSTR shape = SystemPointer(mousePointer_)) {
    SetCursor(LoadCursorW(nullptr, shape));
    return true;
  }
  return false;
}

void ucAniGIF::Mouse(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  MouseEventArgs args{0, static_cast<int16_t>(toolkit::ShiftStateOf(wParam)), ToTwipsX(x), ToTwipsY(y)};
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: args.Button = kLeftMouseButton; break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP: args.Button = kRightMouseButton; break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP: args.Button = kMiddleMouseButton; break;
    case WM_LBUTTONUP: args.Button = kLeftMouseButton; break;
    default: args.Button = ButtonsHeld(wParam); break;
  }
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      if (args.Button == kLeftMouseButton) pressed_ = true;
      SetCapture(window_);
      Raise(life_, MouseDown, args);
      return;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      // Releasing the capture reports a capture change, which forgets the press.
      const bool wasPressed = pressed_ && args.Button == kLeftMouseButton;
      if (args.Button == kLeftMouseButton) pressed_ = false;
      if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == window_) ReleaseCapture();
      // A click is a left press and release both on the control.
      RECT client{};
      GetClientRect(window_, &client);
      const POINT point{x, y};
      const bool click = wasPressed && PtInRect(&client, point);
      if (!Raise(life_, MouseUp, args) || !click) return;
      Raise(life_, Click);
      return;
    }
    default:
      Raise(life_, MouseMove, args);
      return;
  }
}

LRESULT ucAniGIF::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // painting covers everything
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_NCHITTEST:
      return HTCLIENT;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && SetCursorShape()) return TRUE;
      break;
    case WM_SIZE:
      Resize();
      return 0;
    case WM_SHOWWINDOW:
      if (wParam) animation_.Show();
      else animation_.Hide();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
      Mouse(message, wParam, lParam);
      return 0;
    case WM_CAPTURECHANGED:
      pressed_ = false;
      return 0;
    case kDownloadDoneMessage:
      DownloadFinished(wParam);
      return 0;
    case WM_DESTROY:
      // The parent went first, or a handler destroyed the window: nothing
      // may tick or arrive after this, and code of ours still on the stack
      // stops where it is.
      life_.End();
      Release();
      CancelDownload();
      if (timer_) timer_->Kill();
      break;
    case WM_NCDESTROY:
      window_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace ventalune::anigif
