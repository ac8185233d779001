#include "saver/dialog/preview_fit.h"

#include <cmath>
#include <limits>

namespace ventalune::dialog {
namespace {

// Halves go to the even neighbour: 0.5 → 0, 2.5 → 2, 3.5 → 4.
int32_t RoundHalfEven(double value) {
  const double lower = std::floor(value);
  const double fraction = value - lower;
  double rounded = lower;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0)) rounded = lower + 1.0;
  return static_cast<int32_t>(rounded);
}

}  // namespace

PreviewSize FitPreview(int32_t pictureWidth, int32_t pictureHeight, int32_t side) {
  if (pictureWidth <= 0 || pictureHeight <= 0 || side <= 0) return {};
  const double w = pictureWidth;
  const double h = pictureHeight;
  if (pictureWidth > pictureHeight) return {side, RoundHalfEven(h * side / w)};
  return {RoundHalfEven(w * side / h), side};
}

void ForEachTilePosition(int32_t tileWidth, int32_t tileHeight, int32_t targetWidth, int32_t targetHeight,
                         const std::function<void(int32_t x, int32_t y)>& place) {
  // Without area the walk would never leave its first position.
  if (tileWidth <= 0 || tileHeight <= 0) return;
  // Wide enough that stepping past a target near the 32-bit limit cannot wrap.
  int64_t x = 0;
  int64_t y = 0;
  constexpr int64_t kLast = std::numeric_limits<int32_t>::max();
  for (;;) {
    if (x > kLast || y > kLast) return;  // no surface reaches that far
    place(static_cast<int32_t>(x), static_cast<int32_t>(y));
    if (y > targetHeight) {
      if (x > targetWidth) return;
      x += tileWidth;
      y = 0;
    } else {
      y += tileHeight;
    }
  }
}

}  // namespace ventalune::dialog
