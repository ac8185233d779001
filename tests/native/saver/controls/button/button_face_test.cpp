#include "saver/controls/button/button_face.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "row_name.h"

namespace ventalune::button {
namespace {

// Paints every border piece into a face-sized grid, each destination pixel
// recording the skin pixel it was stretched from (nearest neighbour), so
// gaps, overlaps and wrong source corners show.
struct FaceCase {
  std::string name;
  int32_t width, height;
};

class BorderPiecesTest : public testing::TestWithParam<FaceCase> {};

TEST_P(BorderPiecesTest, FrameCoversTheEdgesFromTheMatchingSkinEdges) {
  const auto& [name, width, height] = GetParam();
  std::vector<int> covered(static_cast<size_t>(width) * height, 0);
  for (const BorderPiece& piece : BorderPieces(width, height)) {
    const PixelRect& d = piece.destination;
    const PixelRect& s = piece.source;
    ASSERT_GE(s.x, 0);
    ASSERT_LE(s.x + s.width, kSkinWidth);
    ASSERT_LE(s.y + s.height, kSkinHeight);
    for (int32_t y = d.y; y < d.y + d.height; ++y)
      for (int32_t x = d.x; x < d.x + d.width; ++x) {
        ASSERT_TRUE(x >= 0 && x < width && y >= 0 && y < height) << x << "," << y;
        ++covered[static_cast<size_t>(y) * width + x];
        const int32_t sx = s.x + (x - d.x) * s.width / d.width;
        const int32_t sy = s.y + (y - d.y) * s.height / d.height;
        // The skin's own frame lands on the face's frame: a pixel near the
        // face's right edge comes from near the skin's right edge.
        EXPECT_EQ(x < kSkinBorder, sx < kSkinBorder) << x << "," << y;
        EXPECT_EQ(x >= width - kSkinBorder, sx >= kSkinWidth - kSkinBorder) << x << "," << y;
        EXPECT_EQ(y < kSkinBorder, sy < kSkinBorder) << x << "," << y;
        EXPECT_EQ(y >= height - kSkinBorder, sy >= kSkinHeight - kSkinBorder) << x << "," << y;
      }
  }
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const bool frame = x < kSkinBorder || y < kSkinBorder || x >= width - kSkinBorder || y >= height - kSkinBorder;
      EXPECT_EQ(covered[static_cast<size_t>(y) * width + x], frame ? 1 : 0) << x << "," << y;
    }
}

// Sizes of the dialog's buttons, the skin's own and a large one.
INSTANTIATE_TEST_SUITE_P(Faces, BorderPiecesTest,
                         testing::Values(FaceCase{"SkinSize", 64, 25}, FaceCase{"SmallChooser", 29, 21},
                                         FaceCase{"DialogButton", 69, 29}, FaceCase{"JustTheFrame", 8, 8},
                                         FaceCase{"WiderThan32767Twips", 2300, 40}),
                         testing_support::RowName());

TEST(BorderPiecesTest, FacesTooSmallForEdgesKeepOnlyTheCorners) {
  EXPECT_EQ(BorderPieces(8, 8).size(), 4u);
  EXPECT_TRUE(BorderPieces(0, 25).empty());
  EXPECT_TRUE(BorderPieces(64, -1).empty());
}

TEST(FaceGradientTest, HotFaceSwapsTheColours) {
  EXPECT_EQ(FaceGradientFor(false).top, kFaceLight);
  EXPECT_EQ(FaceGradientFor(false).bottom, kFaceShade);
  EXPECT_EQ(FaceGradientFor(true).top, kFaceShade);
  EXPECT_EQ(FaceGradientFor(true).bottom, kFaceLight);
}

struct CaptionCase {
  std::string name;
  int32_t faceHeight, labelHeight, dpi, top;
};

class CaptionTopTest : public testing::TestWithParam<CaptionCase> {};

TEST_P(CaptionTopTest, LabelSitsTwentyTwipsAboveTheMiddle) {
  const CaptionCase& row = GetParam();
  EXPECT_EQ(CaptionTop(row.faceHeight, row.labelHeight, row.dpi), row.top);
}

// 29 px face, 13 px label at 96 dpi: (435 − 195 − 20) / 2 = 110 twips = 7.33 px.
INSTANTIATE_TEST_SUITE_P(Faces, CaptionTopTest,
                         testing::Values(CaptionCase{"DialogButton", 29, 13, 96, 7},
                                         CaptionCase{"ChooserButton", 21, 13, 96, 3},
                                         CaptionCase{"At120Dpi", 36, 16, 120, 9},
                                         CaptionCase{"LabelTallerThanFace", 10, 16, 96, -4}),
                         testing_support::RowName());

}  // namespace
}  // namespace ventalune::button
