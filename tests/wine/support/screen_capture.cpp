#include "support/screen_capture.h"

#include "support/bitmap_file.h"

namespace ventalune::wine_test {

Rgb ScreenPicture::at(int x, int y) const {
  const uint8_t* p = &bgra_[(static_cast<size_t>(y) * width_ + x) * 4];
  return {p[2], p[1], p[0]};
}

int ScreenPicture::Count(const std::function<bool(Rgb)>& predicate) const {
  int count = 0;
  for (size_t i = 0; i + 3 < bgra_.size(); i += 4)
    if (predicate({bgra_[i + 2], bgra_[i + 1], bgra_[i]})) ++count;
  return count;
}

bool ScreenPicture::SaveBmp(const std::string& path) const {
  return WriteBmpFile(path, width_, height_, [this](int x, int y) { return at(x, y); });
}

ScreenPicture CaptureScreen() {
  return CaptureScreenArea({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

ScreenPicture CaptureScreenArea(const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ScreenPicture picture;
  if (dib) {
    HGDIOBJ previous = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* bytes = static_cast<const uint8_t*>(bits);
    picture = ScreenPicture(width, height, std::vector<uint8_t>(bytes, bytes + static_cast<size_t>(width) * height * 4));
    SelectObject(memory, previous);
    DeleteObject(dib);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return picture;
}

}  // namespace ventalune::wine_test
