// The window procedure shared by every window kind of both programs (the
// scene's window; the saver's preview, run window, covers, panels, dialog
// and controls): the instance travels through CreateWindowEx's last
// parameter into the window's user data, and its member
// HandleMessage(HWND, UINT, WPARAM, LPARAM) does the work. Messages that
// arrive before WM_NCCREATE or after WM_NCDESTROY (no instance yet, or none
// any more) get the default handling. Beside it, the one way the programs
// register their window classes.
#pragma once

#include <windows.h>

#include <new>

namespace ventalune {

template <class T>
LRESULT CALLBACK WindowProcOf(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    // Only the window's own creation, which the system sends on the
    // creating thread, sets its instance. Another program can send
    // WM_NCCREATE too: it must neither point the window at memory of its
    // choosing nor, through the default handling, wipe the window's title.
    if (GetWindowLongPtrW(window, GWLP_USERDATA) != 0 || InSendMessageEx(nullptr) != ISMEX_NOSEND) return FALSE;
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
  return DefWindowProcW(window, message, wParam, lParam);
}

// What a window class is made of; the rest of the system's record stays 0.
struct WindowClass {
  const wchar_t* name = nullptr;
  HINSTANCE instance = nullptr;
  WNDPROC procedure = nullptr;
  UINT style = 0;
  HCURSOR cursor = nullptr;  // null: none, the window keeps the shape it came with or sets its own
  HBRUSH background = nullptr;
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
};

// Registers the class (Unicode, so every window of it takes wide text)
// unless this module has it already, as when a second window of the kind is
// made. True when the class is there.
inline bool RegisterWindowClass(const WindowClass& wanted) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(wanted.instance, wanted.name, &existing)) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = wanted.style;
  windowClass.lpfnWndProc = wanted.procedure;
  windowClass.hInstance = wanted.instance;
  windowClass.hIcon = wanted.icon;
  windowClass.hIconSm = wanted.smallIcon;
  windowClass.hCursor = wanted.cursor;
  windowClass.hbrBackground = wanted.background;
  windowClass.lpszClassName = wanted.name;
  return RegisterClassExW(&windowClass) != 0;
}

// The system's arrow, the cursor most classes show.
inline HCURSOR ArrowCursor() { return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)); }

}  // namespace ventalune
