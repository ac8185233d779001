#include "saver/pictures/picture_reduction.h"

#include <algorithm>

namespace ventalune::pictures {
namespace {

constexpr size_t kBytesPerPixel = 4;

// ceil(value / 2^shift) without overflow.
int32_t HalvedUp(int32_t value, int shift) {
  return static_cast<int32_t>((static_cast<int64_t>(value) + (int64_t{1} << shift) - 1) >> shift);
}

}  // namespace

Reduction ReduceToFit(int32_t width, int32_t height, int32_t longestSide) {
  Reduction reduction{width, height, 0};
  if (width <= 0 || height <= 0 || longestSide < 1) return reduction;
  while (std::max(reduction.width, reduction.height) > longestSide) {
    ++reduction.shift;
    reduction.width = HalvedUp(width, reduction.shift);
    reduction.height = HalvedUp(height, reduction.shift);
  }
  return reduction;
}

ReducedSize ReducedPictureSize(int32_t width, int32_t height) {
  if (std::max(width, height) <= kLongestSideKept || std::min(width, height) < 1) return {width, height};
  const int64_t longer = std::max(width, height), shorter = std::min(width, height);
  const auto scaled = static_cast<int32_t>(
      std::max<int64_t>(1, (shorter * kReducedLongestSide + longer / 2) / longer));
  return width >= height ? ReducedSize{kReducedLongestSide, scaled} : ReducedSize{scaled, kReducedLongestSide};
}

BlockAverager::BlockAverager(int32_t sourceWidth, int32_t sourceHeight, int sourceBytesPerPixel,
                             const Reduction& reduction, std::span<uint8_t> target)
    : sourceWidth_(sourceWidth), sourceHeight_(sourceHeight), sourceBytesPerPixel_(sourceBytesPerPixel),
      reduction_(reduction), target_(target) {
  valid_ = sourceWidth > 0 && sourceHeight > 0 && (sourceBytesPerPixel == 3 || sourceBytesPerPixel == 4) &&
           reduction.shift >= 0 && reduction.shift < 31 &&
           reduction.width == HalvedUp(sourceWidth, reduction.shift) &&
           reduction.height == HalvedUp(sourceHeight, reduction.shift) &&
           target.size() == static_cast<uint64_t>(reduction.width) * static_cast<uint64_t>(reduction.height) *
                                kBytesPerPixel;
  if (valid_) sums_.assign(static_cast<size_t>(reduction.width) * 3, 0);
}

bool BlockAverager::AddRows(std::span<const uint8_t> rows) {
  if (!valid_) return false;
  const size_t step = static_cast<size_t>(sourceBytesPerPixel_);
  const size_t rowBytes = static_cast<size_t>(sourceWidth_) * step;
  if (rows.size() % rowBytes != 0) return false;
  if (rows.size() / rowBytes > static_cast<size_t>(sourceHeight_ - nextRow_)) return false;
  const int shift = reduction_.shift;
  const int32_t blockRows = int32_t{1} << shift;
  const int32_t blockColumns = int32_t{1} << shift;
  for (size_t at = 0; at < rows.size(); at += rowBytes) {
    const uint8_t* pixel = rows.data() + at;
    uint64_t* sum = sums_.data();
    // Each block's share of this row, the last one cut by the right edge.
    for (int32_t x = 0; x < sourceWidth_; x += blockColumns, sum += 3) {
      const int32_t columns = std::min(blockColumns, sourceWidth_ - x);
      uint64_t blue = 0, green = 0, red = 0;
      for (int32_t i = 0; i < columns; ++i, pixel += step) {
        blue += pixel[0];
        green += pixel[1];
        red += pixel[2];
      }
      sum[0] += blue;
      sum[1] += green;
      sum[2] += red;
    }
    ++nextRow_;
    ++rowsInBlock_;
    if (rowsInBlock_ == blockRows || nextRow_ == sourceHeight_) FinishTargetRow();
  }
  return true;
}

void BlockAverager::FinishTargetRow() {
  const int shift = reduction_.shift;
  const int32_t targetRow = (nextRow_ - 1) >> shift;
  uint8_t* out = target_.data() + static_cast<size_t>(targetRow) * static_cast<size_t>(reduction_.width) * kBytesPerPixel;
  for (int32_t column = 0; column < reduction_.width; ++column, out += kBytesPerPixel) {
    const int64_t firstX = static_cast<int64_t>(column) << shift;
    const int64_t columns = std::min<int64_t>(int64_t{1} << shift, sourceWidth_ - firstX);
    const uint64_t count = static_cast<uint64_t>(columns) * static_cast<uint64_t>(rowsInBlock_);
    uint64_t* sum = &sums_[static_cast<size_t>(column) * 3];
    for (int channel = 0; channel < 3; ++channel) {
      out[channel] = static_cast<uint8_t>((sum[channel] + count / 2) / count);
      sum[channel] = 0;
    }
    out[3] = 0;
  }
  rowsInBlock_ = 0;
}

}  // namespace ventalune::pictures
