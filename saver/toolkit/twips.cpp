#include "saver/toolkit/twips.h"

#include <algorithm>
#include <limits>

namespace ventalune::toolkit {
namespace {

// value × multiplier / divisor to the nearest integer, halves away from zero.
// The inputs stay far enough inside 64 bits: they are clamped first.
int32_t ScaleRounded(int64_t value, int64_t multiplier, int64_t divisor) {
  constexpr int64_t kLimit = int64_t{1} << 40;
  value = std::clamp(value, -kLimit, kLimit);
  const int64_t product = value * multiplier;
  const int64_t half = divisor / 2;
  const int64_t rounded = product >= 0 ? (product + half) / divisor : -((-product + half) / divisor);
  return static_cast<int32_t>(std::clamp<int64_t>(rounded, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

int64_t UsableDpi(int32_t dpi) { return dpi > 0 ? dpi : kDefaultDpi; }

}  // namespace

int32_t TwipsToPixels(int64_t twips, int32_t dpi) { return ScaleRounded(twips, UsableDpi(dpi), kTwipsPerInch); }

int32_t PixelsToTwips(int64_t pixels, int32_t dpi) { return ScaleRounded(pixels, kTwipsPerInch, UsableDpi(dpi)); }

}  // namespace ventalune::toolkit
