#include "common/preview_frames.h"

#include <gtest/gtest.h>

#include "row_name.h"

namespace ventalune {
namespace {

struct ArgumentsRow {
  const char* name;
  const char* text;
  std::optional<PreviewArguments> expected;
};

class ParsePreviewArgumentsTest : public testing::TestWithParam<ArgumentsRow> {};

TEST_P(ParsePreviewArgumentsTest, OnlyTheSwitchAndTwoHandles) {
  const ArgumentsRow& row = GetParam();
  EXPECT_EQ(ParsePreviewArguments(row.text), row.expected);
  if (row.expected) {
    EXPECT_EQ(ParsePreviewArguments(FormatPreviewArguments(*row.expected)), row.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParsePreviewArgumentsTest,
    testing::Values(ArgumentsRow{"WindowAndMapping", "/p 65636 1234", PreviewArguments{65636, 1234}},
                    ArgumentsRow{"SixtyFourBitHandles", "/p 18446744073709551615 4",
                                 PreviewArguments{18446744073709551615ull, 4}},
                    ArgumentsRow{"TooLargeForSixtyFourBits", "/p 18446744073709551616 4", std::nullopt},
                    ArgumentsRow{"NoMapping", "/p 65636", std::nullopt},
                    ArgumentsRow{"NullWindow", "/p 0 4", std::nullopt},
                    ArgumentsRow{"NullMapping", "/p 65636 0", std::nullopt},
                    ArgumentsRow{"Negative", "/p -1 4", std::nullopt},
                    ArgumentsRow{"SomethingAfter", "/p 1 4 x", std::nullopt},
                    ArgumentsRow{"TheSaversOwnSwitch", "/p:65636", std::nullopt},
                    ArgumentsRow{"AnotherSwitch", "/s 1 4", std::nullopt},
                    ArgumentsRow{"Nothing", "", std::nullopt}),
    testing_support::RowName());

struct HeaderRow {
  const char* name;
  void (*change)(PreviewHeader&);
  bool valid;
};

class PreviewHeaderTest : public testing::TestWithParam<HeaderRow> {};

// What the other program left is believed only where it fits its places.
TEST_P(PreviewHeaderTest, BelievedOnlyWhereItFits) {
  PreviewHeader header;
  header.room = {512, 384};
  header.ring = {256, 256};
  GetParam().change(header);
  EXPECT_EQ(PreviewHeaderValid(header), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, PreviewHeaderTest,
    testing::Values(
        HeaderRow{"AsWritten", [](PreviewHeader&) {}, true},
        HeaderRow{"AFrameOfTheLargestSize",
                  [](PreviewHeader& h) {
                    h.frames[1] = {kPreviewFrameSide, kPreviewFrameSide};
                    h.latestFrame = 1;
                  },
                  true},
        HeaderRow{"AnotherMark", [](PreviewHeader& h) { h.magic ^= 1; }, false},
        HeaderRow{"AnotherSize", [](PreviewHeader& h) { h.size = 16; }, false},
        HeaderRow{"RoomTooWide", [](PreviewHeader& h) { h.room.width = kPreviewPictureSide + 1; }, false},
        HeaderRow{"RingEmpty", [](PreviewHeader& h) { h.ring.height = 0; }, false},
        HeaderRow{"NegativeRoom", [](PreviewHeader& h) { h.room = {-4, -4}; }, false},
        HeaderRow{"FrameBeyondItsPlace",
                  [](PreviewHeader& h) {
                    h.frames[0] = {kPreviewFrameSide, kPreviewFrameSide + 1};
                    h.latestFrame = 0;
                  },
                  false},
        HeaderRow{"NoSuchFrame", [](PreviewHeader& h) { h.latestFrame = 2; }, false}),
    testing_support::RowName());

TEST(PreviewFrameSizeTest, TheAreasSizeScaledDownToFitWithItsShape) {
  EXPECT_EQ(PreviewFrameSize(152, 112), (PreviewPicture{152, 112}));
  EXPECT_EQ(PreviewFrameSize(304, 224), (PreviewPicture{304, 224}));
  EXPECT_EQ(PreviewFrameSize(4096, 2048), (PreviewPicture{1024, 512}));
  EXPECT_EQ(PreviewFrameSize(100000, 3), (PreviewPicture{1024, 1}));
  EXPECT_EQ(PreviewFrameSize(0, -5), (PreviewPicture{1, 1}));
  EXPECT_EQ(PreviewFrameSize(1024, 768, kPreviewPictureSide), (PreviewPicture{512, 384}));
}

}  // namespace
}  // namespace ventalune
