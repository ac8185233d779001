// What the reduced JPEG decoder refuses, and the damage it must survive:
// small JPEGs built here byte by byte, and cut-short copies of real ones.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "row_name.h"
#include "saver/pictures/jpeg_reduced_decoder.h"

namespace ventalune::pictures {
namespace {

using Bytes = std::vector<uint8_t>;

// A flat mid-grey (or colour) picture with the smallest tables that code
// it. DC: one code, 0, for a difference of 0. AC: 00 ends a block, 01 is a
// run of 15 zeros and a 1-bit value, 10 a 1-bit value.
struct Built {
  uint8_t frameMarker = 0xc0;
  uint8_t precision = 8;
  uint16_t width = 16;
  uint16_t height = 16;
  int components = 1;
  uint8_t sampling = 0x11;
  uint8_t quantSlot = 0;
  bool quant = true;
  bool huffman = true;
  bool scan = true;
  Bytes dcCounts = {1};
  uint8_t scanComponents = 0;  // 0: all
  uint8_t spectralStart = 0;
  uint16_t restartInterval = 0;
  Bytes beforeFrame{};
  Bytes coded{};  // empty: flat blocks, every one coded
  bool end = true;
};

void Segment(Bytes& out, uint8_t marker, const Bytes& payload) {
  out.insert(out.end(), {0xff, marker, static_cast<uint8_t>((payload.size() + 2) >> 8),
                         static_cast<uint8_t>(payload.size() + 2)});
  out.insert(out.end(), payload.begin(), payload.end());
}

// `blocks` flat blocks (DC 0, end of block: three zero bits each), then one bits to the byte's end.
Bytes FlatBlocks(int blocks) {
  const int bits = 3 * blocks;
  Bytes coded(static_cast<size_t>((bits + 7) / 8), 0);
  if (bits % 8 != 0) coded.back() = static_cast<uint8_t>(0xff >> (bits % 8));
  return coded;
}

Bytes Build(const Built& b) {
  Bytes out = {0xff, 0xd8};
  out.insert(out.end(), b.beforeFrame.begin(), b.beforeFrame.end());
  if (b.quant) {
    Bytes table = {0x00};
    table.resize(65, 1);
    Segment(out, 0xdb, table);
  }
  Bytes frame = {b.precision, static_cast<uint8_t>(b.height >> 8), static_cast<uint8_t>(b.height),
                 static_cast<uint8_t>(b.width >> 8), static_cast<uint8_t>(b.width), static_cast<uint8_t>(b.components)};
  for (int i = 0; i < b.components; ++i) frame.insert(frame.end(), {static_cast<uint8_t>(i + 1), b.sampling, b.quantSlot});
  Segment(out, b.frameMarker, frame);
  if (b.huffman) {
    Bytes dc = {0x00};
    Bytes counts = b.dcCounts;
    counts.resize(16, 0);
    dc.insert(dc.end(), counts.begin(), counts.end());
    for (int i = 0; i < b.dcCounts[0]; ++i) dc.push_back(0);
    Segment(out, 0xc4, dc);
    Bytes ac = {0x10, 0, 3};
    ac.resize(17, 0);
    ac.insert(ac.end(), {0x00, 0xf1, 0x01});
    Segment(out, 0xc4, ac);
  }
  if (b.restartInterval != 0)
    Segment(out, 0xdd, {static_cast<uint8_t>(b.restartInterval >> 8), static_cast<uint8_t>(b.restartInterval)});
  if (b.scan) {
    const int count = b.scanComponents != 0 ? b.scanComponents : b.components;
    Bytes scan = {static_cast<uint8_t>(count)};
    for (int i = 0; i < count; ++i) scan.insert(scan.end(), {static_cast<uint8_t>(i + 1), 0x00});
    scan.insert(scan.end(), {b.spectralStart, 63, 0});
    Segment(out, 0xda, scan);
    const int blocks = ((b.width + 7) / 8) * ((b.height + 7) / 8) * b.components;
    const Bytes coded = b.coded.empty() ? FlatBlocks(blocks) : b.coded;
    out.insert(out.end(), coded.begin(), coded.end());
  }
  if (b.end) out.insert(out.end(), {0xff, 0xd9});
  return out;
}

Bytes ReadSample(const std::string& name) {
  std::ifstream file(std::string(JPEG_SAMPLES_DIR) + "/" + name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct AcceptedRow {
  const char* name;
  Built built;
};

class BuiltJpegTest : public testing::TestWithParam<AcceptedRow> {};

TEST_P(BuiltJpegTest, DecodesFlatMidGreyAtEveryShift) {
  const Bytes bytes = Build(GetParam().built);
  for (int shift = 0; shift <= kMaxJpegShift; ++shift) {
    const std::optional<PicturePixels> decoded = DecodeJpegReduced(bytes, shift);
    ASSERT_TRUE(decoded.has_value()) << "shift " << shift;
    EXPECT_EQ(decoded->width, (GetParam().built.width + (1 << shift) - 1) >> shift);
    EXPECT_EQ(decoded->height, (GetParam().built.height + (1 << shift) - 1) >> shift);
    for (size_t i = 0; i < decoded->pixels.size(); ++i) ASSERT_EQ(decoded->pixels[i], i % 4 == 3 ? 0 : 128) << i;
  }
}

Built WithRestarts(Bytes coded) {
  Built b;
  b.restartInterval = 2;
  b.coded = std::move(coded);
  return b;
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, BuiltJpegTest,
    testing::Values(AcceptedRow{"Grey", {}}, AcceptedRow{"Colour", {.components = 3}},
                    AcceptedRow{"ColourSampled2x2", {.components = 3, .sampling = 0x22}},
                    AcceptedRow{"OddSize", {.width = 13, .height = 5}},
                    AcceptedRow{"Extended", {.frameMarker = 0xc1}},
                    // Nothing after the last block: the picture is whole.
                    AcceptedRow{"NoEndMarker", {.end = false}},
                    // Two units (six bits) an interval, fill bytes before the second marker.
                    AcceptedRow{"RestartMarkers", WithRestarts({0x03, 0xff, 0xd0, 0x03, 0xff, 0xff, 0xd1})},
                    AcceptedRow{"ApplicationSegmentsAndComment",
                                {.beforeFrame = {0xff, 0xe1, 0x00, 0x04, 0xff, 0xd8, 0xff, 0xfe, 0x00, 0x03, 0xd9}}}),
    testing_support::RowName());

struct RefusedRow {
  const char* name;
  Bytes bytes;
  int shift = 1;
};

class RefusedJpegTest : public testing::TestWithParam<RefusedRow> {};

TEST_P(RefusedJpegTest, GivesNothing) { EXPECT_FALSE(DecodeJpegReduced(GetParam().bytes, GetParam().shift).has_value()); }

INSTANTIATE_TEST_SUITE_P(
    Refused, RefusedJpegTest,
    testing::Values(
        RefusedRow{"Empty", {}}, RefusedRow{"OnlyStartOfImage", {0xff, 0xd8}},
        RefusedRow{"Bitmap", {'B', 'M', 0, 0, 0, 0}},
        RefusedRow{"ShiftBelowZero", Build({}), -1}, RefusedRow{"ShiftAboveThree", Build({}), 4},
        RefusedRow{"Progressive", Build({.frameMarker = 0xc2})}, RefusedRow{"Lossless", Build({.frameMarker = 0xc3})},
        RefusedRow{"ArithmeticCoding", Build({.frameMarker = 0xc9})},
        RefusedRow{"Hierarchical", Build({.beforeFrame = {0xff, 0xde, 0x00, 0x08, 8, 0, 16, 0, 16, 1}})},
        RefusedRow{"TwelveBitSamples", Build({.precision = 12})},
        RefusedRow{"TwoComponents", Build({.components = 2})}, RefusedRow{"FourComponents", Build({.components = 4})},
        RefusedRow{"ZeroWidth", Build({.width = 0})},
        // 65535 × 65535 at full size would be 16 GiB of pixels; an eighth is taken.
        RefusedRow{"OutputAboveTheCeiling", Build({.width = 65535, .height = 65535}), 0},
        RefusedRow{"OutputJustAboveTheCeiling", Build({.width = 8192, .height = 8193}), 0},
        // A height of zero is given after the scan in a DNL segment.
        RefusedRow{"HeightGivenLater", Build({.height = 0})},
        RefusedRow{"HeightSegmentBeforeScan", Build({.beforeFrame = {0xff, 0xdc, 0x00, 0x04, 0x00, 0x10}})},
        RefusedRow{"PixelsBeyondTheCeiling", Build({.width = 16384, .height = 16385})},
        // The largest size taken, with the data of a few blocks: refused before
        // its pixels are allocated, and before 4 million blocks are made up.
        RefusedRow{"LargestSizeShortData", Build({.width = 16384, .height = 16384, .coded = {0x00, 0x00}})},
        RefusedRow{"SamplingFactorThree", Build({.components = 3, .sampling = 0x31})},
        RefusedRow{"SamplingFactorZero", Build({.components = 3, .sampling = 0x10})},
        RefusedRow{"NoQuantTable", Build({.quant = false})},
        RefusedRow{"QuantSlotNeverDefined", Build({.quantSlot = 1})},
        RefusedRow{"NoHuffmanTables", Build({.huffman = false})}, RefusedRow{"NoScan", Build({.scan = false})},
        RefusedRow{"ScanWithoutEveryComponent", Build({.components = 3, .scanComponents = 1})},
        RefusedRow{"SpectralSelection", Build({.spectralStart = 1})},
        // Three codes of one bit cannot be told apart.
        RefusedRow{"OverfullHuffmanTable", Build({.dcCounts = {3}})},
        // A DC code starting with 1: the table has none.
        RefusedRow{"CodeNotInTable", Build({.coded = {0xff, 0x00, 0xff, 0x00}})},
        // DC 0, then four runs of 15 zeros with a value: the fourth lands past coefficient 63.
        RefusedRow{"CoefficientPastTheEnd", Build({.coded = {0x36, 0xdb, 0xff}})},
        RefusedRow{"NoCodedData", Build({.coded = {0xff, 0xd9}, .end = false})},
        // Two blocks and a bit of the third: the rest would be made up.
        RefusedRow{"CodedDataCutShort", Build({.coded = {0x00}})},
        RefusedRow{"CodedDataCutShortWithoutEnd", Build({.coded = {0x00}, .end = false})},
        RefusedRow{"RestartMarkerMissing", Build(WithRestarts({0x00, 0x0f}))},
        RefusedRow{"RestartMarkerOutOfTurn", Build(WithRestarts({0x03, 0xff, 0xd1, 0x03, 0xff, 0xd2}))},
        RefusedRow{"SegmentLongerThanTheFile", Bytes{0xff, 0xd8, 0xff, 0xe0, 0x10, 0x00, 0x00}},
        RefusedRow{"SegmentLengthBelowTwo", Bytes{0xff, 0xd8, 0xff, 0xe0, 0x00, 0x01}}),
    testing_support::RowName());

struct CutRow {
  const char* name;
  const char* sample;
  size_t step;
};

class CutShortTest : public testing::TestWithParam<CutRow> {};

// Every cut before the end marker loses blocks (the last coded byte holds
// bits of the last block), so none may decode.
TEST_P(CutShortTest, IsRefusedWhereverTheFileEnds) {
  const Bytes whole = ReadSample(GetParam().sample);
  ASSERT_GT(whole.size(), 2u);
  ASSERT_TRUE(DecodeJpegReduced(whole, 1).has_value());
  for (size_t size = 0; size + 2 < whole.size(); size += GetParam().step) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(size));
    EXPECT_FALSE(DecodeJpegReduced(cut, 1).has_value()) << "cut at " << size;
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, CutShortTest,
                         testing::Values(CutRow{"SliverEveryByte", "sliver.jpg", 1},
                                         CutRow{"RestartsEvery7Bytes", "restart_every_3_units.jpg", 7},
                                         CutRow{"ThumbnailEvery11Bytes", "exif_thumbnail.jpg", 11}),
                         testing_support::RowName());

}  // namespace
}  // namespace ventalune::pictures
