#include "scene/texture_size.h"

#include <algorithm>
#include <cmath>

namespace ventalune::scene {

int32_t TextureSide(int32_t pixels, int32_t largestSide) {
  const int32_t basis = std::max(pixels <= largestSide ? pixels : largestSide, 1);
  const double exponent = std::floor(std::log(static_cast<double>(basis)) / std::log(2.0) + 0.5);
  // The exponent is used as a shift count, of which only the low five bits count.
  const int shift = static_cast<int>(exponent) & 31;
  return static_cast<int32_t>(1u << shift);
}

}  // namespace ventalune::scene
