#include "saver/gif/gif_scan.h"

#include <gtest/gtest.h>

#include <functional>

#include "gif_builder.h"
#include "row_name.h"

namespace ventalune::gif {
namespace {

using testing::GifBuilder;
using testing::ImageBlock;

ImageBlock Block(int left, int top, int width, int height) { return ImageBlock{left, top, width, height}; }

std::vector<uint8_t> OnePixel() { return {1}; }

// --- signature -------------------------------------------------------------

struct SignatureCase {
  std::string name;
  std::string signature;
  bool accepted;
};

class SignatureTest : public ::testing::TestWithParam<SignatureCase> {};

TEST_P(SignatureTest, OnlyGif87aAndGif89aInAnyCase) {
  const auto file = GifBuilder(GetParam().signature).Image(Block(0, 0, 1, 1), OnePixel()).Trailer().bytes();
  EXPECT_EQ(ScanGif(file).frames.size(), GetParam().accepted ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Signatures, SignatureTest,
                         ::testing::Values(SignatureCase{"Gif89a", "GIF89a", true},
                                           SignatureCase{"UpperCaseGif89A", "GIF89A", true},
                                           SignatureCase{"MixedCaseGif87a", "Gif87a", true},
                                           SignatureCase{"Gif88aRefused", "GIF88a", false},
                                           SignatureCase{"PngRefused", "\x89PNG\r\n", false}),
                         testing_support::RowName());

TEST(ScanGifTest, FileShorterThanTheSignatureHasNoFrames) {
  // Five bytes: not even a whole signature.
  const std::vector<uint8_t> file = {'G', 'I', 'F', '8', '9'};
  EXPECT_TRUE(ScanGif(file).frames.empty());
}

// --- graphic control extension -----------------------------------------------

struct ControlCase {
  std::string name;
  int disposalField;  // the three bits as written in the file
  int delayHundredths;
  bool onFirstImage;
  uint8_t disposal;
  int32_t delayMs;
};

class ControlBlockTest : public ::testing::TestWithParam<ControlCase> {};

TEST_P(ControlBlockTest, DisposalFoldsAndDelayIsInMilliseconds) {
  const ControlCase& row = GetParam();
  GifBuilder gif;
  if (row.onFirstImage) gif.Control(row.disposalField, row.delayHundredths);
  gif.Image(Block(0, 0, 1, 1), OnePixel());
  if (!row.onFirstImage) gif.Control(row.disposalField, row.delayHundredths).Image(Block(0, 0, 1, 1), OnePixel());
  const GifScan scan = ScanGif(gif.Trailer().bytes());
  ASSERT_FALSE(scan.frames.empty());
  const FrameRecord& frame = scan.frames.back();
  EXPECT_EQ(static_cast<uint8_t>(frame.disposal), row.disposal);
  EXPECT_EQ(frame.delayMs, row.delayMs);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, ControlBlockTest,
    ::testing::Values(ControlCase{"DelaySevenIs70ms", 1, 7, true, 1, 70},
                      ControlCase{"DelayZeroStaysZero", 0, 0, true, 0, 0},
                      ControlCase{"LargestDelayIsUnsigned", 0, 65535, true, 0, 655350},
                      ControlCase{"RestorePreviousOnFirstImageBecomesNone", 3, 0, true, 0, 0},
                      ControlCase{"RestorePreviousOnSecondImageStays", 3, 0, false, 3, 0},
                      ControlCase{"RestoreBackgroundOnFirstImageStays", 2, 0, true, 2, 0},
                      ControlCase{"Value4FoldsOnto0", 4, 0, false, 0, 0},
                      ControlCase{"Value5FoldsOnto1", 5, 0, false, 1, 0},
                      ControlCase{"Value6FoldsOnto2", 6, 0, false, 2, 0},
                      ControlCase{"Value7FoldsOnto3", 7, 0, false, 3, 0},
                      ControlCase{"Value7OnFirstImageFoldsOnto3ThenNone", 7, 0, true, 0, 0}),
    testing_support::RowName());

TEST(ScanGifTest, ControlBlockAppliesOnlyToTheNextImage) {
  const auto file = GifBuilder()
                        .Control(2, 5, true, 3)
                        .Image(Block(0, 0, 1, 1), OnePixel())
                        .Image(Block(0, 0, 1, 1), OnePixel())
                        .Trailer()
                        .bytes();
  const GifScan scan = ScanGif(file);
  ASSERT_EQ(scan.frames.size(), 2u);
  EXPECT_TRUE(scan.frames[0].transparent);
  EXPECT_EQ(scan.frames[0].transparentIndex, 3);
  EXPECT_EQ(scan.frames[1].transparent, false);
  EXPECT_EQ(scan.frames[1].disposal, Disposal::kUnspecified);
  EXPECT_EQ(scan.frames[1].delayMs, 0);
}

TEST(ScanGifTest, OfSeveralControlBlocksBeforeOneImageTheLastCounts) {
  const auto file = GifBuilder()
                        .Control(1, 10, true, 2)
                        .Control(2, 30)
                        .Image(Block(0, 0, 1, 1), OnePixel())
                        .Trailer()
                        .bytes();
  const GifScan scan = ScanGif(file);
  ASSERT_EQ(scan.frames.size(), 1u);
  EXPECT_EQ(scan.frames[0].disposal, Disposal::kRestoreBackground);
  EXPECT_EQ(scan.frames[0].delayMs, 300);
  EXPECT_FALSE(scan.frames[0].transparent);
}

// --- loop count ----------------------------------------------------------------

struct LoopCase {
  std::string name;
  std::function<void(GifBuilder&)> blocks;
  int32_t loopCount;
};

class LoopCountTest : public ::testing::TestWithParam<LoopCase> {};

TEST_P(LoopCountTest, ReadFromTheNetscapeBlock) {
  GifBuilder gif;
  GetParam().blocks(gif);
  const GifScan scan = ScanGif(gif.Image(Block(0, 0, 1, 1), OnePixel()).Trailer().bytes());
  EXPECT_EQ(scan.loopCount, GetParam().loopCount);
  EXPECT_EQ(scan.frames.size(), 1u) << "the block must be skipped whole";
}

INSTANTIATE_TEST_SUITE_P(
    Loops, LoopCountTest,
    ::testing::Values(
        LoopCase{"ThreeLoops", [](GifBuilder& g) { g.Loop(3); }, 3},
        LoopCase{"LargeCountIsUnsigned", [](GifBuilder& g) { g.Loop(65535); }, 65535},
        LoopCase{"NoBlockIsEndless", [](GifBuilder&) {}, 0},
        LoopCase{"LowerCaseNameRecognised", [](GifBuilder& g) { g.Application("netscape2.0", {1, 5, 0}); }, 5},
        // The first sub-block has 2 bytes, not 3: no count in it.
        LoopCase{"ShortSubBlockIgnored", [](GifBuilder& g) { g.Application("NETSCAPE2.0", {1, 5}); }, 0},
        LoopCase{"OtherApplicationIgnored", [](GifBuilder& g) { g.Application("ANIMEXTS1.0", {1, 5, 0}); }, 0},
        LoopCase{"OfSeveralBlocksTheLastCounts", [](GifBuilder& g) { g.Loop(4).Loop(9); }, 9},
        LoopCase{"CommentBeforeIsSkipped", [](GifBuilder& g) { g.Comment("made by hand").Loop(2); }, 2}),
    testing_support::RowName());

// --- block structure --------------------------------------------------------------

struct StructureCase {
  std::string name;
  std::function<std::vector<uint8_t>()> file;
  size_t frames;
  int32_t logicalWidth;
  int32_t logicalHeight;
};

class ScanStructureTest : public ::testing::TestWithParam<StructureCase> {};

TEST_P(ScanStructureTest, FramesAndLogicalSize) {
  const GifScan scan = ScanGif(GetParam().file());
  EXPECT_EQ(scan.frames.size(), GetParam().frames);
  EXPECT_EQ(scan.positions.size(), scan.frames.size());
  EXPECT_EQ(scan.logicalWidth, GetParam().logicalWidth);
  EXPECT_EQ(scan.logicalHeight, GetParam().logicalHeight);
}

std::vector<uint8_t> TwoFrames(std::initializer_list<uint8_t> between, bool trailer = true) {
  GifBuilder gif;
  gif.Image(Block(0, 0, 2, 1), {1, 2}).Raw(between).Image(Block(1, 1, 2, 2), {0, 1, 2, 3});
  if (trailer) gif.Trailer();
  return gif.bytes();
}

INSTANTIATE_TEST_SUITE_P(
    Structures, ScanStructureTest,
    ::testing::Values(
        StructureCase{"SizeFromFramesNotHeader",
                      [] { return GifBuilder("GIF89a", 500, 500).Image(Block(5, 5, 10, 10), testing::Ramp(10, 10, 4)).Trailer().bytes(); },
                      1, 15, 15},
        StructureCase{"TwoFramesUnion", [] { return TwoFrames({}); }, 2, 3, 3},
        StructureCase{"StrayZeroBytesSkipped", [] { return TwoFrames({0x00, 0x00, 0x00}); }, 2, 3, 3},
        // 0x99 introduces no known block: the scan ends there, frame 1 stays.
        StructureCase{"UnknownIntroducerEndsScan", [] { return TwoFrames({0x99}); }, 1, 2, 1},
        StructureCase{"MissingTrailer", [] { return TwoFrames({}, false); }, 2, 3, 3},
        StructureCase{"NoImageAtAll", [] { return GifBuilder().Loop(0).Trailer().bytes(); }, 0, 0, 0},
        // Header and global table only, not even a trailer.
        StructureCase{"HeaderOnly", [] { return GifBuilder().bytes(); }, 0, 0, 0},
        // The global table claims 4 entries but the file ends after one.
        StructureCase{"GlobalTableCut",
                      [] {
                        auto bytes = GifBuilder().bytes();
                        bytes.resize(16);
                        return bytes;
                      },
                      0, 0, 0},
        // Frame 2's descriptor stops after its left and top.
        StructureCase{"DescriptorCutDropsFrame",
                      [] {
                        auto bytes = GifBuilder().Image(Block(0, 0, 2, 1), {1, 2}).Raw({0x2C, 0, 0, 0, 0}).bytes();
                        return bytes;
                      },
                      1, 2, 1},
        // Frame 2's image data ends in the middle of a sub-block: still a frame.
        StructureCase{"LastFrameDataCutIsKept",
                      [] {
                        auto bytes = TwoFrames({}, false);
                        bytes.resize(bytes.size() - 3);
                        return bytes;
                      },
                      2, 3, 3},
        // A control block cut after its packed byte ends the scan before the image.
        StructureCase{"ControlBlockCut",
                      [] { return GifBuilder().Image(Block(0, 0, 2, 1), {1, 2}).Raw({0x21, 0xF9, 0x04, 0x00}).bytes(); },
                      1, 2, 1},
        // No global table and the image has no local one: nothing can be shown.
        StructureCase{"NoColourTableAtAll",
                      [] { return GifBuilder("GIF89a", 4, 4, -1).Image(Block(0, 0, 1, 1), OnePixel()).Trailer().bytes(); },
                      0, 0, 0},
        // Frame 1 brings its own table, frame 2 has none and there is no global one.
        StructureCase{"LaterFrameWithoutTableFailsWholeFile",
                      [] {
                        ImageBlock local = Block(0, 0, 1, 1);
                        local.localTableSizeCode = 0;
                        return GifBuilder("GIF89a", 4, 4, -1).Image(local, OnePixel()).Image(Block(0, 0, 1, 1), OnePixel()).Trailer().bytes();
                      },
                      0, 0, 0},
        StructureCase{"ZeroSizedFrameCounts",
                      [] { return GifBuilder().Image(Block(7, 3, 0, 0), {}).Trailer().bytes(); }, 1, 7, 3},
        StructureCase{"LargestDeclaredSize",
                      [] { return GifBuilder().Image(Block(65535, 65535, 65535, 65535), {}).Trailer().bytes(); }, 1, 131070,
                      131070}),
    testing_support::RowName());

TEST(ScanGifTest, CutFrameReachesPastTheEnd) {
  auto file = TwoFrames({}, false);
  file.resize(file.size() - 3);
  const GifScan scan = ScanGif(file);
  ASSERT_EQ(scan.positions.size(), 2u);
  EXPECT_GT(scan.positions[1].start + scan.positions[1].length, static_cast<int64_t>(file.size()));
}

TEST(ScanGifTest, PositionsSpanDescriptorThroughTerminator) {
  GifBuilder gif;
  gif.Control(0, 1).Image(Block(0, 0, 2, 1), {1, 2});
  const size_t secondStart = gif.bytes().size();
  gif.Image(Block(0, 0, 1, 1), OnePixel());
  const size_t end = gif.bytes().size();
  const GifScan scan = ScanGif(gif.Trailer().bytes());
  ASSERT_EQ(scan.positions.size(), 2u);
  EXPECT_EQ(scan.positions[1].start, static_cast<int64_t>(secondStart));
  EXPECT_EQ(scan.positions[1].length, static_cast<int64_t>(end - secondStart));
}

// --- palettes ------------------------------------------------------------------

TEST(ScanGifTest, LocalTablesAreNumberedInFileOrder) {
  ImageBlock withLocal = Block(0, 0, 1, 1);
  withLocal.localTableSizeCode = 1;  // 4 entries
  const auto file = GifBuilder()
                        .Image(Block(0, 0, 1, 1), OnePixel())
                        .Image(withLocal, OnePixel())
                        .Image(Block(0, 0, 1, 1), OnePixel())
                        .Image(withLocal, OnePixel())
                        .Trailer()
                        .bytes();
  const GifScan scan = ScanGif(file);
  ASSERT_EQ(scan.frames.size(), 4u);
  EXPECT_EQ(scan.frames[0].palette, 0);
  EXPECT_EQ(scan.frames[1].palette, 1);
  EXPECT_EQ(scan.frames[2].palette, 0);
  EXPECT_EQ(scan.frames[3].palette, 2);
  ASSERT_EQ(scan.palettes.size(), 3u);
  // Global entry i is (i, 2i, 3i), local entry i is (255 − i, i, 7).
  EXPECT_EQ(scan.palettes[0][3], MakeColour(3, 6, 9));
  EXPECT_EQ(scan.palettes[0][3], 0x030609u) << "red × 65536 + green × 256 + blue";
  EXPECT_EQ(scan.palettes[2][1], MakeColour(254, 1, 7));
  EXPECT_EQ(scan.palettes[1][4], 0u) << "beyond the declared 4 entries stays black";
  EXPECT_EQ(scan.palettes[0][255], 0u);
}

TEST(ScanGifTest, FrameCountStopsAt32767) {
  GifBuilder gif;
  for (int i = 0; i < 32768; ++i) gif.Image(Block(0, 0, 1, 1), OnePixel());
  const GifScan scan = ScanGif(gif.Trailer().bytes());
  EXPECT_EQ(scan.frames.size(), 32767u);
}

}  // namespace
}  // namespace ventalune::gif
