#pragma once
// Twips (1440 to the inch) and screen pixels. The screen's real resolution
// decides: 15 twips to the pixel at 96 dpi, 12 at 120 dpi.
#include <cstdint>

namespace ventalune::toolkit {

inline constexpr int32_t kTwipsPerInch = 1440;
inline constexpr int32_t kDefaultDpi = 96;

// To the nearest whole pixel (halves away from zero). A resolution that is
// not positive counts as 96 dpi. Results beyond 32 bits are clamped.
int32_t TwipsToPixels(int64_t twips, int32_t dpi);
int32_t PixelsToTwips(int64_t pixels, int32_t dpi);
// The same rounded down (toward minus infinity, also for a position left of
// a control), as a control's mouse positions and sizes are reported.
int32_t PixelsToTwipsRoundedDown(int64_t pixels, int32_t dpi);

}  // namespace ventalune::toolkit
