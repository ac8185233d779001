#pragma once
// Twips on this screen: the resolution the display really reports.
#include <cstdint>

namespace ventalune::toolkit {

struct ScreenDpi {
  int32_t x = 96, y = 96;
};
// The screen's pixels per logical inch, read once per call.
ScreenDpi ReadScreenDpi();

int32_t TwipsToPixelsX(int64_t twips);
int32_t TwipsToPixelsY(int64_t twips);
int32_t PixelsToTwipsX(int64_t pixels);
int32_t PixelsToTwipsY(int64_t pixels);

}  // namespace ventalune::toolkit
