#include "saver/gif/fit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ventalune::gif {

int32_t RoundHalfEven(double value) {
  // nearbyint rounds in the default mode, which is to nearest, ties to even.
  const double rounded = std::nearbyint(value);
  if (!(rounded >= std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  if (rounded > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(rounded);
}

std::optional<FitResult> Fit(int32_t mode, int32_t availableWidth, int32_t availableHeight, int32_t logicalWidth,
                             int32_t logicalHeight) {
  if (logicalWidth <= 0 || logicalHeight <= 0) return std::nullopt;
  const double ratioX = static_cast<double>(availableWidth) / logicalWidth;
  const double ratioY = static_cast<double>(availableHeight) / logicalHeight;
  FitResult fit;
  switch (mode) {
    case kNaturalClipped:
      fit.width = std::min(availableWidth, logicalWidth);
      fit.height = std::min(availableHeight, logicalHeight);
      return fit;
    case kNaturalAdopted:
      fit.width = logicalWidth;
      fit.height = logicalHeight;
      return fit;
    case kFill:
      fit.scaleX = static_cast<float>(ratioX);
      fit.scaleY = static_cast<float>(ratioY);
      fit.width = availableWidth;
      fit.height = availableHeight;
      return fit;
    case kProportional:
    case kProportionalNoEnlarge: {
      double scale = std::min(ratioX, ratioY);
      if (mode == kProportionalNoEnlarge && ratioX > 1.0 && ratioY > 1.0) scale = 1.0;
      fit.scaleX = fit.scaleY = static_cast<float>(scale);
      fit.width = RoundHalfEven(static_cast<double>(fit.scaleX) * logicalWidth);
      fit.height = RoundHalfEven(static_cast<double>(fit.scaleY) * logicalHeight);
      return fit;
    }
    default:
      return std::nullopt;
  }
}

Rect ScaledFrameRect(const FrameRecord& frame, float scaleX, float scaleY) {
  return Rect{RoundHalfEven(static_cast<double>(frame.left) * scaleX), RoundHalfEven(static_cast<double>(frame.top) * scaleY),
              RoundHalfEven(static_cast<double>(frame.width) * scaleX), RoundHalfEven(static_cast<double>(frame.height) * scaleY)};
}

Rect ScaledCanvasRect(int32_t logicalWidth, int32_t logicalHeight, float scaleX, float scaleY) {
  return Rect{0, 0, RoundHalfEven(static_cast<double>(logicalWidth) * scaleX),
              RoundHalfEven(static_cast<double>(logicalHeight) * scaleY)};
}

}  // namespace ventalune::gif
