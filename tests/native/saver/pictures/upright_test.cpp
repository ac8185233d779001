#include "saver/pictures/upright.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "row_name.h"
#include "saver/pictures/picture_reduction.h"

namespace ventalune::pictures {
namespace {

using Bytes = std::vector<uint8_t>;

// Each pixel's four bytes differ from every other pixel's and from each
// other, so a pixel moved whole to the wrong place, or torn, shows.
Bytes Pixels(const std::vector<int>& ids) {
  Bytes out;
  for (const int id : ids) {
    const auto low = static_cast<uint8_t>(id), high = static_cast<uint8_t>(id >> 8);
    out.insert(out.end(), {low, high, static_cast<uint8_t>(0x40 + low), static_cast<uint8_t>(0x80 + high)});
  }
  return out;
}

std::vector<int> Numbered(int count) {
  std::vector<int> ids(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) ids[static_cast<size_t>(i)] = i;
  return ids;
}

struct TurnRow {
  const char* name;
  Orientation orientation;
  int32_t width, height;
  std::vector<int> ids;  // the upright picture's pixels, top row first
};

class UprightTurnTest : public testing::TestWithParam<TurnRow> {};

// Stored:  0 1 2
//          3 4 5
TEST_P(UprightTurnTest, EveryPixelLandsWhereAViewerShowsIt) {
  const TurnRow& row = GetParam();
  const auto upright = TurnUpright(3, 2, Pixels(Numbered(6)), row.orientation);
  ASSERT_TRUE(upright.has_value());
  EXPECT_EQ(upright->width, row.width);
  EXPECT_EQ(upright->height, row.height);
  EXPECT_EQ(upright->pixels, Pixels(row.ids));
  EXPECT_EQ(UprightPictureSize(3, 2, row.orientation), (UprightSize{row.width, row.height}));
}

INSTANTIATE_TEST_SUITE_P(
    Orientations, UprightTurnTest,
    testing::Values(
        TurnRow{"AsStored", Orientation::kAsStored, 3, 2, {0, 1, 2, 3, 4, 5}},
        TurnRow{"MirrorLeftRight", Orientation::kMirrorLeftRight, 3, 2, {2, 1, 0, 5, 4, 3}},
        TurnRow{"HalfTurn", Orientation::kHalfTurn, 3, 2, {5, 4, 3, 2, 1, 0}},
        TurnRow{"MirrorTopBottom", Orientation::kMirrorTopBottom, 3, 2, {3, 4, 5, 0, 1, 2}},
        TurnRow{"Transpose", Orientation::kTranspose, 2, 3, {0, 3, 1, 4, 2, 5}},
        TurnRow{"QuarterTurnClockwise", Orientation::kQuarterTurnClockwise, 2, 3, {3, 0, 4, 1, 5, 2}},
        TurnRow{"Transverse", Orientation::kTransverse, 2, 3, {5, 2, 4, 1, 3, 0}},
        TurnRow{"QuarterTurnCounterClockwise", Orientation::kQuarterTurnCounterClockwise, 2, 3, {2, 5, 1, 4, 0, 3}},
        // Values the reader never gives are as stored, as it reads them.
        TurnRow{"ValueZeroAsStored", static_cast<Orientation>(0), 3, 2, {0, 1, 2, 3, 4, 5}},
        TurnRow{"ValueNineAsStored", static_cast<Orientation>(9), 3, 2, {0, 1, 2, 3, 4, 5}}),
    testing_support::RowName());

struct PairRow {
  const char* name;
  Orientation first, second, same;
};

class UprightPairTest : public testing::TestWithParam<PairRow> {};

// On a picture of several tiles, with partial ones at the right and bottom
// edges, two quarter turns that undo each other, or make a half turn (done
// in place), give what one turn gives: a pixel lost or misplaced at a tile
// edge shows.
TEST_P(UprightPairTest, TwoTurnsMatchOne) {
  const PairRow& row = GetParam();
  const int32_t width = 150, height = 67;
  const Bytes stored = Pixels(Numbered(width * height));
  const auto once = TurnUpright(width, height, stored, row.first);
  ASSERT_TRUE(once.has_value());
  const auto twice = TurnUpright(once->width, once->height, once->pixels, row.second);
  const auto direct = TurnUpright(width, height, stored, row.same);
  ASSERT_TRUE(twice.has_value() && direct.has_value());
  EXPECT_EQ(twice->width, direct->width);
  EXPECT_EQ(twice->height, direct->height);
  EXPECT_TRUE(twice->pixels == direct->pixels);
}

INSTANTIATE_TEST_SUITE_P(Pairs, UprightPairTest,
                         testing::Values(PairRow{"ClockwiseTwiceIsHalfTurn", Orientation::kQuarterTurnClockwise,
                                                 Orientation::kQuarterTurnClockwise, Orientation::kHalfTurn},
                                         PairRow{"CounterThenClockwiseIsAsStored",
                                                 Orientation::kQuarterTurnCounterClockwise,
                                                 Orientation::kQuarterTurnClockwise, Orientation::kAsStored},
                                         PairRow{"TransposeTwiceIsAsStored", Orientation::kTranspose,
                                                 Orientation::kTranspose, Orientation::kAsStored},
                                         PairRow{"TransverseTwiceIsAsStored", Orientation::kTransverse,
                                                 Orientation::kTransverse, Orientation::kAsStored}),
                         testing_support::RowName());

TEST(UprightTurnTest, RefusesPicturesThatDoNotAddUp) {
  struct Case {
    const char* name;
    int32_t width, height;
    size_t bytes;
  };
  for (const Case& c :
       {Case{"ZeroWidth", 0, 2, 0}, Case{"NegativeHeight", 3, -2, 24}, Case{"PixelsOneByteShort", 3, 2, 23},
        Case{"PixelsOneByteOver", 3, 2, 25}, Case{"LargestSidesNoPixels", INT32_MAX, INT32_MAX, 0}}) {
    EXPECT_FALSE(TurnUpright(c.width, c.height, Bytes(c.bytes), Orientation::kQuarterTurnClockwise)) << c.name;
  }
}

struct SizeRow {
  const char* name;
  int32_t width, height;
  Orientation orientation;
  ReducedSize kept;  // the upright picture at the size the walls keep it
};

class UprightSizeTest : public testing::TestWithParam<SizeRow> {};

// The size rule applied to the upright size gives the turned picture's
// proportions, so a portrait photo is reduced to stand 2048 high.
TEST_P(UprightSizeTest, TheSizeRuleSeesTheUprightPicture) {
  const SizeRow& row = GetParam();
  const UprightSize upright = UprightPictureSize(row.width, row.height, row.orientation);
  EXPECT_EQ(ReducedPictureSize(upright.width, upright.height), row.kept);
}

INSTANTIATE_TEST_SUITE_P(
    Photos, UprightSizeTest,
    testing::Values(SizeRow{"LandscapeAsStored", 6000, 4000, Orientation::kAsStored, {2048, 1365}},
                    SizeRow{"PortraitTurnedClockwise", 6000, 4000, Orientation::kQuarterTurnClockwise, {1365, 2048}},
                    SizeRow{"PhonePortraitKept", 4032, 3024, Orientation::kQuarterTurnClockwise, {3024, 4032}},
                    SizeRow{"UnknownValueAsStored", 6000, 4000, static_cast<Orientation>(9), {2048, 1365}}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::pictures
