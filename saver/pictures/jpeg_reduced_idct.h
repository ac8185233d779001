#pragma once
// The inverse transform of one 8 × 8 block straight to a reduced size:
// 8 >> horizontalShift samples across and 8 >> verticalShift down, each the
// average of the pixels the full transform would give in its place, taken
// from the low-frequency coefficients alone (as many as there are outputs).
// A picture decoded so looks like the full-size picture averaged in blocks,
// at a fraction of the cost. The shifts differ for a component that has
// half the resolution of the picture in one direction: its blocks are
// reduced less, so that they land at the picture's reduced size.
#include <array>
#include <cstddef>
#include <cstdint>

namespace ventalune::pictures::jpeg {

class ReducedIdct {
 public:
  // Shifts 0..3.
  ReducedIdct(int horizontalShift, int verticalShift);

  int columns() const { return columns_; }
  int rows() const { return rows_; }

  // Flags for the 64 coefficients in natural order: those Transform reads.
  std::array<uint8_t, 64> KeptCoefficients() const;

  // `block` holds the dequantised coefficients in natural order (only the
  // kept ones are read). `rowMask` has bit r set when coefficient row r
  // holds a non-zero AC value. Writes rows() rows of columns() samples,
  // `stride` bytes apart.
  void Transform(const float* block, uint8_t rowMask, uint8_t* out, ptrdiff_t stride) const;

 private:
  using TransformFunction = void (*)(const ReducedIdct&, const float*, uint8_t, uint8_t*, ptrdiff_t);
  template <int Columns, int Rows>
  static void TransformSized(const ReducedIdct& idct, const float* block, uint8_t rowMask, uint8_t* out,
                             ptrdiff_t stride);

  int columns_;
  int rows_;
  // The average of basis function u over output sample i's pixels:
  // across at [u * 8 + i], down at [i * 8 + u].
  std::array<float, 64> columnWeights_{};
  std::array<float, 64> rowWeights_{};
  TransformFunction transform_ = nullptr;
};

}  // namespace ventalune::pictures::jpeg
