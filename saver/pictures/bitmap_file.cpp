#include "saver/pictures/bitmap_file.h"

namespace ventalune::pictures {
namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;

void Put16(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  out[at] = static_cast<uint8_t>(value);
  out[at + 1] = static_cast<uint8_t>(value >> 8);
}
void Put32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  Put16(out, at, value & 0xffffu);
  Put16(out, at + 2, value >> 16);
}

}  // namespace

std::vector<uint8_t> EncodeBitmapFile(std::span<const uint8_t> topDownBgrx, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return {};
  const uint64_t pixels = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  if (topDownBgrx.size() != pixels * 4) return {};
  const uint64_t stride = (static_cast<uint64_t>(width) * 3 + 3) & ~uint64_t{3};
  const uint64_t imageBytes = stride * static_cast<uint64_t>(height);
  const uint64_t fileBytes = kFileHeaderBytes + kInfoHeaderBytes + imageBytes;
  if (fileBytes > 0xffffffffu) return {};

  std::vector<uint8_t> out(static_cast<size_t>(fileBytes), 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, static_cast<uint32_t>(fileBytes));
  Put32(out, 10, kFileHeaderBytes + kInfoHeaderBytes);
  Put32(out, 14, kInfoHeaderBytes);
  Put32(out, 18, static_cast<uint32_t>(width));
  Put32(out, 22, static_cast<uint32_t>(height));
  Put16(out, 26, 1);   // planes
  Put16(out, 28, 24);  // bits per pixel
  Put32(out, 34, static_cast<uint32_t>(imageBytes));
  Put32(out, 38, 3780);  // 96 dots per inch, in dots per metre
  Put32(out, 42, 3780);

  for (int32_t row = 0; row < height; ++row) {
    const uint8_t* source = topDownBgrx.data() + static_cast<size_t>(row) * static_cast<size_t>(width) * 4;
    uint8_t* target = out.data() + kFileHeaderBytes + kInfoHeaderBytes + static_cast<size_t>(height - 1 - row) * stride;
    for (int32_t x = 0; x < width; ++x) {
      target[x * 3] = source[x * 4];
      target[x * 3 + 1] = source[x * 4 + 1];
      target[x * 3 + 2] = source[x * 4 + 2];
    }
  }
  return out;
}

}  // namespace ventalune::pictures
