// Our decoder against giflib's (DGifSlurp, which does not compose): the
// same frames, places, palettes and palette indexes for every sample file,
// and our exported frames read back by giflib exactly.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "giflib_memory.h"
#include "row_name.h"
#include "saver/gif/gif_exporter.h"
#include "saver/gif/gif_picture.h"

namespace ventalune::gif {
namespace {

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};
using GiflibFile = std::unique_ptr<GifFileType, GifCloser>;

GiflibFile Slurp(const std::vector<uint8_t>& bytes, MemoryInput& input) {
  input = MemoryInput{&bytes, 0};
  int error = 0;
  GiflibFile gif(DGifOpen(&input, ReadMemory, &error));
  if (gif && DGifSlurp(gif.get()) != GIF_OK) return nullptr;
  return gif;
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// giflib's table, padded with black to 256 entries as ours is.
Palette ToPalette(const ColorMapObject* map) {
  Palette palette{};
  for (int i = 0; map && i < map->ColorCount && i < 256; ++i)
    palette[static_cast<size_t>(i)] = MakeColour(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
  return palette;
}

std::vector<uint8_t> StripPixels(const FrameStrip& strip, const FrameRecord& frame) {
  std::vector<uint8_t> pixels;
  for (int32_t y = 0; y < frame.height; ++y) pixels.insert(pixels.end(), strip.Row(y) + frame.stripOffset, strip.Row(y) + frame.stripOffset + frame.width);
  return pixels;
}

// For the Pillow check that follows: the exported file and what it must hold.
void LeaveExportForPillow(const std::string& name, size_t frame, const std::vector<uint8_t>& exported,
                          const FrameRecord& record, const Palette& palette, const std::vector<uint8_t>& pixels) {
  const std::filesystem::path dir = ANIGIF_EXPORTS_DIR;
  std::filesystem::create_directories(dir);
  const std::string stem = name + "-" + std::to_string(frame + 1);
  std::ofstream(dir / (stem + ".gif"), std::ios::binary).write(reinterpret_cast<const char*>(exported.data()), static_cast<std::streamsize>(exported.size()));
  std::ofstream expect(dir / (stem + ".expect"), std::ios::binary);
  expect << record.width << ' ' << record.height << ' ' << (record.transparent ? int{record.transparentIndex} : -1) << '\n';
  for (const Colour c : palette) expect.put(static_cast<char>(RedOf(c))).put(static_cast<char>(GreenOf(c))).put(static_cast<char>(BlueOf(c)));
  expect.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
}

struct SampleCase {
  std::string name;
  const char* dir;
};

class GiflibReferenceTest : public ::testing::TestWithParam<SampleCase> {
 protected:
  void SetUp() override {
    path_ = std::filesystem::path(GetParam().dir) / (GetParam().name + ".gif");
    // Every file is in the repository or made by the samples fixture: one
    // that is missing is a fault of the tree, not a reason to skip.
    ASSERT_TRUE(std::filesystem::exists(path_)) << path_ << " is not here";
    bytes_ = ReadFile(path_);
  }
  std::filesystem::path path_;
  std::vector<uint8_t> bytes_;
};

TEST_P(GiflibReferenceTest, SameFramesPalettesAndIndexes) {
  MemoryInput input{};
  const GiflibFile theirs = Slurp(bytes_, input);
  ASSERT_TRUE(theirs) << "giflib cannot read " << path_;
  GifPicture ours;
  ASSERT_EQ(ours.Load(bytes_), theirs->ImageCount);
  for (size_t i = 0; i < ours.builtFrames(); ++i) {
    SCOPED_TRACE("frame " + std::to_string(i + 1));
    const SavedImage& image = theirs->SavedImages[i];
    const FrameRecord& frame = ours.frames()[i];
    EXPECT_EQ(frame.left, image.ImageDesc.Left);
    EXPECT_EQ(frame.top, image.ImageDesc.Top);
    ASSERT_EQ(frame.width, image.ImageDesc.Width);
    ASSERT_EQ(frame.height, image.ImageDesc.Height);
    EXPECT_EQ(ours.PaletteOf(frame), ToPalette(image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : theirs->SColorMap));
    GraphicsControlBlock control{};
    if (DGifSavedExtensionToGCB(theirs.get(), static_cast<int>(i), &control) == GIF_OK) {
      EXPECT_EQ(frame.transparent ? int{frame.transparentIndex} : -1, control.TransparentColor);
      EXPECT_EQ(frame.delayMs, control.DelayTime * 10);
    }
    const std::vector<uint8_t> pixels = StripPixels(ours.strip(), frame);
    ASSERT_EQ(pixels, std::vector<uint8_t>(image.RasterBits, image.RasterBits + pixels.size()));
  }
}

TEST_P(GiflibReferenceTest, ExportedFramesReadBackExactly) {
  GifPicture ours;
  ASSERT_GT(ours.Load(bytes_), 0);
  for (size_t i = 0; i < ours.builtFrames(); ++i) {
    SCOPED_TRACE("frame " + std::to_string(i + 1));
    const FrameRecord& frame = ours.frames()[i];
    const std::vector<uint8_t> exported = ExportFrame(ours.strip(), frame, ours.PaletteOf(frame));
    MemoryInput input{};
    const GiflibFile theirs = Slurp(exported, input);
    ASSERT_TRUE(theirs);
    ASSERT_EQ(theirs->ImageCount, 1);
    const SavedImage& image = theirs->SavedImages[0];
    EXPECT_EQ(ToPalette(theirs->SColorMap), ours.PaletteOf(frame));
    GraphicsControlBlock control{};
    control.TransparentColor = -1;
    DGifSavedExtensionToGCB(theirs.get(), 0, &control);
    EXPECT_EQ(control.TransparentColor, frame.transparent ? int{frame.transparentIndex} : -1);
    const std::vector<uint8_t> pixels = StripPixels(ours.strip(), frame);
    ASSERT_EQ(std::vector<uint8_t>(image.RasterBits, image.RasterBits + pixels.size()), pixels);
    LeaveExportForPillow(GetParam().name, i, exported, frame, ours.PaletteOf(frame), pixels);
  }
}

constexpr const char* kSamples = ANIGIF_SAMPLES_DIR;
constexpr const char* kSuite = ANIGIF_SUITE_DIR;

INSTANTIATE_TEST_SUITE_P(
    Samples, GiflibReferenceTest,
    ::testing::Values(SampleCase{"im_disposals", kSamples}, SampleCase{"im_interlaced", kSamples},
                      SampleCase{"im_local_palettes", kSamples}, SampleCase{"im_odd_placement", kSamples},
                      SampleCase{"im_one_pixel", kSamples}, SampleCase{"im_photo_256", kSamples},
                      SampleCase{"im_rose_256", kSamples}, SampleCase{"im_transparent", kSamples},
                      SampleCase{"im_transparent_accumulate", kSamples}, SampleCase{"im_wide_4096", kSamples},
                      SampleCase{"pil_disposal_0", kSamples}, SampleCase{"pil_disposal_1", kSamples},
                      SampleCase{"pil_disposal_2", kSamples}, SampleCase{"pil_disposal_3", kSamples},
                      SampleCase{"pil_local_palettes", kSamples}, SampleCase{"pil_one_pixel", kSamples},
                      SampleCase{"pil_photo_256", kSamples}),
    testing_support::RowName());

INSTANTIATE_TEST_SUITE_P(
    Suite, GiflibReferenceTest,
    ::testing::Values(SampleCase{"animated_loop", kSuite}, SampleCase{"animated_loop_interlaced", kSuite},
                      SampleCase{"animated_loop_variable_delay", kSuite}, SampleCase{"animated_noloop", kSuite},
                      SampleCase{"animated_transparent_firstframerestoreprev_loop", kSuite},
                      SampleCase{"animated_transparent_frame_norestore_loop", kSuite},
                      SampleCase{"animated_transparent_frame_restorebackground_loop", kSuite},
                      SampleCase{"animated_transparent_frame_restoreprev_loop", kSuite},
                      SampleCase{"animated_transparent_loop", kSuite},
                      SampleCase{"animated_transparent_loop_frames_out_of_bounds", kSuite},
                      SampleCase{"animated_transparent_restoreprev_loop", kSuite},
                      SampleCase{"static_nontransparent", kSuite}, SampleCase{"static_transparent", kSuite}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::gif
