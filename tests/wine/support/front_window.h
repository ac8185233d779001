#pragma once
// A plain window of the test's own that takes the foreground and the
// keyboard from the program under test, as a window the user was working
// in would; it counts the Esc presses that reach it.
#include <windows.h>

namespace ventalune::wine_test {

class FrontWindow {
 public:
  FrontWindow();
  ~FrontWindow();
  FrontWindow(const FrontWindow&) = delete;
  FrontWindow& operator=(const FrontWindow&) = delete;

  // Until the system reports it in front, handling messages meanwhile.
  bool TakeForeground();
  HWND window() const { return window_; }
  int escapesReceived() const { return escapes_; }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
  int escapes_ = 0;
};

// True while some program holds Esc alone as a hot key. Asks by taking it
// for an instant, so call it only where nothing else may be taking it.
bool EscapeHeldAsHotKey();

}  // namespace ventalune::wine_test
