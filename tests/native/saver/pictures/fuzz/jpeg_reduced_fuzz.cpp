// libFuzzer target for the reduced JPEG decoder: any bytes at any shift
// give a picture of the promised size or nothing, never a crash, a hang or
// a read out of bounds. The last byte chooses the shift.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "saver/pictures/jpeg_reduced_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using ventalune::pictures::DecodeJpegReduced;
  if (size == 0) return 0;
  const std::span<const uint8_t> bytes(data, size);
  const int shift = data[size - 1] & 3;
  const auto picture = DecodeJpegReduced(bytes, shift);
  if (!picture) return 0;
  if (picture->width <= 0 || picture->height <= 0 ||
      picture->pixels.size() != static_cast<size_t>(picture->width) * static_cast<size_t>(picture->height) * 4) {
    std::abort();
  }
  for (size_t at = 3; at < picture->pixels.size(); at += 4)
    if (picture->pixels[at] != 0) std::abort();
  return 0;
}
