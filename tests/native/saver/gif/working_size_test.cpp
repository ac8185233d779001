// Canvases composed at a working size a whole factor smaller: what the
// control does with pictures too large to change frames in time. Every
// working pixel must show exactly what the full-size picture shows at its
// sample point, through offsets, transparency and every disposal.
#include <gtest/gtest.h>

#include <functional>

#include "gif_builder.h"
#include "row_name.h"
#include "saver/gif/frame_decoder.h"
#include "saver/gif/gif_picture.h"

namespace ventalune::gif {
namespace {

using testing::GifBuilder;
using testing::ImageBlock;
using testing::Ramp;

ImageBlock Block(int left, int top, int width, int height) {
  return ImageBlock{left, top, width, height, -1, false, 4};
}

// Each frame onto a fresh target of the picture's working size, as the control shows it.
std::vector<Surface> Frames(const std::vector<uint8_t>& file, int64_t maxWorkingPixels) {
  LoadOptions options;
  options.maxWorkingPixels = maxWorkingPixels;
  GifPicture picture;
  std::vector<Surface> frames;
  if (picture.Load(file, options) == 0) return frames;
  for (size_t i = 0; i < picture.builtFrames(); ++i) {
    Surface target;
    target.Reset(picture.workingWidth(), picture.workingHeight());
    picture.DrawFrame(i, target);
    frames.push_back(std::move(target));
  }
  return frames;
}

struct SampleCase {
  std::string name;
  std::function<std::vector<uint8_t>()> file;
  int64_t maxWorkingPixels;
  int32_t reduction;
};

class WorkingSizeTest : public ::testing::TestWithParam<SampleCase> {};

TEST_P(WorkingSizeTest, EachWorkingPixelShowsItsSamplePoint) {
  const SampleCase& row = GetParam();
  const std::vector<uint8_t> file = row.file();
  const std::vector<Surface> full = Frames(file, 0);
  const std::vector<Surface> reduced = Frames(file, row.maxWorkingPixels);
  ASSERT_FALSE(full.empty());
  ASSERT_EQ(reduced.size(), full.size());
  const int32_t k = row.reduction;
  for (size_t f = 0; f < full.size(); ++f) {
    ASSERT_EQ(reduced[f].width, (full[f].width + k - 1) / k) << "frame " << f;
    ASSERT_EQ(reduced[f].height, (full[f].height + k - 1) / k) << "frame " << f;
    for (int32_t y = 0; y < reduced[f].height; ++y)
      for (int32_t x = 0; x < reduced[f].width; ++x) {
        const size_t at = reduced[f].At(x, y), sample = full[f].At(x * k, y * k);
        ASSERT_EQ(reduced[f].background[at], full[f].background[sample]) << "frame " << f << " at " << x << "," << y;
        ASSERT_EQ(reduced[f].colour[at], full[f].colour[sample]) << "frame " << f << " at " << x << "," << y;
      }
  }
}

// A 10 × 7 canvas: frame 1 smaller than the canvas, then frames at odd
// offsets with a transparent index and each disposal, one interlaced.
std::vector<uint8_t> Disposals() {
  GifBuilder gif("GIF89a", 10, 7, 3);
  gif.Control(1).Image(Block(0, 0, 9, 7), Ramp(9, 7, 16));
  gif.Control(2, 0, true, 5).Image(Block(3, 1, 5, 4), Ramp(5, 4, 7));
  ImageBlock interlaced = Block(1, 2, 7, 5);
  interlaced.interlaced = true;
  gif.Control(3, 0, true, 2).Image(interlaced, Ramp(7, 5, 11));
  gif.Control(0).Image(Block(5, 3, 5, 4), Ramp(5, 4, 13));
  return gif.Trailer().bytes();
}

// Frames one pixel wide or tall fall between the sample points.
std::vector<uint8_t> Slivers() {
  GifBuilder gif("GIF89a", 9, 9, 3);
  gif.Image(Block(0, 0, 9, 9), Ramp(9, 9, 16))
      .Image(Block(1, 0, 1, 9), Ramp(1, 9, 5))
      .Image(Block(0, 4, 9, 1), Ramp(9, 1, 3));
  return gif.Trailer().bytes();
}

INSTANTIATE_TEST_SUITE_P(Samples, WorkingSizeTest,
                         ::testing::Values(SampleCase{"DisposalsHalved", Disposals, 20, 2},
                                           SampleCase{"DisposalsByThree", Disposals, 12, 3},
                                           SampleCase{"SliversByThree", Slivers, 9, 3},
                                           SampleCase{"SliversByFive", Slivers, 4, 5}),
                         testing_support::RowName());

// Sixteen frames of 4096 × 4096 in a few hundred bytes: each frame's data
// is one pixel, the rest of it left to index 0.
std::vector<uint8_t> HugeFrames() {
  GifBuilder gif("GIF89a", 4096, 4096, 1);
  for (int i = 0; i < 16; ++i)
    gif.Control(1, 10)
        .Descriptor(Block(0, 0, 4096, 4096))
        .Raw(testing::SubBlocks(testing::DecoderPacedCodes(2).Clear().Put(static_cast<uint32_t>(i % 4)).End().Bytes()));
  return gif.Trailer().bytes();
}

TEST(WorkingSizeTest, HugeCanvasIsBuiltAtTheWorkingSizeAndLaidOutAtItsOwn) {
  // What the animated-picture control asks for.
  constexpr int64_t kWorkingCanvasPixels = int64_t{1} << 20;
  const std::vector<uint8_t> file = HugeFrames();
  EXPECT_LT(file.size(), 1000u);
  LoadOptions options;
  options.maxWorkingPixels = kWorkingCanvasPixels;
  GifPicture picture;
  ASSERT_EQ(picture.Load(file, options), 16);
  EXPECT_EQ(picture.logicalWidth(), 4096);
  EXPECT_EQ(picture.logicalHeight(), 4096);
  EXPECT_LE(int64_t{picture.workingWidth()} * picture.workingHeight(), kWorkingCanvasPixels);
  EXPECT_EQ(picture.workingWidth(), 4096 / picture.reduction());
  EXPECT_LE(int64_t{picture.strip().width} * picture.strip().height, 16 * kWorkingCanvasPixels);
  Surface target;
  target.Reset(picture.workingWidth(), picture.workingHeight());
  EXPECT_TRUE(picture.DrawFrame(15, target));
}

struct ReductionCase {
  std::string name;
  int32_t width, height;
  int64_t maxPixels;
  int32_t reduction;
};

class WorkingReductionTest : public ::testing::TestWithParam<ReductionCase> {};

TEST_P(WorkingReductionTest, SmallestFactorThatFits) {
  const ReductionCase& row = GetParam();
  EXPECT_EQ(WorkingReduction(row.width, row.height, row.maxPixels), row.reduction);
}

INSTANTIATE_TEST_SUITE_P(Canvases, WorkingReductionTest,
                         ::testing::Values(ReductionCase{"FitsAlready", 1024, 1024, 1 << 20, 1},
                                           ReductionCase{"OnePixelOver", 1025, 1024, 1 << 20, 2},
                                           ReductionCase{"Square4096", 4096, 4096, 1 << 20, 4},
                                           ReductionCase{"WideAndShort", 65535, 2, 1 << 20, 1},
                                           ReductionCase{"NoCeilingMeansNoReduction", 4096, 4096, 0, 1},
                                           ReductionCase{"RoundedUpSizesCount", 3, 3, 4, 2}),
                         testing_support::RowName());

}  // namespace
}  // namespace ventalune::gif
