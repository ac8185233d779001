#include "saver/toolkit/jpeg_reduced_idct.h"

#include <algorithm>
#include <cmath>

namespace ventalune::toolkit::jpeg {
namespace {

uint8_t Sample(float value) {
  // Samples are stored less 128; clamping before the conversion also keeps
  // damaged data's huge values from overflowing it.
  return static_cast<uint8_t>(std::clamp(value + 128.5f, 0.0f, 255.0f));
}

// Weights for `size` outputs from the first `size` coefficients of one dimension.
std::array<float, 64> Weights(int size) {
  std::array<float, 64> weights{};
  const double pi = std::acos(-1.0);
  const int span = 8 / size;
  for (int i = 0; i < size; ++i) {
    for (int u = 0; u < size; ++u) {
      // One dimension of the transform is (C(u) / 2) cos((2x + 1) u π / 16),
      // C(0) = 1/√2; two dimensions multiply, so a flat block keeps its level.
      const double scale = (u == 0 ? std::sqrt(0.5) : 1.0) / 2.0;
      double sum = 0.0;
      for (int x = i * span; x < (i + 1) * span; ++x) sum += std::cos((2 * x + 1) * u * pi / 16.0);
      weights[static_cast<size_t>(i * 8 + u)] = static_cast<float>(scale * sum / span);
    }
  }
  return weights;
}

}  // namespace

ReducedIdct::ReducedIdct(int horizontalShift, int verticalShift)
    : columns_(8 >> std::clamp(horizontalShift, 0, 3)), rows_(8 >> std::clamp(verticalShift, 0, 3)),
      columnWeights_(Weights(columns_)), rowWeights_(Weights(rows_)) {}

std::array<uint8_t, 64> ReducedIdct::KeptCoefficients() const {
  std::array<uint8_t, 64> kept{};
  for (int v = 0; v < rows_; ++v)
    for (int u = 0; u < columns_; ++u) kept[static_cast<size_t>(v * 8 + u)] = 1;
  return kept;
}

void ReducedIdct::Transform(const float* block, uint8_t rowMask, uint8_t* out, ptrdiff_t stride) const {
  const int columns = columns_;
  const int rows = rows_;
  // Only the DC value: a flat block.
  if ((rowMask & ((1u << rows) - 1)) == 0) {
    const uint8_t flat = Sample(block[0] * columnWeights_[0] * rowWeights_[0]);
    for (int j = 0; j < rows; ++j, out += stride) std::fill(out, out + columns, flat);
    return;
  }
  // Each coefficient row to its horizontal averages, then down the columns.
  float horizontal[64];
  for (int v = 0; v < rows; ++v) {
    const float* coefficients = block + v * 8;
    float* row = horizontal + v * 8;
    if (v > 0 && (rowMask & (1u << v)) == 0) {
      std::fill(row, row + columns, 0.0f);
      continue;
    }
    for (int i = 0; i < columns; ++i) {
      const float* weight = &columnWeights_[static_cast<size_t>(i * 8)];
      float sum = 0.0f;
      for (int u = 0; u < columns; ++u) sum += weight[u] * coefficients[u];
      row[i] = sum;
    }
  }
  for (int j = 0; j < rows; ++j, out += stride) {
    const float* weight = &rowWeights_[static_cast<size_t>(j * 8)];
    for (int i = 0; i < columns; ++i) {
      float sum = 0.0f;
      for (int v = 0; v < rows; ++v) sum += weight[v] * horizontal[v * 8 + i];
      out[i] = Sample(sum);
    }
  }
}

}  // namespace ventalune::toolkit::jpeg
