#include "saver/pictures/jpeg_reduced_idct.h"

#include <algorithm>
#include <cmath>

namespace ventalune::pictures::jpeg {
namespace {

uint8_t Sample(float value) {
  // Samples are stored less 128; clamping before the conversion also keeps
  // damaged data's huge values from overflowing it.
  return static_cast<uint8_t>(std::clamp(value + 128.5f, 0.0f, 255.0f));
}

// Weights for `size` outputs from the first `size` coefficients of one
// dimension, at [i * 8 + u], or at [u * 8 + i] when `transposed`.
std::array<float, 64> Weights(int size, bool transposed) {
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
      weights[static_cast<size_t>(transposed ? u * 8 + i : i * 8 + u)] = static_cast<float>(scale * sum / span);
    }
  }
  return weights;
}

}  // namespace

// The transform for each pair of sizes is chosen once: with the sizes known
// to the compiler, its loops unroll and run on vectors.
ReducedIdct::ReducedIdct(int horizontalShift, int verticalShift)
    : columns_(8 >> std::clamp(horizontalShift, 0, 3)), rows_(8 >> std::clamp(verticalShift, 0, 3)),
      columnWeights_(Weights(columns_, true)), rowWeights_(Weights(rows_, false)) {
  constexpr TransformFunction kTransforms[4][4] = {
      {&TransformSized<1, 1>, &TransformSized<1, 2>, &TransformSized<1, 4>, &TransformSized<1, 8>},
      {&TransformSized<2, 1>, &TransformSized<2, 2>, &TransformSized<2, 4>, &TransformSized<2, 8>},
      {&TransformSized<4, 1>, &TransformSized<4, 2>, &TransformSized<4, 4>, &TransformSized<4, 8>},
      {&TransformSized<8, 1>, &TransformSized<8, 2>, &TransformSized<8, 4>, &TransformSized<8, 8>}};
  transform_ = kTransforms[3 - std::clamp(horizontalShift, 0, 3)][3 - std::clamp(verticalShift, 0, 3)];
}

std::array<uint8_t, 64> ReducedIdct::KeptCoefficients() const {
  std::array<uint8_t, 64> kept{};
  for (int v = 0; v < rows_; ++v)
    for (int u = 0; u < columns_; ++u) kept[static_cast<size_t>(v * 8 + u)] = 1;
  return kept;
}

void ReducedIdct::Transform(const float* block, uint8_t rowMask, uint8_t* out, ptrdiff_t stride) const {
  transform_(*this, block, rowMask, out, stride);
}

template <int Columns, int Rows>
void ReducedIdct::TransformSized(const ReducedIdct& idct, const float* block, uint8_t rowMask, uint8_t* out,
                                 ptrdiff_t stride) {
  // Only the DC value: a flat block.
  if ((rowMask & ((1u << Rows) - 1)) == 0) {
    const uint8_t flat = Sample(block[0] * idct.columnWeights_[0] * idct.rowWeights_[0]);
    for (int j = 0; j < Rows; ++j, out += stride) std::fill(out, out + Columns, flat);
    return;
  }
  // Each coefficient row to its horizontal averages, then down the columns.
  // Output i and its mirror image n-1-i take the same weights, the odd
  // frequencies' with the opposite sign: both come from one sum of the even
  // and one of the odd coefficients. Rows without coefficients are passed over.
  float horizontal[Rows][Columns];
  for (int v = 0; v < Rows; ++v) {
    float* row = horizontal[v];
    if (v > 0 && (rowMask & (1u << v)) == 0) continue;
    const float* coefficients = block + v * 8;
    if constexpr (Columns == 1) {
      row[0] = coefficients[0] * idct.columnWeights_[0];
    } else {
      constexpr int kHalf = Columns / 2;
      float even[kHalf] = {};
      float odd[kHalf] = {};
      for (int u = 0; u < Columns; u += 2) {
        const float* weight = &idct.columnWeights_[static_cast<size_t>(u * 8)];
        for (int i = 0; i < kHalf; ++i) even[i] += weight[i] * coefficients[u];
      }
      for (int u = 1; u < Columns; u += 2) {
        const float* weight = &idct.columnWeights_[static_cast<size_t>(u * 8)];
        for (int i = 0; i < kHalf; ++i) odd[i] += weight[i] * coefficients[u];
      }
      for (int i = 0; i < kHalf; ++i) {
        row[i] = even[i] + odd[i];
        row[Columns - 1 - i] = even[i] - odd[i];
      }
    }
  }
  if constexpr (Rows == 1) {
    for (int i = 0; i < Columns; ++i) out[i] = Sample(idct.rowWeights_[0] * horizontal[0][i]);
  } else {
    constexpr int kHalf = Rows / 2;
    float even[kHalf][Columns] = {};
    float odd[kHalf][Columns] = {};
    for (int v = 0; v < Rows; ++v) {
      if (v > 0 && (rowMask & (1u << v)) == 0) continue;
      auto& sums = v % 2 == 0 ? even : odd;
      for (int j = 0; j < kHalf; ++j) {
        const float weight = idct.rowWeights_[static_cast<size_t>(j * 8 + v)];
        for (int i = 0; i < Columns; ++i) sums[j][i] += weight * horizontal[v][i];
      }
    }
    for (int j = 0; j < kHalf; ++j) {
      uint8_t* top = out + j * stride;
      uint8_t* bottom = out + (Rows - 1 - j) * stride;
      for (int i = 0; i < Columns; ++i) {
        top[i] = Sample(even[j][i] + odd[j][i]);
        bottom[i] = Sample(even[j][i] - odd[j][i]);
      }
    }
  }
}

}  // namespace ventalune::pictures::jpeg
