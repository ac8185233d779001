#include "common/bitmap_check.h"

#include <gtest/gtest.h>

#include <vector>

#include "row_name.h"

namespace ventalune {
namespace {

void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xffff);
  Put16(b, at + 2, v >> 16);
}

// File and info headers of an uncompressed bitmap, pixels right after them.
std::vector<uint8_t> InfoHeader(int32_t width, int32_t height, uint16_t bits, uint32_t compression = 0,
                                uint32_t imageSize = 0) {
  std::vector<uint8_t> b(54, 0);
  b[0] = 'B', b[1] = 'M';
  Put32(b, 10, 54);
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<uint32_t>(width));
  Put32(b, 22, static_cast<uint32_t>(height));
  Put16(b, 26, 1);
  Put16(b, 28, bits);
  Put32(b, 30, compression);
  Put32(b, 34, imageSize);
  return b;
}

std::vector<uint8_t> CoreHeader(uint16_t width, uint16_t height, uint16_t bits) {
  std::vector<uint8_t> b(26, 0);
  b[0] = 'B', b[1] = 'M';
  Put32(b, 10, 26);
  Put32(b, 14, 12);
  Put16(b, 18, width);
  Put16(b, 20, height);
  Put16(b, 22, 1);
  Put16(b, 24, bits);
  return b;
}

struct WholeCase {
  const char* name;
  std::vector<uint8_t> head;
  uint64_t fileSize;
  bool whole;
};

class BitmapFileIsWholeTest : public testing::TestWithParam<WholeCase> {};

TEST_P(BitmapFileIsWholeTest, JudgesThePixelDataAgainstTheFileSize) {
  EXPECT_EQ(BitmapFileIsWhole(GetParam().head, GetParam().fileSize), GetParam().whole);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BitmapFileIsWholeTest,
    testing::Values(
        // 64 × 64 × 24 bits: rows of 192 bytes, 12288 bytes of pixels.
        WholeCase{"Complete24Bit", InfoHeader(64, 64, 24), 54 + 12288, true},
        WholeCase{"OneByteShort", InfoHeader(64, 64, 24), 54 + 12287, false},
        WholeCase{"HeadersOnly", InfoHeader(64, 64, 24), 54, false},
        // 3 pixels × 24 bits = 9 bytes, padded to 12 per row.
        WholeCase{"RowPaddingCounts", InfoHeader(3, 2, 24), 54 + 24, true},
        WholeCase{"RowPaddingMissing", InfoHeader(3, 2, 24), 54 + 18, false},
        WholeCase{"TopDownHeight", InfoHeader(4, -4, 32), 54 + 64, true},
        WholeCase{"OneBitRows", InfoHeader(33, 1, 1), 54 + 8, true},
        WholeCase{"CoreHeaderComplete", CoreHeader(2, 2, 24), 26 + 16, true},
        WholeCase{"CoreHeaderShort", CoreHeader(2, 2, 24), 26 + 15, false},
        // Run-length data declares its own size.
        WholeCase{"RleWithinFile", InfoHeader(64, 64, 8, 1, 500), 54 + 500, true},
        WholeCase{"RleBeyondFile", InfoHeader(64, 64, 8, 1, 500), 54 + 499, false},
        WholeCase{"ZeroWidth", InfoHeader(0, 64, 24), 1000, false},
        // Found by fuzzing: 2^30 × 2^30 pixels of 128 bits make exactly 2^64
        // bytes, which wrapped to none and passed a file of headers alone.
        WholeCase{"PixelSizeWrapsPast64Bits", InfoHeader(1 << 30, 1 << 30, 128), 54, false},
        WholeCase{"PixelSizeNear64BitsInAHugeFile", InfoHeader(0x7fffffff, 0x7fffffff, 0xffff), ~uint64_t{0}, false},
        WholeCase{"ZeroBits", InfoHeader(8, 8, 0), 1000, false},
        WholeCase{"UnknownCompression", InfoHeader(8, 8, 24, 99), 100000, false},
        // Sizes that would overflow 32-bit arithmetic.
        WholeCase{"HugeDeclaredSize", InfoHeader(0x7fffffff, 0x7fffffff, 32), 1 << 20, false},
        WholeCase{"CutInsideFileHeader", {'B', 'M', 0x36, 0}, 4, false},
        WholeCase{"InfoHeaderTooSmall", [] { auto b = InfoHeader(8, 8, 24); b[14] = 20; return b; }(), 1000, false},
        WholeCase{"JpegIsForTheLoader", {0xff, 0xd8, 0xff, 0xe0}, 4, true},
        WholeCase{"EmptyIsForTheLoader", {}, 0, true}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune
