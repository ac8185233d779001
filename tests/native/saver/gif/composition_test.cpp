// What a person sees for each frame: the buffers a file gets, transparency,
// the disposal methods, and where the background shows.
#include <gtest/gtest.h>

#include <functional>

#include "gif_builder.h"
#include "row_name.h"
#include "saver/gif/composition_plan.h"
#include "saver/gif/gif_picture.h"

namespace ventalune::gif {
namespace {

using testing::GifBuilder;
using testing::ImageBlock;

// --- which buffers ----------------------------------------------------------------

struct FrameShape {
  int width;
  int height;
  uint8_t disposal;
  bool transparent;
};

struct PlanCase {
  std::string name;
  std::vector<FrameShape> frames;
  bool firstFrameOnly;
  CompositionPlan plan;
};

class PlanTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PlanTest, BuffersFollowDisposalAndTransparency) {
  std::vector<FrameRecord> frames;
  for (const FrameShape& shape : GetParam().frames) {
    FrameRecord frame;
    frame.width = shape.width;
    frame.height = shape.height;
    frame.disposal = static_cast<Disposal>(shape.disposal);
    frame.transparent = shape.transparent;
    frames.push_back(frame);
  }
  const CompositionPlan plan = PlanComposition(frames, 10, 10, GetParam().firstFrameOnly);
  EXPECT_EQ(plan.stripFirstOnly, GetParam().plan.stripFirstOnly);
  EXPECT_EQ(plan.composite, GetParam().plan.composite);
  EXPECT_EQ(plan.mask, GetParam().plan.mask);
}

INSTANTIATE_TEST_SUITE_P(
    Plans, PlanTest,
    ::testing::Values(
        PlanCase{"OneFrame", {{10, 10, 0, true}}, false, {true, false, false}},
        PlanCase{"FirstFrameOnly", {{10, 10, 0, false}, {10, 10, 3, true}}, true, {true, false, false}},
        PlanCase{"OpaqueCoveringNoDisposal", {{10, 10, 0, false}, {4, 4, 1, false}}, false, {false, true, false}},
        PlanCase{"AllRestoreBackground", {{10, 10, 2, true}, {4, 4, 2, false}}, false, {false, false, false}},
        PlanCase{"OneRestoreBackground", {{10, 10, 0, false}, {4, 4, 2, false}}, false, {false, true, true}},
        PlanCase{"OneRestorePrevious", {{10, 10, 0, false}, {4, 4, 3, false}}, false, {false, true, true}},
        PlanCase{"TransparentFirstFrame", {{10, 10, 0, true}, {4, 4, 0, false}}, false, {false, true, true}},
        PlanCase{"LaterTransparentFirstSmaller", {{10, 9, 0, false}, {4, 4, 0, true}}, false, {false, true, true}},
        PlanCase{"LaterTransparentFirstCovers", {{10, 10, 0, false}, {4, 4, 0, true}}, false, {false, true, false}},
        PlanCase{"OpaqueFirstSmallerNoTransparency", {{5, 5, 0, false}, {10, 10, 0, false}}, false, {false, true, false}}),
    testing_support::RowName());

// --- pixels -------------------------------------------------------------------------

// Global table entry i is (i, 2i, 3i); a drawn pixel is written as its index
// digit, a pixel where the background shows as '.'.
std::string Render(const Surface& surface) {
  std::string text;
  for (int32_t y = 0; y < surface.height; ++y) {
    if (y > 0) text += '|';
    for (int32_t x = 0; x < surface.width; ++x) {
      const size_t at = surface.At(x, y);
      const Colour colour = surface.colour[at];
      if (surface.background[at]) {
        text += colour == 0 ? '.' : '!';  // the background never carries a colour
      } else {
        text += static_cast<char>('0' + RedOf(colour));
        if (colour != MakeColour(RedOf(colour), static_cast<uint8_t>(2 * RedOf(colour)), static_cast<uint8_t>(3 * RedOf(colour)))) text += '?';
      }
    }
  }
  return text;
}

// Frames are drawn in order onto a fresh target each, as the control repaints.
std::vector<std::string> Play(const std::vector<uint8_t>& file, int draws = -1) {
  GifPicture picture;
  if (picture.Load(file) == 0) return {"not loaded"};
  std::vector<std::string> shown;
  const int count = draws < 0 ? picture.frameCount() : draws;
  for (int i = 0; i < count; ++i) {
    Surface target;
    target.Reset(picture.logicalWidth(), picture.logicalHeight());
    picture.DrawFrame(static_cast<size_t>(i % picture.frameCount()), target);
    shown.push_back(Render(target));
  }
  return shown;
}

ImageBlock At(int left, int width, int top = 0, int height = 1) { return ImageBlock{left, top, width, height, -1, false, 4}; }

struct ComposeCase {
  std::string name;
  std::function<std::vector<uint8_t>()> file;
  std::vector<std::string> shown;
};

class ComposeTest : public ::testing::TestWithParam<ComposeCase> {};

TEST_P(ComposeTest, EachFrameAsShown) { EXPECT_EQ(Play(GetParam().file()), GetParam().shown); }

// A 4 × 1 canvas (global table of 16 entries), frame 1 opaque all over.
GifBuilder Base() {
  GifBuilder gif("GIF89a", 4, 1, 3);
  return gif;
}

INSTANTIATE_TEST_SUITE_P(
    Compositions, ComposeTest,
    ::testing::Values(
        ComposeCase{"NoDisposalAccumulates",
                    [] { return Base().Image(At(0, 4), {1, 1, 1, 1}).Image(At(1, 2), {2, 2}).Image(At(3, 1), {3}).Trailer().bytes(); },
                    {"1111", "1221", "1223"}},
        ComposeCase{"RestoreBackgroundLeavesTransparent",
                    [] {
                      return Base().Image(At(0, 4), {1, 1, 1, 1}).Control(2).Image(At(1, 2), {2, 2}).Image(At(3, 1), {3}).Trailer().bytes();
                    },
                    {"1111", "1221", "1..3"}},
        ComposeCase{"RestorePreviousBringsBackWhatWasUnder",
                    [] {
                      return Base().Image(At(0, 4), {1, 1, 1, 1}).Control(3).Image(At(1, 2), {2, 2}).Image(At(3, 1), {3}).Trailer().bytes();
                    },
                    {"1111", "1221", "1113"}},
        ComposeCase{"RestorePreviousOnFirstFrameActsAsNone",
                    [] { return Base().Control(3).Image(At(0, 2), {1, 1}).Image(At(2, 1), {2}).Trailer().bytes(); },
                    {"110", "112"}},
        ComposeCase{"TransparentPixelsKeepWhatIsUnder",
                    [] { return Base().Image(At(0, 4), {1, 1, 1, 1}).Control(0, 0, true, 0).Image(At(0, 4), {0, 2, 0, 2}).Trailer().bytes(); },
                    {"1111", "1212"}},
        ComposeCase{"TransparentFirstFrameShowsBackground",
                    [] { return Base().Control(0, 0, true, 5).Image(At(0, 4), {5, 1, 5, 1}).Image(At(0, 1), {2}).Trailer().bytes(); },
                    {".1.1", "21.1"}},
        ComposeCase{"TransparentRestoreBackgroundClearsItsWholeArea",
                    [] {
                      return Base().Image(At(0, 4), {1, 1, 1, 1}).Control(2, 0, true, 0).Image(At(0, 3), {0, 2, 0}).Image(At(3, 1), {3}).Trailer().bytes();
                    },
                    {"1111", "1211", "...3"}},
        // A 4-entry table: index 9 has no colour of its own and draws black.
        ComposeCase{"IndexBeyondTheTableIsBlack",
                    [] {
                      GifBuilder gif("GIF89a", 2, 1, 1);
                      return gif.Image(At(0, 2), {9, 3}).Trailer().bytes();
                    },
                    {"03"}},
        ComposeCase{"TransparentIndexBeyondTheTable",
                    [] {
                      GifBuilder gif("GIF89a", 2, 1, 1);
                      return gif.Control(0, 0, true, 9).Image(At(0, 2), {9, 3}).Trailer().bytes();
                    },
                    {".3"}},
        // No mask: where no frame has been the canvas is opaque black.
        ComposeCase{"UncoveredCanvasWithoutMaskIsBlack",
                    [] { return Base().Image(At(0, 2), {1, 1}).Image(At(2, 2), {2, 2}).Trailer().bytes(); },
                    {"1100", "1122"}},
        // Every frame clears its area afterwards: no composite, each frame alone.
        ComposeCase{"AllRestoreBackgroundDrawsEachFrameAlone",
                    [] { return Base().Control(2).Image(At(0, 2), {1, 1}).Control(2).Image(At(2, 2), {2, 2}).Trailer().bytes(); },
                    {"11..", "..22"}},
        ComposeCase{"SingleFrameAtAnOffset", [] { return Base().Image(At(2, 2), {1, 1}).Trailer().bytes(); }, {"..11"}},
        // The header says 4 × 1; the second frame lies beyond it, so the canvas grows.
        ComposeCase{"FrameBeyondTheHeaderScreen",
                    [] { return Base().Image(At(0, 4), {1, 1, 1, 1}).Control(2).Image(At(5, 1, 1, 1), {2}).Trailer().bytes(); },
                    {"1111..|......", "1111..|.....2"}},
        ComposeCase{"ZeroSizedFrameDrawsNothing",
                    [] { return Base().Image(At(0, 4), {1, 1, 1, 1}).Image(At(1, 0), {}).Image(At(1, 1), {2}).Trailer().bytes(); },
                    {"1111", "1111", "1211"}}),
    testing_support::RowName());

TEST(ComposeTest, FrameOneStartsOverFromAnEmptyCanvas) {
  const auto file = Base().Control(0, 0, true, 0).Image(At(0, 2), {1, 1}).Image(At(2, 2), {2, 2}).Trailer().bytes();
  EXPECT_EQ(Play(file, 4), (std::vector<std::string>{"11..", "1122", "11..", "1122"}));
}

}  // namespace
}  // namespace ventalune::gif
