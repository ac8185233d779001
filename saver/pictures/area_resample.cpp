#include "saver/pictures/area_resample.h"

#include <algorithm>

namespace ventalune::pictures {
namespace {

constexpr size_t kBytesPerPixel = 4;
constexpr size_t kChannels = 3;

// Along one side: which source pixels each target pixel covers and by how
// much. Measured in units of which a source pixel holds `target` and a
// target pixel `source`, every overlap is a whole number and the weights
// of one target pixel add up to `source`.
struct Span {
  int32_t first = 0;
  std::vector<uint32_t> weights;
};

std::vector<Span> Spans(int32_t source, int32_t target) {
  std::vector<Span> spans(static_cast<size_t>(target));
  for (int32_t i = 0; i < target; ++i) {
    const int64_t begin = int64_t{i} * source, end = begin + source;
    Span& span = spans[static_cast<size_t>(i)];
    span.first = static_cast<int32_t>(begin / target);
    const auto last = static_cast<int32_t>((end - 1) / target);
    for (int32_t j = span.first; j <= last; ++j) {
      const int64_t from = std::max(int64_t{j} * target, begin);
      const int64_t to = std::min(int64_t{j + 1} * target, end);
      span.weights.push_back(static_cast<uint32_t>(to - from));
    }
  }
  return spans;
}

}  // namespace

std::vector<uint8_t> ResampleByArea(std::span<const uint8_t> pixels, int32_t width, int32_t height,
                                    int32_t targetWidth, int32_t targetHeight) {
  if (width < 1 || height < 1 || targetWidth < 1 || targetHeight < 1 || targetWidth > width ||
      targetHeight > height ||
      pixels.size() != static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * kBytesPerPixel) {
    return {};
  }
  const std::vector<Span> columns = Spans(width, targetWidth);
  const std::vector<Span> rows = Spans(height, targetHeight);
  const size_t targetRow = static_cast<size_t>(targetWidth) * kChannels;
  std::vector<uint8_t> out(static_cast<size_t>(targetWidth) * static_cast<size_t>(targetHeight) * kBytesPerPixel);
  // One source row narrowed to the target's width (weights up to `width`
  // each), and the weighted sum of such rows for one target row.
  std::vector<uint64_t> narrowed(targetRow), sums(targetRow);
  const uint64_t divisor = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  int32_t narrowedRow = -1;
  for (int32_t y = 0; y < targetHeight; ++y) {
    std::fill(sums.begin(), sums.end(), 0);
    const Span& rowSpan = rows[static_cast<size_t>(y)];
    for (size_t k = 0; k < rowSpan.weights.size(); ++k) {
      const int32_t sourceRow = rowSpan.first + static_cast<int32_t>(k);
      // A source row shared by two target rows is narrowed once.
      if (sourceRow != narrowedRow) {
        const uint8_t* line = pixels.data() + static_cast<size_t>(sourceRow) * static_cast<size_t>(width) * kBytesPerPixel;
        for (int32_t x = 0; x < targetWidth; ++x) {
          const Span& columnSpan = columns[static_cast<size_t>(x)];
          const uint8_t* pixel = line + static_cast<size_t>(columnSpan.first) * kBytesPerPixel;
          uint64_t blue = 0, green = 0, red = 0;
          for (const uint32_t weight : columnSpan.weights) {
            blue += uint64_t{pixel[0]} * weight;
            green += uint64_t{pixel[1]} * weight;
            red += uint64_t{pixel[2]} * weight;
            pixel += kBytesPerPixel;
          }
          uint64_t* into = &narrowed[static_cast<size_t>(x) * kChannels];
          into[0] = blue;
          into[1] = green;
          into[2] = red;
        }
        narrowedRow = sourceRow;
      }
      const uint64_t weight = rowSpan.weights[k];
      for (size_t i = 0; i < targetRow; ++i) sums[i] += narrowed[i] * weight;
    }
    uint8_t* target = out.data() + static_cast<size_t>(y) * static_cast<size_t>(targetWidth) * kBytesPerPixel;
    for (int32_t x = 0; x < targetWidth; ++x, target += kBytesPerPixel) {
      for (size_t c = 0; c < kChannels; ++c) {
        target[c] = static_cast<uint8_t>((sums[static_cast<size_t>(x) * kChannels + c] + divisor / 2) / divisor);
      }
      target[3] = 0;
    }
  }
  return out;
}

}  // namespace ventalune::pictures
