// The window procedure shared by every window kind of both programs (the
// scene's window; the saver's preview, run window, covers, panels, dialog
// and controls): the instance travels through CreateWindowEx's last
// parameter into the window's user data, and its member
// HandleMessage(HWND, UINT, WPARAM, LPARAM) does the work. Messages that
// arrive before WM_NCCREATE or after WM_NCDESTROY (no instance yet, or none
// any more) get the default handling.
#pragma once

#include <windows.h>

#include <new>

namespace ventalune {

template <class T>
LRESULT CALLBACK WindowProcOf(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    // lpCreateParams sits at the same place in the ANSI and the wide structure.
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  if (self) {
    // No exception may cross the system's frames. Memory running out in the
    // work of one message (a picture larger than there is room for) drops
    // that work, not the program.
    try {
      return self->HandleMessage(window, message, wParam, lParam);
    } catch (const std::bad_alloc&) {
    }
  }
  return IsWindowUnicode(window) ? DefWindowProcW(window, message, wParam, lParam)
                                 : DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace ventalune
