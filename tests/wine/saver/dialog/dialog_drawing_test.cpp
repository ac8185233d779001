// The dialog's drawing on real picture panels in a test window: the tiled
// background and the frame titles drawn before the window is first shown,
// the picture preview from real BMP and JPEG files, and the zoom's
// rectangles.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "control_host.h"
#include "test_artwork.h"
#include "saver/dialog/dialog_drawing.h"
#include "saver/dialog/zoom.h"
#include "saver/toolkit/picture_panel.h"
#include "support/bitmap_file.h"
#include "support/program_driver.h"
#include "support/screen_capture.h"
#include "test_folders.h"

namespace ventalune::wine_test {
namespace {

TEST(DialogDrawingTest, TilesAndTitlesDrawnBeforeFirstShowAppearWhenShown) {
  ControlHost host(40, 40, 480, 380, /*visible=*/false);
  DialogArt art(host.window());
  ASSERT_TRUE(art.loaded);
  ASSERT_EQ(art.tile.width(), 563);
  ASSERT_EQ(art.tile.height(), 21);
  ASSERT_EQ(art.plate.width(), dialog::kPlateWidth);

  toolkit::PicturePanel base, frame;
  ASSERT_TRUE(base.Create(host.window(), 0, 0, 473, 365, {}));
  toolkit::PanelStyle framed;
  framed.border3d = true;
  ASSERT_TRUE(frame.Create(base.window(), 12, 12, 449, 125, framed));
  dialog::TileSurface(base, art.tile);
  dialog::TileSurface(frame, art.tile);
  const dialog::FrameTitle title{&frame, {8, 8}};
  dialog::DrawFrameTitles({&title, 1}, art.plate, art.mask);

  host.Show();
  const POINT baseOrigin = host.Screen(base.window(), 0, 0);
  const POINT frameOrigin = host.Screen(frame.window(), 0, 0);
  RECT frameOuter{};
  GetWindowRect(frame.window(), &frameOuter);

  // The expected screen: tiles everywhere; inside the plate's rectangle the
  // tile ANDed with the mask and ORed with the plate.
  const auto expectedFrame = [&](int x, int y) {
    const Rgb tile = ImagePixel(art.tile, x % 563, y % 21);
    if (x < 8 || y < 8 || x >= 8 + dialog::kPlateWidth || y >= 8 + dialog::kPlateHeight) return tile;
    const Rgb mask = ImagePixel(art.mask, x - 8, y - 8);
    const Rgb plate = ImagePixel(art.plate, x - 8, y - 8);
    return Rgb{static_cast<uint8_t>((tile.r & mask.r) | plate.r), static_cast<uint8_t>((tile.g & mask.g) | plate.g),
               static_cast<uint8_t>((tile.b & mask.b) | plate.b)};
  };
  int wrongBase = 0, wrongFrame = 0, plateShown = 0, tileRoundPlate = 0;
  ScreenPicture screen;
  WaitFor(
      [&] {
        screen = CaptureScreen();
        wrongBase = wrongFrame = plateShown = tileRoundPlate = 0;
        for (int y = 0; y < 365; ++y)
          for (int x = 0; x < 473; ++x) {
            const POINT at{baseOrigin.x + x, baseOrigin.y + y};
            if (PtInRect(&frameOuter, at)) continue;
            wrongBase += !Same(screen.at(at.x, at.y), ImagePixel(art.tile, x % 563, y % 21));
          }
        for (int y = 0; y < frame.height(); ++y)
          for (int x = 0; x < frame.width(); ++x)
            wrongFrame += !Same(screen.at(frameOrigin.x + x, frameOrigin.y + y), expectedFrame(x, y));
        // The plate's own shape: its corners keep the tile, its middle is the plate.
        for (int y = 0; y < dialog::kPlateHeight; ++y)
          for (int x = 0; x < dialog::kPlateWidth; ++x) {
            const Rgb shown = screen.at(frameOrigin.x + 8 + x, frameOrigin.y + 8 + y);
            const bool underShape = ImagePixel(art.mask, x, y).r == 0;
            plateShown += underShape && Same(shown, ImagePixel(art.plate, x, y));
            tileRoundPlate += !underShape && Same(shown, ImagePixel(art.tile, (8 + x) % 563, (8 + y) % 21));
          }
        return wrongBase == 0 && wrongFrame == 0;
      },
      5s);
  if (wrongBase || wrongFrame) screen.SaveBmp("C:\\dialog_tiles_failure.bmp");
  EXPECT_EQ(wrongBase, 0) << "background pixels that are not the tile's";
  EXPECT_EQ(wrongFrame, 0) << "frame pixels that are neither tile nor plate";
  EXPECT_GT(plateShown, dialog::kPlateWidth * dialog::kPlateHeight / 2);
  EXPECT_GT(tileRoundPlate, 0) << "the plate's rounded corners show the tiles";
}

struct PreviewRow {
  std::string name;
  std::string before;  // shown first ("" for nothing)
  std::string file;
  int width, height;   // of the preview
  bool picture;        // red left, blue right; otherwise empty
};

class ShowPreviewTest : public testing::TestWithParam<PreviewRow> {};

TEST_P(ShowPreviewTest, FitsThePictureIntoEightyPixels) {
  const PreviewRow& row = GetParam();
  ControlHost host(60, 60, 200, 150);
  toolkit::PanelStyle displayStyle;
  displayStyle.background = GetSysColor(COLOR_WINDOW);
  toolkit::PicturePanel display, scratch;
  ASSERT_TRUE(display.Create(host.window(), 20, 20, 80, 80, displayStyle));
  toolkit::PanelStyle scratchStyle;
  scratchStyle.visible = false;
  scratchStyle.sizeToPicture = true;
  ASSERT_TRUE(scratch.Create(host.window(), -600, 0, 57, 53, scratchStyle));

  const auto resolve = [](const std::string& file) {
    if (file.empty() || file.find('\\') != std::string::npos) return file;
    if (file == "not-a-picture.bmp") {
      // A bitmap header and then nothing: cut short before any pixel.
      const std::string path = TestDataFolder() + "\\" + file;
      WriteRawFile(path, {'B', 'M', 0x36, 0x10, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0});
      return path;
    }
    if (file.ends_with(".jpg")) return TestDataFolder() + "\\" + file;
    const size_t x = file.find('x');
    return MakeBmp(std::stoi(file.substr(0, x)), std::stoi(file.substr(x + 1)));
  };
  if (!row.before.empty()) dialog::ShowPreview(resolve(row.before), display, scratch);
  dialog::ShowPreview(resolve(row.file), display, scratch);

  RECT client{};
  GetClientRect(display.window(), &client);
  EXPECT_EQ(client.right, row.width);
  EXPECT_EQ(client.bottom, row.height);
  RECT placed{};
  GetWindowRect(display.window(), &placed);
  const POINT corner = host.Screen(host.window(), 20, 20);
  EXPECT_EQ(placed.left, corner.x) << "the top-left corner stays";
  EXPECT_EQ(placed.top, corner.y);
  if (row.width == 0) return;

  const Rgb background{GetRValue(displayStyle.background), GetGValue(displayStyle.background),
                       GetBValue(displayStyle.background)};
  const POINT origin = host.Screen(display.window(), 0, 0);
  ScreenPicture screen;
  const bool shown = WaitFor(
      [&] {
        screen = CaptureScreen();
        const Rgb left = screen.at(origin.x + row.width / 4, origin.y + row.height / 2);
        const Rgb right = screen.at(origin.x + row.width * 3 / 4, origin.y + row.height / 2);
        if (row.picture) return ColourNear(left, {255, 0, 0}, 40) && ColourNear(right, {0, 0, 255}, 40);
        for (int y = 0; y < row.height; ++y)
          for (int x = 0; x < row.width; ++x)
            if (!Same(screen.at(origin.x + x, origin.y + y), background)) return false;
        return true;
      },
      5s);
  if (!shown) screen.SaveBmp("C:\\preview_failure.bmp");
  EXPECT_TRUE(shown) << (row.picture ? "red left and blue right" : "an empty preview");
}

INSTANTIATE_TEST_SUITE_P(
    Files, ShowPreviewTest,
    testing::Values(PreviewRow{"Landscape160x120Bmp", "", "160x120", 80, 60, true},
                    PreviewRow{"Portrait100x200Jpeg", "", "preview-100x200.jpg", 40, 80, true},
                    PreviewRow{"Square300x300Bmp", "", "300x300", 80, 80, true},
                    PreviewRow{"Small40x30JpegEnlarged", "", "preview-40x30.jpg", 80, 60, true},
                    // Stored landscape, tagged to be turned a quarter clockwise: a portrait photo.
                    PreviewRow{"PhotoTaggedUpright", "", "upright-6-halves-1200x800.jpg", 53, 80, true},
                    // Far beyond what a picture surface holds at full size: shown reduced.
                    PreviewRow{"Huge12000x6000JpegReduced", "", "large-12000x6000.jpg", 80, 40, true},
                    PreviewRow{"Hairline1x1000Bmp", "", "1x1000", 0, 80, false},
                    PreviewRow{"MissingFileAfterALargerPicture", "300x300", "C:\\no-such-picture.bmp", 80, 80, false},
                    PreviewRow{"EmptyPathAfterAPicture", "160x120", "", 80, 80, false},
                    PreviewRow{"NotAPictureAfterAPicture", "160x120", "not-a-picture.bmp", 80, 80, false},
                    PreviewRow{"PictureAfterAMissingFile", "C:\\no-such-picture.bmp", "160x120", 80, 60, true}),
    [](const testing::TestParamInfo<PreviewRow>& row) { return row.param.name; });

struct ZoomRow {
  std::string name;
  dialog::ZoomPoint origin;
  bool windowGone;
};

class ZoomTest : public testing::TestWithParam<ZoomRow> {};

TEST_P(ZoomTest, OpensFromTheOriginAndClosesBackToIt) {
  const ZoomRow& row = GetParam();
  ControlHost host(150, 120, 320, 200);
  dialog::ZoomOrigin = row.origin;
  RECT frame{};
  GetWindowRect(host.window(), &frame);
  HWND window = host.window();
  if (row.windowGone) {
    window = nullptr;
    frame = {};
  }
  const RECT point{row.origin.x, row.origin.y, row.origin.x, row.origin.y};
  const dialog::ZoomRects open = dialog::ZoomOpenRects(window);
  const dialog::ZoomRects close = dialog::ZoomCloseRects(window);
  EXPECT_TRUE(EqualRect(&open.from, &point));
  EXPECT_TRUE(EqualRect(&open.to, &frame));
  EXPECT_TRUE(EqualRect(&close.from, &frame));
  EXPECT_TRUE(EqualRect(&close.to, &point));
  // The animations play and return; the pointer may have moved meanwhile.
  dialog::ZoomOpen(window);
  SetCursorPos(10, 10);
  dialog::ZoomClose(window);
  const dialog::ZoomRects afterwards = dialog::ZoomCloseRects(window);
  EXPECT_TRUE(EqualRect(&afterwards.to, &point));
}

INSTANTIATE_TEST_SUITE_P(Origins, ZoomTest,
                         testing::Values(ZoomRow{"PointerAt800x600", {800, 600}, false},
                                         ZoomRow{"NoPointerPosition", {0, 0}, false},
                                         ZoomRow{"WindowFrameUnreadable", {800, 600}, true}),
                         [](const testing::TestParamInfo<ZoomRow>& row) { return row.param.name; });

}  // namespace
}  // namespace ventalune::wine_test
