#include "saver/gif/lzw_decoder.h"

#include <gtest/gtest.h>

#include <functional>

#include "gif_builder.h"
#include "row_name.h"

namespace ventalune::gif {
namespace {

using testing::DecoderPacedCodes;

struct LzwCase {
  std::string name;
  int minCodeSize;
  std::function<std::vector<uint8_t>()> codes;
  size_t outputSize;
  std::vector<uint8_t> pixels;  // what must come out, the rest of the output untouched
  LzwStatus status;
};

class LzwDecodeTest : public ::testing::TestWithParam<LzwCase> {};

TEST_P(LzwDecodeTest, PixelsAndHowTheStreamEnded) {
  const LzwCase& row = GetParam();
  const std::vector<uint8_t> codes = row.codes();
  std::vector<uint8_t> out(row.outputSize, 0xEE);
  const LzwResult result = DecodeLzw(codes, row.minCodeSize, out);
  EXPECT_EQ(result.status, row.status);
  ASSERT_EQ(result.pixels, row.pixels.size());
  EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(result.pixels)), row.pixels);
  for (size_t i = result.pixels; i < out.size(); ++i) ASSERT_EQ(out[i], 0xEE) << "written beyond the decoded pixels at " << i;
}

// With minimum code size 2: clear 4, end 5, first free code 6, 3-bit codes.
std::vector<uint8_t> Codes2(std::initializer_list<uint32_t> codes) {
  DecoderPacedCodes stream(2);
  for (uint32_t code : codes) stream.Put(code);
  return stream.Bytes();
}

// Clear, then literal 0 until the table is full (4096 entries, each "00"),
// then codes that may only use the table as it is.
std::vector<uint8_t> FullTableWithoutClear() {
  DecoderPacedCodes stream(2);
  stream.Clear();
  for (int i = 0; i < 4091; ++i) stream.Put(0);
  EXPECT_EQ(stream.nextFree(), 4096u);
  stream.Put(4095).Put(1).End();
  return stream.Bytes();
}

std::vector<uint8_t> Zeros(size_t count, std::vector<uint8_t> tail) {
  std::vector<uint8_t> pixels(count, 0);
  pixels.insert(pixels.end(), tail.begin(), tail.end());
  return pixels;
}

INSTANTIATE_TEST_SUITE_P(
    Streams, LzwDecodeTest,
    ::testing::Values(
        LzwCase{"Literals", 2, [] { return Codes2({4, 1, 2, 3, 5}); }, 8, {1, 2, 3}, LzwStatus::kComplete},
        LzwCase{"TableEntryRepeatsAPair", 2, [] { return Codes2({4, 1, 2, 6, 5}); }, 8, {1, 2, 1, 2}, LzwStatus::kComplete},
        // Code 6 is the entry being made: the previous string plus its own first byte.
        LzwCase{"CodeEqualToNextFreeAfterAString", 2, [] { return Codes2({4, 1, 6, 5}); }, 8, {1, 1, 1}, LzwStatus::kComplete},
        LzwCase{"StreamWithoutLeadingClear", 2, [] { return Codes2({3, 3, 5}); }, 8, {3, 3}, LzwStatus::kComplete},
        // After the second clear, code 6 no longer means "1 2": it is "3 3".
        LzwCase{"ClearMidStreamRestartsTable", 2, [] { return Codes2({4, 1, 2, 4, 3, 6, 5}); }, 8, {1, 2, 3, 3, 3}, LzwStatus::kComplete},
        // Code 7 names an entry that does not exist yet (next free is 6).
        LzwCase{"CodeAboveNextFree", 2, [] { return Codes2({4, 1, 7, 2, 5}); }, 8, {1}, LzwStatus::kCorrupt},
        // Right after a clear there is no previous string for code 6 to extend.
        LzwCase{"CodeEqualToNextFreeRightAfterClear", 2, [] { return Codes2({4, 6, 1, 5}); }, 8, {}, LzwStatus::kCorrupt},
        // 3 + 3 × 3 + 3 × 4 bits: the codes fill three bytes exactly, so no
        // padding bits can pass for more codes.
        LzwCase{"NoEndCode", 2, [] { return Codes2({4, 1, 2, 3, 1, 2, 3}); }, 8, {1, 2, 3, 1, 2, 3}, LzwStatus::kDataEnded},
        LzwCase{"NoDataAtAll", 2, [] { return std::vector<uint8_t>{}; }, 8, {}, LzwStatus::kDataEnded},
        // Only a clear code's first bits: the stream stops mid-code.
        LzwCase{"CutMidCode", 8, [] { return std::vector<uint8_t>{0x00}; }, 8, {}, LzwStatus::kDataEnded},
        LzwCase{"MoreDataThanThePicture", 2, [] { return Codes2({4, 1, 2, 3, 0, 1, 5}); }, 2, {1, 2}, LzwStatus::kComplete},
        LzwCase{"StringLongerThanTheRoomLeft", 2, [] { return Codes2({4, 1, 6, 5}); }, 2, {1, 1}, LzwStatus::kComplete},
        LzwCase{"EmptyPictureReadsNothing", 2, [] { return Codes2({4, 6}); }, 0, {}, LzwStatus::kComplete},
        LzwCase{"FullTableKeepsBeingUsed", 2, FullTableWithoutClear, 5000, Zeros(4091 + 2, {1}), LzwStatus::kComplete},
        // Clear 2, end 3, first free 4: the width is 3 bits from the second code on.
        LzwCase{"MinimumCodeSize1", 1,
                [] {
                  testing::CodeStream s;
                  s.Put(2, 2).Put(1, 2).Put(0, 3).Put(4, 3).Put(3, 3);
                  return s.Bytes();
                },
                8, {1, 0, 1, 0}, LzwStatus::kComplete},
        LzwCase{"MinimumCodeSize8", 8,
                [] {
                  DecoderPacedCodes s(8);
                  s.Clear().Put(255).Put(0).Put(258).End();
                  return s.Bytes();
                },
                8, {255, 0, 255, 0}, LzwStatus::kComplete},
        LzwCase{"MinimumCodeSize0Refused", 0, [] { return Codes2({4, 1, 5}); }, 8, {}, LzwStatus::kBadCodeSize},
        LzwCase{"MinimumCodeSize9Refused", 9, [] { return Codes2({4, 1, 5}); }, 8, {}, LzwStatus::kBadCodeSize},
        LzwCase{"MinimumCodeSize12Refused", 12, [] { return Codes2({4, 1, 5}); }, 8, {}, LzwStatus::kBadCodeSize}),
    testing_support::RowName());

// Codes grow from 3 to 12 bits and a clear starts over: a long literal stream
// comes back exactly.
TEST(LzwDecodeTest, WidthGrowthAndClearsOverALongStream) {
  const std::vector<uint8_t> pixels = testing::Ramp(9000, 1, 4);
  const std::vector<uint8_t> codes = testing::LiteralCodes(pixels, 2);
  std::vector<uint8_t> out(pixels.size());
  const LzwResult result = DecodeLzw(codes, 2, out);
  EXPECT_EQ(result.status, LzwStatus::kComplete);
  EXPECT_EQ(result.pixels, pixels.size());
  EXPECT_EQ(out, pixels);
}

// Random codes must never take the decoder outside its buffers (the
// sanitizers watch); whatever comes out is within the output.
TEST(LzwDecodeTest, RandomCodesStayInsideTheBuffers) {
  uint32_t state = 12345;
  for (int round = 0; round < 2000; ++round) {
    std::vector<uint8_t> codes(static_cast<size_t>(round % 300));
    for (uint8_t& byte : codes) {
      state = state * 1664525u + 1013904223u;
      byte = static_cast<uint8_t>(state >> 24);
    }
    std::vector<uint8_t> out(static_cast<size_t>(round % 97));
    const LzwResult result = DecodeLzw(codes, 1 + round % 8, out);
    ASSERT_LE(result.pixels, out.size());
  }
}

}  // namespace
}  // namespace ventalune::gif
