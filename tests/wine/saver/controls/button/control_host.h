#pragma once
// A plain top-level window in this process that hosts the real controls
// (Wine draws no child window of another process), and the pointer and
// mouse buttons driven through the system's input queue.
#include <windows.h>

#include <memory>

#include "support/program_driver.h"
#include "support/screen_capture.h"

namespace ventalune::wine_test {

class ControlHost {
 public:
  // A window whose client area is `width` × `height` at (left, top) on the
  // screen, grey; hidden until Show unless `visible`.
  ControlHost(int left, int top, int width, int height, bool visible = true) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "VentaluneControlHost";
    RegisterClassA(&windowClass);
    RECT frame{0, 0, width, height};
    AdjustWindowRect(&frame, WS_POPUP, FALSE);
    window_ = CreateWindowExA(0, "VentaluneControlHost", "Control host", WS_POPUP | WS_CLIPCHILDREN,
                              left + frame.left, top + frame.top, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (visible) Show();
  }
  ~ControlHost() { DestroyWindow(window_); }
  ControlHost(const ControlHost&) = delete;
  ControlHost& operator=(const ControlHost&) = delete;

  void Show() {
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    UpdateWindow(window_);
    PumpMessages();
  }
  HWND window() const { return window_; }
  // A client point in screen pixels.
  POINT Screen(HWND child, int x, int y) const {
    POINT point{x, y};
    ClientToScreen(child, &point);
    return point;
  }

 private:
  HWND window_ = nullptr;
};

// A mouse event at a place on the screen, in SendInput's absolute units.
inline INPUT MouseInputAt(POINT at, DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  input.mi.dx = static_cast<LONG>((static_cast<long long>(at.x) * 65536 + width - 1) / width);
  input.mi.dy = static_cast<LONG>((static_cast<long long>(at.y) * 65536 + height - 1) / height);
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return input;
}

// Moves the pointer as a mouse would (absolute move through SendInput).
// Wine hands the program under the pointer the X server's own motion
// events too, and one of those can land just after this move and take the
// pointer back to where it was; so the move is made again until the
// pointer has stayed put for a moment.
inline void MovePointer(POINT to) {
  const auto at = [&] {
    POINT now{};
    return GetCursorPos(&now) && now.x == to.x && now.y == to.y;
  };
  const DWORD start = GetTickCount();
  // Since when the pointer has stayed at `to` (a plain pair: GCC takes an
  // optional's value here for one that may be unset).
  bool held = false;
  DWORD heldSince = 0;
  bool sent = false;
  do {
    if (!sent || !at()) {
      sent = true;
      INPUT input = MouseInputAt(to, 0);
      SendInput(1, &input, sizeof(input));
      // SendInput's units can round a pixel off.
      if (!at()) SetCursorPos(to.x, to.y);
      held = false;
    } else if (!held) {
      held = true;
      heldSince = GetTickCount();
    }
    PumpMessages();
    if (held && GetTickCount() - heldSince >= 30) break;
    Sleep(5);
  } while (GetTickCount() - start < 500);
}

inline void MouseButtonEvent(DWORD flag) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flag;
  SendInput(1, &input, sizeof(input));
  PumpMessages();
}

// A button event that carries its place. Wine hands the program under the
// pointer the X server's own motion events too, and one of those can land
// after a move made here and take the pointer back for a moment; a press
// sent without a place would then go where the pointer was before.
inline void MouseButtonEventAt(DWORD flag, POINT at) {
  INPUT input = MouseInputAt(at, flag);
  SendInput(1, &input, sizeof(input));
  PumpMessages();
}

}  // namespace ventalune::wine_test
