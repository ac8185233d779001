#include "support/front_window.h"

#include "support/program_driver.h"

namespace ventalune::wine_test {
namespace {
constexpr char kClass[] = "VentaluneTestFrontWindow";
}  // namespace

FrontWindow::FrontWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = Proc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kClass;
  RegisterClassA(&windowClass);
  window_ = CreateWindowExA(0, kClass, "front", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                            nullptr, windowClass.hInstance, this);
  if (window_) SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

FrontWindow::~FrontWindow() {
  if (window_) DestroyWindow(window_);
}

bool FrontWindow::TakeForeground() {
  return window_ && WaitFor(
                        [&] {
                          SetForegroundWindow(window_);
                          SetFocus(window_);
                          return GetForegroundWindow() == window_ && GetFocus() == window_;
                        },
                        5s);
}

LRESULT CALLBACK FrontWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE)
    if (auto* self = reinterpret_cast<FrontWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA))) ++self->escapes_;
  return DefWindowProcA(window, message, wParam, lParam);
}

bool EscapeHeldAsHotKey() {
  constexpr int kProbe = 0x5EED;
  if (!RegisterHotKey(nullptr, kProbe, 0, VK_ESCAPE)) return true;
  UnregisterHotKey(nullptr, kProbe);
  return false;
}

}  // namespace ventalune::wine_test
