#pragma once
// What a person would see: the screen's pixels, read back through GDI.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace ventalune::wine_test {

struct Rgb {
  uint8_t r, g, b;
};

inline bool ColourNear(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

class ScreenPicture {
 public:
  ScreenPicture() = default;
  ScreenPicture(int width, int height, std::vector<uint8_t> bgra)
      : width_(width), height_(height), bgra_(std::move(bgra)) {}
  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return bgra_.empty(); }
  Rgb at(int x, int y) const;
  // How many pixels satisfy the predicate.
  int Count(const std::function<bool(Rgb)>& predicate) const;
  // Saves as a 24-bit BMP, for people to look at when a test fails.
  bool SaveBmp(const std::string& path) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> bgra_;  // top row first
};

// The whole screen (the desktop window's device context).
ScreenPicture CaptureScreen();
// One area of the virtual screen, which may reach onto other monitors.
ScreenPicture CaptureScreenArea(const RECT& area);

}  // namespace ventalune::wine_test
