#pragma once
// A stand-in for the screen-saver settings page: a frame window with a
// preview area the saver draws into.
#include <windows.h>

namespace ventalune::wine_test {

// The preview area is a child window of 152 × 112 pixels.
class PreviewHost {
 public:
  PreviewHost() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "VentaluneTestHost";
    RegisterClassA(&windowClass);
    frame_ = CreateWindowExA(0, "VentaluneTestHost", "Screen Saver Settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                             100, 400, 300, nullptr, nullptr, windowClass.hInstance, nullptr);
    area_ = CreateWindowExA(0, "VentaluneTestHost", "", WS_CHILD | WS_VISIBLE, 40, 30, 152, 112, frame_, nullptr,
                            windowClass.hInstance, nullptr);
  }
  ~PreviewHost() { DestroyWindow(frame_); }
  HWND area() const { return area_; }
  void DestroyArea() { DestroyWindow(area_); }
  // As a host of another DPI awareness rescales the area once it adopted us.
  void ResizeArea(int width, int height) { SetWindowPos(area_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER); }

 private:
  HWND frame_ = nullptr;
  HWND area_ = nullptr;
};

}  // namespace ventalune::wine_test
