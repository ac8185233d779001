#include "common/bitmap_check.h"

#include <cstdlib>

namespace ventalune {
namespace {

uint32_t U16(std::span<const uint8_t> b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
uint32_t U32(std::span<const uint8_t> b, std::size_t at) { return U16(b, at) | (U16(b, at + 2) << 16); }
int32_t I32(std::span<const uint8_t> b, std::size_t at) { return static_cast<int32_t>(U32(b, at)); }

constexpr std::size_t kFileHeader = 14;
constexpr uint32_t kCoreHeader = 12;
constexpr uint32_t kInfoHeader = 40;

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kJpeg = 4, kPng = 5, kAlphaBitfields = 6 };

}  // namespace

bool BitmapFileIsWhole(std::span<const uint8_t> head, uint64_t fileSize) {
  if (head.size() < 2 || head[0] != 'B' || head[1] != 'M') return true;
  if (head.size() < kFileHeader + 4 || fileSize < kFileHeader + 4) return false;
  const uint64_t pixelOffset = U32(head, 10);
  const uint32_t infoSize = U32(head, 14);

  int64_t width = 0, height = 0;
  uint32_t bitCount = 0, compression = kRgb, imageSize = 0;
  if (infoSize == kCoreHeader) {
    if (head.size() < kFileHeader + kCoreHeader) return false;
    width = U16(head, 18);
    height = U16(head, 20);
    bitCount = U16(head, 24);
  } else if (infoSize >= kInfoHeader) {
    if (head.size() < kFileHeader + kInfoHeader) return false;
    width = I32(head, 18);
    height = std::llabs(I32(head, 22));
    bitCount = U16(head, 28);
    compression = U32(head, 30);
    imageSize = U32(head, 34);
  } else {
    return false;
  }
  if (fileSize < kFileHeader + infoSize || pixelOffset > fileSize) return false;
  if (width <= 0 || height <= 0 || bitCount == 0) return false;

  uint64_t pixelBytes = 0;
  switch (compression) {
    case kRgb:
    case kBitfields:
    case kAlphaBitfields: {
      // Below 2^46; times a height below 2^31 it may pass 64 bits, so the
      // height is weighed against the file by division, not multiplication.
      const uint64_t stride = (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
      if (static_cast<uint64_t>(height) > fileSize / stride) return false;
      pixelBytes = stride * static_cast<uint64_t>(height);
      break;
    }
    case kRle8:
    case kRle4:
    case kJpeg:
    case kPng:
      pixelBytes = imageSize;
      break;
    default:
      return false;
  }
  return pixelBytes <= fileSize - pixelOffset;
}

}  // namespace ventalune
