// libFuzzer target for the guard in front of the picture loaders: the first
// bytes of a file and a claimed file size. The guard must never read beyond
// what it is given, and when it calls a bitmap whole, its pixel data must
// really fit in the file, by arithmetic that cannot overflow.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "common/bitmap_check.h"

namespace {

uint32_t Little(const uint8_t* b, int count) {
  uint32_t v = 0;
  for (int i = 0; i < count; ++i) v |= uint32_t{b[i]} << (8 * i);
  return v;
}

// What the pixel data of a whole bitmap takes, computed wide; -1 when the
// headers say nothing definite (the guard leaves such files to the loader).
__int128 PixelBytes(const uint8_t* b, size_t size) {
  const uint32_t infoSize = Little(b + 14, 4);
  __int128 width = 0, height = 0, bits = 0, compression = 0, imageSize = 0;
  if (infoSize == 12 && size >= 26) {
    width = Little(b + 18, 2), height = Little(b + 20, 2), bits = Little(b + 24, 2);
  } else if (infoSize >= 40 && size >= 54) {
    width = static_cast<int32_t>(Little(b + 18, 4));
    height = std::llabs(static_cast<int32_t>(Little(b + 22, 4)));
    bits = Little(b + 28, 2), compression = Little(b + 30, 4), imageSize = Little(b + 34, 4);
  } else {
    return -1;
  }
  if (compression == 0 || compression == 3 || compression == 6) return (width * bits + 31) / 32 * 4 * height;
  return imageSize;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first 8 bytes claim the file size (a file may be longer than the
  // head the guard is shown); the rest is the head, copied so that any read
  // past it is caught.
  if (size < 8) return 0;
  uint64_t claimed = 0;
  std::memcpy(&claimed, data, 8);
  const size_t headSize = size - 8;
  // Mostly a file that is exactly the head or a little longer, sometimes any size.
  const uint64_t fileSize = (claimed >> 63) ? (claimed & 0xffffffffffffull) : headSize + (claimed & 0xffff);
  auto* head = static_cast<uint8_t*>(std::malloc(headSize ? headSize : 1));
  if (headSize) std::memcpy(head, data + 8, headSize);

  const bool whole = ventalune::BitmapFileIsWhole(std::span<const uint8_t>(head, headSize), fileSize);
  if (whole && headSize >= 18 && head[0] == 'B' && head[1] == 'M') {
    const __int128 pixels = PixelBytes(head, headSize);
    const __int128 offset = Little(head + 10, 4);
    if (pixels >= 0 && offset + pixels > static_cast<__int128>(fileSize)) std::abort();  // called whole, is not
  }
  std::free(head);
  return 0;
}
