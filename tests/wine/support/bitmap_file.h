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

// Writes raw bytes (a damaged file for a test).
bool WriteRawFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace ventalune::wine_test
