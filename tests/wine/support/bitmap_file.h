#pragma once
// Windows bitmap files for the tests: written from a pixel function, read
// back for checking what the programs wrote.
#include <functional>
#include <string>
#include <vector>

#include "support/screen_capture.h"

namespace ventalune::wine_test {

// A 24-bit bottom-up BMP of width × height; pixel(x, y) with y = 0 at the top.
bool WriteBmpFile(const std::string& path, int width, int height, const std::function<Rgb(int x, int y)>& pixel);
bool WriteBmpFile(const std::wstring& path, int width, int height, const std::function<Rgb(int x, int y)>& pixel);

// A bitmap file as read back for checking: 24 or 32 bits per pixel,
// uncompressed, either row order. Empty (width 0) when unreadable.
struct BitmapPicture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // top row first
  Rgb at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
BitmapPicture ReadBmpFile(const std::string& path);
BitmapPicture ReadBmpFile(const std::wstring& path);

std::vector<uint8_t> ReadRawFile(const std::string& path);
std::vector<uint8_t> ReadRawFile(const std::wstring& path);

// Writes raw bytes (a damaged file for a test).
bool WriteRawFile(const std::string& path, const std::vector<uint8_t>& bytes);
bool WriteRawFile(const std::wstring& path, const std::vector<uint8_t>& bytes);

// A path in the system code page as the wide API takes it.
std::wstring WidePath(const std::string& path);

}  // namespace ventalune::wine_test
