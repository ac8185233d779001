#include "saver/dialog/dialog_layout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "row_name.h"

namespace ventalune::dialog {
namespace {

TEST(LayoutTest, EveryElementOnceInItsOwnRow) {
  std::set<std::string_view> names;
  for (size_t i = 0; i < kLayout.size(); ++i) {
    EXPECT_EQ(static_cast<size_t>(kLayout[i].id), i) << kLayout[i].name;
    EXPECT_TRUE(names.insert(kLayout[i].name).second) << kLayout[i].name;
  }
}

TEST(LayoutTest, ElementsLieInsideTheirContainers) {
  const auto sizeOf = [](Container c) -> PixelRect {
    switch (c) {
      case Container::PicBase: return PlaceOf(ElementId::PicBase).rect;
      case Container::PicD0: return PlaceOf(ElementId::PicD0).rect;
      case Container::PicD1: return PlaceOf(ElementId::PicD1).rect;
      case Container::PicD2: return PlaceOf(ElementId::PicD2).rect;
      case Container::Window: return {0, 0, 645, 365};
    }
    return {};
  };
  for (const ElementPlace& place : kLayout) {
    const PixelRect outer = sizeOf(place.container);
    EXPECT_LE(place.rect.x + place.rect.width, outer.width) << place.name;
    EXPECT_LE(place.rect.y + place.rect.height, outer.height) << place.name;
  }
}

// The frames stand side by side on the ground, none over another.
TEST(LayoutTest, FramesOnTheGroundDoNotOverlap) {
  const auto overlap = [](const PixelRect& a, const PixelRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
  };
  const PixelRect ground = PlaceOf(ElementId::PicBase).rect;
  for (const ElementPlace& a : kLayout) {
    if (a.container != Container::Window || a.id == ElementId::PicBase) continue;
    EXPECT_LE(a.rect.x + a.rect.width, ground.width) << a.name;
    EXPECT_LE(a.rect.y + a.rect.height, ground.height) << a.name;
    for (const ElementPlace& b : kLayout) {
      if (b.container != Container::Window || b.id == ElementId::PicBase || b.id <= a.id) continue;
      EXPECT_FALSE(overlap(a.rect, b.rect)) << a.name << " and " << b.name;
    }
  }
}

struct ScaleRow {
  std::string name;
  int32_t dpi;
  ElementId id;
  PixelRect rect;
};
class ScaleTest : public testing::TestWithParam<ScaleRow> {};
TEST_P(ScaleTest, RectanglesGrowWithTheScreen) {
  EXPECT_EQ(ElementRect(GetParam().id, GetParam().dpi), GetParam().rect);
}
INSTANTIATE_TEST_SUITE_P(
    Resolutions, ScaleTest,
    testing::Values(ScaleRow{"At96AsDrawn", 96, ElementId::Display, {352, 28, 80, 80}},
                    ScaleRow{"At144HalfAgainMore", 144, ElementId::Display, {528, 42, 120, 120}},
                    // 645 × 1.5 = 967.5 and 365 × 1.5 = 547.5: halves away from zero.
                    ScaleRow{"At144HalvesRoundUp", 144, ElementId::PicBase, {0, 0, 968, 548}},
                    // 13 × 1.25 = 16.25, 36 × 1.25 = 45, 24 × 1.25 = 30.
                    ScaleRow{"At120Quarter", 120, ElementId::ImgSel0, {30, 45, 16, 16}},
                    ScaleRow{"ZeroDpiCountsAs96", 0, ElementId::CmdSet, {320, 324, 69, 29}},
                    ScaleRow{"At192Double", 192, ElementId::UcAniGif1, {24, 608, 240, 100}}),
    testing_support::RowName());

TEST(ScaleTest, NegativeLengthsRoundAwayFromZero) {
  EXPECT_EQ(ScaleToDpi(-473, 144), -710);
  EXPECT_EQ(ScaleToDpi(-1, 120), -1);
}

struct CornerRow {
  std::string name;
  int64_t screenWidth, screenHeight;  // twips
  TwipsPoint corner;
};
class WindowCornerTest : public testing::TestWithParam<CornerRow> {};
TEST_P(WindowCornerTest, CentredAcrossAThirdFromTheTop) {
  EXPECT_EQ(WindowCornerTwips(GetParam().screenWidth, GetParam().screenHeight), GetParam().corner);
}
INSTANTIATE_TEST_SUITE_P(
    Screens, WindowCornerTest,
    // 1024 × 768 at 15 twips a pixel: (15360 − 9770) / 2 = 2795, (11520 − 5950) / 3 = 1856.67 → 1856.
    testing::Values(CornerRow{"Xga96", 15360, 11520, {2795, 1856}},
                    // At 10 twips a pixel (144 dpi): 470 / 2 = 235, 1730 / 3 = 576.67 → 576.
                    CornerRow{"Xga144", 10240, 7680, {235, 576}},
                    CornerRow{"ExactFit", 9770, 5950, {0, 0}},
                    // Smaller than the window: negative, remainder dropped toward zero.
                    CornerRow{"ScreenSmallerThanWindow", 9761, 5940, {-4, -3}}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::dialog
