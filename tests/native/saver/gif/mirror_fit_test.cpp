// Mirroring frames in place and fitting the picture to the control.
#include <gtest/gtest.h>

#include "gif_builder.h"
#include "row_name.h"
#include "saver/gif/fit.h"
#include "saver/gif/gif_picture.h"
#include "saver/gif/mirror.h"

namespace ventalune::gif {
namespace {

using testing::GifBuilder;
using testing::ImageBlock;

// --- where a mirrored frame goes -------------------------------------------------------

struct PlaceCase {
  std::string name;
  int32_t change;
  int32_t left, top, width, height;
  int32_t logicalWidth, logicalHeight;
  int32_t newLeft, newTop;
};

class MirrorPlaceTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(MirrorPlaceTest, FrameMovesToTheMirroredPlace) {
  const PlaceCase& row = GetParam();
  FrameRecord frame;
  frame.left = row.left;
  frame.top = row.top;
  frame.width = row.width;
  frame.height = row.height;
  FrameStrip strip;  // no pixels: only the place changes
  MirrorFrame(strip, frame, row.change, row.logicalWidth, row.logicalHeight);
  EXPECT_EQ(frame.left, row.newLeft);
  EXPECT_EQ(frame.top, row.newTop);
}

INSTANTIATE_TEST_SUITE_P(Places, MirrorPlaceTest,
                         ::testing::Values(PlaceCase{"HorizontalLeft10Width20Of100", 1, 10, 5, 20, 7, 100, 50, 70, 5},
                                           PlaceCase{"VerticalTop5Height7Of50", 2, 10, 5, 20, 7, 100, 50, 10, 38},
                                           PlaceCase{"BothWays", 3, 10, 5, 20, 7, 100, 50, 70, 38},
                                           PlaceCase{"NoChange", 0, 10, 5, 20, 7, 100, 50, 10, 5},
                                           PlaceCase{"FullWidthStaysAtZero", 1, 0, 0, 100, 50, 100, 50, 0, 0}),
                         testing_support::RowName());

// --- mirrored pixels ------------------------------------------------------------------

// Frame 1 is 3 × 2 with pixels 1 2 3 / 4 5 6; frame 2 is 1 × 1 at (2, 1).
std::vector<uint8_t> TwoFrames() {
  GifBuilder gif("GIF89a", 3, 2, 3);
  gif.Image(ImageBlock{0, 0, 3, 2, -1, false, 4}, {1, 2, 3, 4, 5, 6}).Image(ImageBlock{2, 1, 1, 1, -1, false, 4}, {7});
  return gif.Trailer().bytes();
}

std::vector<uint8_t> FrameOne(const GifPicture& picture) {
  std::vector<uint8_t> pixels;
  for (int32_t y = 0; y < 2; ++y) pixels.insert(pixels.end(), picture.strip().Row(y), picture.strip().Row(y) + 3);
  return pixels;
}

struct StyleCase {
  std::string name;
  int32_t style;
  std::vector<uint8_t> frameOne;
  int32_t secondLeft, secondTop;
};

class MirrorStyleTest : public ::testing::TestWithParam<StyleCase> {};

TEST_P(MirrorStyleTest, SetAfterLoading) {
  GifPicture picture;
  ASSERT_EQ(picture.Load(TwoFrames()), 2);
  picture.SetMirror(GetParam().style, false, true);
  EXPECT_EQ(FrameOne(picture), GetParam().frameOne);
  EXPECT_EQ(picture.frames()[1].left, GetParam().secondLeft);
  EXPECT_EQ(picture.frames()[1].top, GetParam().secondTop);
  EXPECT_EQ(picture.mirrorStyle(), GetParam().style);
}

TEST_P(MirrorStyleTest, StoredStyleAppliesToTheNextLoad) {
  GifPicture picture;
  picture.SetMirror(GetParam().style, false, false);
  ASSERT_EQ(picture.Load(TwoFrames()), 2);
  EXPECT_EQ(FrameOne(picture), GetParam().frameOne);
  EXPECT_EQ(picture.frames()[1].left, GetParam().secondLeft);
}

TEST_P(MirrorStyleTest, DeferredFramesTakeTheStyleWhenBuilt) {
  GifPicture picture;
  picture.SetMirror(GetParam().style, false, false);
  LoadOptions deferred;
  deferred.deferRemainingFrames = true;
  ASSERT_EQ(picture.Load(TwoFrames(), deferred), 2);
  EXPECT_EQ(FrameOne(picture), GetParam().frameOne) << "frame 1 is shown at once, already mirrored";
  EXPECT_EQ(picture.mirrorStyle(), GetParam().style | kMirrorRestPending);
  EXPECT_EQ(picture.frames()[1].left, 2) << "not moved before it is built";
  ASSERT_TRUE(picture.BuildRemainingFrames());
  EXPECT_EQ(picture.mirrorStyle(), GetParam().style);
  EXPECT_EQ(FrameOne(picture), GetParam().frameOne) << "frame 1 is not mirrored twice";
  EXPECT_EQ(picture.frames()[1].left, GetParam().secondLeft);
  EXPECT_EQ(picture.frames()[1].top, GetParam().secondTop);
}

INSTANTIATE_TEST_SUITE_P(Styles, MirrorStyleTest,
                         ::testing::Values(StyleCase{"None", 0, {1, 2, 3, 4, 5, 6}, 2, 1},
                                           StyleCase{"Horizontal", 1, {3, 2, 1, 6, 5, 4}, 0, 1},
                                           StyleCase{"Vertical", 2, {4, 5, 6, 1, 2, 3}, 2, 0},
                                           StyleCase{"Both", 3, {6, 5, 4, 3, 2, 1}, 0, 0}),
                         testing_support::RowName());

TEST(MirrorTest, ChangingTheStyleFlipsByTheDifference) {
  GifPicture picture;
  ASSERT_EQ(picture.Load(TwoFrames()), 2);
  picture.SetMirror(1, false, true);
  picture.SetMirror(3, false, true);
  EXPECT_EQ(FrameOne(picture), (std::vector<uint8_t>{6, 5, 4, 3, 2, 1}));
  picture.SetMirror(0, false, true);
  EXPECT_EQ(FrameOne(picture), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(picture.frames()[1].left, 2);
}

TEST(MirrorTest, FirstOnlyLeavesTheOtherFrames) {
  GifPicture picture;
  ASSERT_EQ(picture.Load(TwoFrames()), 2);
  picture.SetMirror(1, true, false);
  EXPECT_EQ(FrameOne(picture), (std::vector<uint8_t>{3, 2, 1, 6, 5, 4}));
  EXPECT_EQ(picture.frames()[1].left, 2);
}

// Changing the style while the rest is still to be built must not flip
// frames that hold no pixels yet, nor leave frame 1 in the old style.
TEST(MirrorTest, ChangeWhileTheRestIsPending) {
  GifPicture picture;
  picture.SetMirror(1, false, false);
  LoadOptions deferred;
  deferred.deferRemainingFrames = true;
  ASSERT_EQ(picture.Load(TwoFrames(), deferred), 2);
  picture.SetMirror(2, false, true);
  EXPECT_EQ(FrameOne(picture), (std::vector<uint8_t>{4, 5, 6, 1, 2, 3}));
  ASSERT_TRUE(picture.BuildRemainingFrames());
  EXPECT_EQ(FrameOne(picture), (std::vector<uint8_t>{4, 5, 6, 1, 2, 3}));
  EXPECT_EQ(picture.frames()[1].left, 2);
  EXPECT_EQ(picture.frames()[1].top, 0);
}

// A new load while frames were pending mirrors its own frame 1 again.
TEST(MirrorTest, LoadAfterAPendingLoadMirrorsFrameOne) {
  GifPicture picture;
  picture.SetMirror(1, false, false);
  LoadOptions deferred;
  deferred.deferRemainingFrames = true;
  ASSERT_EQ(picture.Load(TwoFrames(), deferred), 2);
  ASSERT_EQ(picture.Load(TwoFrames(), deferred), 2);
  EXPECT_EQ(FrameOne(picture), (std::vector<uint8_t>{3, 2, 1, 6, 5, 4}));
}

TEST(MirrorTest, CompositeFlipsWithTheFrames) {
  // Frame 1 (2 × 1 at 0) stays in the composite while frame 2 is drawn at x 2.
  GifBuilder gif("GIF89a", 3, 1, 3);
  gif.Control(0, 0, true, 0).Image(ImageBlock{0, 0, 2, 1, -1, false, 4}, {1, 2}).Image(ImageBlock{2, 0, 1, 1, -1, false, 4}, {3});
  GifPicture picture;
  ASSERT_EQ(picture.Load(gif.Trailer().bytes()), 2);
  Surface target;
  target.Reset(3, 1);
  picture.DrawFrame(0, target);
  picture.SetMirror(1, false, true);
  target.Reset(3, 1);
  picture.DrawFrame(1, target);
  EXPECT_EQ(target.colour, (std::vector<Colour>{MakeColour(3, 6, 9), MakeColour(2, 4, 6), MakeColour(1, 2, 3)}));
}

// --- fit -------------------------------------------------------------------------------

struct FitCase {
  std::string name;
  int32_t mode, availableWidth, availableHeight, logicalWidth, logicalHeight;
  int32_t width, height;
  float scaleX, scaleY;
};

class FitTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitTest, SizeAndScale) {
  const FitCase& row = GetParam();
  const auto fit = Fit(row.mode, row.availableWidth, row.availableHeight, row.logicalWidth, row.logicalHeight);
  ASSERT_TRUE(fit.has_value());
  EXPECT_EQ(fit->width, row.width);
  EXPECT_EQ(fit->height, row.height);
  EXPECT_FLOAT_EQ(fit->scaleX, row.scaleX);
  EXPECT_FLOAT_EQ(fit->scaleY, row.scaleY);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FitTest,
    ::testing::Values(FitCase{"NaturalClipped", 0, 50, 80, 100, 60, 50, 60, 1, 1},
                      FitCase{"NaturalAdopted", 4, 50, 80, 100, 60, 100, 60, 1, 1},
                      FitCase{"Fill", 2, 200, 30, 100, 60, 200, 30, 2, 0.5f},
                      FitCase{"ProportionalEnlarges", 1, 300, 300, 100, 50, 300, 150, 3, 3},
                      FitCase{"ProportionalShrinks", 1, 50, 100, 100, 50, 50, 25, 0.5f, 0.5f},
                      FitCase{"NoEnlargeKeepsNaturalSize", 3, 300, 300, 100, 50, 100, 50, 1, 1},
                      FitCase{"NoEnlargeStillShrinks", 3, 50, 100, 100, 50, 50, 25, 0.5f, 0.5f},
                      FitCase{"NoEnlargeOneSideExact", 3, 100, 300, 100, 50, 100, 50, 1, 1},
                      // 0.625 × 4 = 2.5 rounds to the even 2; 0.625 × 12 = 7.5 to 8.
                      FitCase{"HalfRoundsDownToEven", 1, 5, 100, 8, 4, 5, 2, 0.625f, 0.625f},
                      FitCase{"HalfRoundsUpToEven", 1, 5, 100, 8, 12, 5, 8, 0.625f, 0.625f}),
    testing_support::RowName());

TEST(FitTest, NothingWithoutAPictureOrForAnUnknownMode) {
  EXPECT_FALSE(Fit(1, 100, 100, 0, 0).has_value());
  EXPECT_FALSE(Fit(5, 100, 100, 10, 10).has_value());
  EXPECT_FALSE(Fit(-1, 100, 100, 10, 10).has_value());
}

TEST(FitTest, ScaledFrameRoundsEachEdgeHalfToEven) {
  FrameRecord frame;
  frame.left = 3;
  frame.top = 5;
  frame.width = 3;
  frame.height = 1;
  const Rect rect = ScaledFrameRect(frame, 0.5f, 0.5f);
  EXPECT_EQ(rect.x, 2);       // 1.5
  EXPECT_EQ(rect.y, 2);       // 2.5
  EXPECT_EQ(rect.width, 2);   // 1.5
  EXPECT_EQ(rect.height, 0);  // 0.5
  const Rect canvas = ScaledCanvasRect(7, 5, 0.5f, 1.5f);
  EXPECT_EQ(canvas.width, 4);   // 3.5
  EXPECT_EQ(canvas.height, 8);  // 7.5
}

}  // namespace
}  // namespace ventalune::gif
