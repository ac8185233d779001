#include "saver/toolkit/twips.h"

#include <algorithm>
#include <limits>

namespace ventalune::toolkit {
namespace {

enum class Rounding { kNearest, kDown };

// value × multiplier / divisor to the nearest integer (halves away from
// zero) or rounded down. The inputs stay far enough inside 64 bits: they are
// clamped first.
int32_t Scale(int64_t value, int64_t multiplier, int64_t divisor, Rounding rounding) {
  constexpr int64_t kLimit = int64_t{1} << 40;
  value = std::clamp(value, -kLimit, kLimit);
  const int64_t product = value * multiplier;
  int64_t scaled = 0;
  if (rounding == Rounding::kNearest) {
    const int64_t half = divisor / 2;
    scaled = product >= 0 ? (product + half) / divisor : -((-product + half) / divisor);
  } else {
    scaled = product / divisor;
    if (product % divisor != 0 && product < 0) --scaled;
  }
  return static_cast<int32_t>(std::clamp<int64_t>(scaled, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

int64_t UsableDpi(int32_t dpi) { return dpi > 0 ? dpi : kDefaultDpi; }

}  // namespace

int32_t TwipsToPixels(int64_t twips, int32_t dpi) {
  return Scale(twips, UsableDpi(dpi), kTwipsPerInch, Rounding::kNearest);
}

int32_t PixelsToTwips(int64_t pixels, int32_t dpi) {
  return Scale(pixels, kTwipsPerInch, UsableDpi(dpi), Rounding::kNearest);
}

int32_t PixelsToTwipsRoundedDown(int64_t pixels, int32_t dpi) {
  return Scale(pixels, kTwipsPerInch, UsableDpi(dpi), Rounding::kDown);
}

}  // namespace ventalune::toolkit
