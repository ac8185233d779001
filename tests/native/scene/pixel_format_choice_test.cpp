#include "scene/pixel_format_choice.h"

#include <gtest/gtest.h>

#include <vector>

#include "row_name.h"

namespace ventalune::scene {
namespace {

// A usable accelerated format; rows change what they need.
PixelFormatTraits Format(int32_t index, int32_t colorBits, int32_t depthBits) {
  return {index, true, true, true, true, false, false, colorBits, depthBits};
}
PixelFormatTraits Generic(PixelFormatTraits format, bool accelerated = false) {
  format.generic = true;
  format.genericAccelerated = accelerated;
  return format;
}

struct ChoiceRow {
  const char* name;
  std::vector<PixelFormatTraits> formats;
  PixelFormatRequest request;
  int32_t chosen;
};

class PixelFormatChoiceTest : public testing::TestWithParam<ChoiceRow> {};

TEST_P(PixelFormatChoiceTest, TakesTheBestUsableFormat) {
  const ChoiceRow& row = GetParam();
  EXPECT_EQ(ChooseScenePixelFormat(row.formats, row.request), row.chosen);
}

PixelFormatTraits Without(PixelFormatTraits format, bool PixelFormatTraits::*flag) {
  format.*flag = false;
  return format;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, PixelFormatChoiceTest,
    testing::Values(
        ChoiceRow{"NoneOffered", {}, {32, 24}, 0},
        ChoiceRow{"SoftwareAloneIsTaken", {Generic(Format(1, 32, 24))}, {32, 24}, 1},
        ChoiceRow{"AcceleratedBeatsAnEarlierSoftwareOne", {Generic(Format(1, 32, 24)), Format(2, 32, 24)}, {32, 24}, 2},
        ChoiceRow{"AcceleratedBeatsABetterSizedSoftwareOne",
                  {Format(1, 16, 16), Generic(Format(2, 32, 24))}, {32, 24}, 1},
        ChoiceRow{"GenericAcceleratedCountsAsAccelerated",
                  {Generic(Format(1, 32, 32)), Generic(Format(2, 32, 24), true)}, {32, 24}, 2},
        ChoiceRow{"DesktopColourBeatsSixteenBits", {Format(1, 16, 24), Format(2, 32, 24)}, {32, 24}, 2},
        ChoiceRow{"SixteenBitModeKeepsSixteenBits", {Format(1, 32, 24), Format(2, 16, 16)}, {16, 16}, 2},
        ChoiceRow{"TooFewColourBitsLoseToFarMore", {Format(1, 24, 24), Format(2, 64, 24)}, {32, 24}, 2},
        ChoiceRow{"NearestColourAboveTheRequest", {Format(1, 64, 24), Format(2, 32, 24)}, {24, 24}, 2},
        ChoiceRow{"ShallowDepthLosesToTheRequestedDepth", {Format(1, 32, 16), Format(2, 32, 24)}, {32, 24}, 2},
        ChoiceRow{"NearestDepthAboveTheRequest", {Format(1, 32, 32), Format(2, 32, 24)}, {32, 24}, 2},
        ChoiceRow{"ShallowDepthRatherThanNone", {Format(1, 32, 16)}, {32, 24}, 1},
        ChoiceRow{"EqualFormatsGiveTheLowestNumber", {Format(3, 32, 24), Format(2, 32, 24)}, {32, 24}, 2},
        ChoiceRow{"NoDepthBufferIsUnusable", {Format(1, 32, 0), Generic(Format(2, 16, 16))}, {32, 24}, 2},
        ChoiceRow{"NoWindowIsUnusable",
                  {Without(Format(1, 32, 24), &PixelFormatTraits::drawsToWindow)}, {32, 24}, 0},
        ChoiceRow{"NoOpenGlIsUnusable",
                  {Without(Format(1, 32, 24), &PixelFormatTraits::supportsOpenGl)}, {32, 24}, 0},
        ChoiceRow{"SingleBufferIsUnusable",
                  {Without(Format(1, 32, 24), &PixelFormatTraits::doubleBuffered)}, {32, 24}, 0},
        ChoiceRow{"ColourIndexIsUnusable", {Without(Format(1, 32, 24), &PixelFormatTraits::rgba)}, {32, 24}, 0}),
    testing_support::RowName{});

struct RequestRow {
  const char* name;
  int32_t desktopBits;
  PixelFormatRequest request;
};

class PixelFormatRequestTest : public testing::TestWithParam<RequestRow> {};

TEST_P(PixelFormatRequestTest, AsksForWhatTheDesktopHas) {
  const RequestRow& row = GetParam();
  const PixelFormatRequest request = PixelFormatRequestFor(row.desktopBits);
  EXPECT_EQ(request.colorBits, row.request.colorBits);
  EXPECT_EQ(request.depthBits, row.request.depthBits);
}

INSTANTIATE_TEST_SUITE_P(Desktops, PixelFormatRequestTest,
                         testing::Values(RequestRow{"SwitchedSixteenBitMode", 16, {16, 16}},
                                         RequestRow{"DeviceCannotSay", 0, {32, 24}},
                                         RequestRow{"TwentyFourBits", 24, {24, 24}},
                                         RequestRow{"ThirtyTwoBits", 32, {32, 24}}),
                         testing_support::RowName{});

}  // namespace
}  // namespace ventalune::scene
