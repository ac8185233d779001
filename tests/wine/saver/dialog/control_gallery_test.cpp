// A picture for people to look at: the dialog's decorated panels with real
// buttons, and one button in each of its six looks, saved as
// gallery\controls.bmp beside the test program (tools/test turns it into
// out/gallery/controls.png).
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "control_host.h"
#include "dialog_art.h"
#include "saver/controls/button/command.h"
#include "saver/dialog/dialog_drawing.h"
#include "support/bitmap_file.h"
#include "support/program_driver.h"
#include "support/screen_capture.h"
#include "test_folders.h"

namespace ventalune::wine_test {
namespace {

using button::Skin;

constexpr int kWindowWidth = 473;
constexpr int kWindowHeight = 365;
constexpr int kButtonWidth = 69;
constexpr int kButtonHeight = 29;
constexpr int kGap = 8;

struct Region {
  int width = 0, height = 0;
  std::vector<Rgb> pixels;
};

Region Capture(const ScreenPicture& screen, POINT origin, int width, int height) {
  Region region{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) region.pixels.push_back(screen.at(origin.x + x, origin.y + y));
  return region;
}

TEST(ControlGalleryTest, SavesThePanelsAndEveryButtonLook) {
  ControlHost host(40, 40, kWindowWidth, kWindowHeight, /*visible=*/false);
  DialogArt art(host.window());
  ASSERT_TRUE(art.loaded);

  // The dialog's layout: background, two frames with their title plates and
  // titles, the preview, and the buttons.
  toolkit::PicturePanel base, pictureFrame, musicFrame, display, scratch;
  ASSERT_TRUE(base.Create(host.window(), 0, 0, kWindowWidth, kWindowHeight, {}));
  toolkit::PanelStyle framed;
  framed.border3d = true;
  ASSERT_TRUE(pictureFrame.Create(base.window(), 12, 12, 449, 125, framed));
  ASSERT_TRUE(musicFrame.Create(base.window(), 12, 148, 449, 145, framed));
  toolkit::PanelStyle displayStyle;
  displayStyle.background = GetSysColor(COLOR_WINDOW);
  ASSERT_TRUE(display.Create(pictureFrame.window(), 352, 28, 80, 80, displayStyle));
  toolkit::PanelStyle scratchStyle;
  scratchStyle.visible = false;
  scratchStyle.sizeToPicture = true;
  ASSERT_TRUE(scratch.Create(host.window(), -600, 0, 57, 53, scratchStyle));

  dialog::TileSurface(base, art.tile);
  dialog::TileSurface(pictureFrame, art.tile);
  dialog::TileSurface(musicFrame, art.tile);
  const std::array<dialog::FrameTitle, 2> titles{{{&pictureFrame, {8, 8}}, {&musicFrame, {8, 8}}}};
  dialog::DrawFrameTitles(titles, art.plate, art.mask);
  dialog::ShowPreview(TestDataFolder() + "\\preview-100x200.jpg", display, scratch);

  const auto font = toolkit::MakeFont({"Tahoma", 975, DEFAULT_CHARSET, 400});
  for (auto [frame, text] : {std::pair{&pictureFrame, "Picture"}, {&musicFrame, "BGM"}}) {
    toolkit::Label& label = frame->AddLabel();
    label.SetBounds(8, 12, 95, 13);
    label.SetAlignment(toolkit::Alignment::Centre);
    label.SetFont(font);
    label.SetText(text);
  }
  toolkit::Label& path = pictureFrame.AddLabel();
  path.SetBounds(40, 76, 305, 33);
  path.SetBorder(true);
  path.SetFont(font);
  path.SetText("C:\\Pictures\\preview-100x200.jpg");

  toolkit::AmbientProperties ambient;
  ambient.font = {"Tahoma", 975, DEFAULT_CHARSET, 400};
  const auto skins = TestSkins();
  button::Command choosePicture, chooseMusic, save, cancel;
  ASSERT_TRUE(choosePicture.Create(pictureFrame.window(), 140, 52, 29, 21, skins, ambient));
  ASSERT_TRUE(chooseMusic.Create(musicFrame.window(), 108, 72, 29, 21, skins, ambient));
  ASSERT_TRUE(save.Create(base.window(), 320, 324, kButtonWidth, kButtonHeight, skins, ambient));
  ASSERT_TRUE(cancel.Create(base.window(), 392, 324, kButtonWidth, kButtonHeight, skins, ambient));
  choosePicture.SetCaption("...");
  chooseMusic.SetCaption("...");
  save.SetCaption("OK");
  cancel.SetCaption("Cancel");
  for (button::Command* each : {&choosePicture, &chooseMusic, &save, &cancel}) each->Initialize();
  chooseMusic.SetEnabled(false);

  host.Show();
  const POINT away = host.Screen(base.window(), 200, 340);
  MovePointer(away);
  const POINT windowOrigin = host.Screen(base.window(), 0, 0);
  const POINT saveOrigin = host.Screen(save.window(), 0, 0);
  const POINT onSave = host.Screen(save.window(), 8, 5);
  ScreenPicture screen;
  ASSERT_TRUE(WaitFor(
      [&] {
        screen = CaptureScreen();
        return Same(screen.at(windowOrigin.x + 2, windowOrigin.y + 2), ImagePixel(art.tile, 2, 2));
      },
      5s));
  const Region window = Capture(screen, windowOrigin, kWindowWidth, kWindowHeight);

  // The button's six looks, reached as a person reaches them.
  std::vector<Region> looks;
  const auto captureLook = [&](Skin skin) {
    ASSERT_TRUE(WaitFor([&] { return save.shownSkin() == skin; }, 3s)) << static_cast<int>(skin);
    WaitFor([] { return false; }, 100ms);  // let the repaint reach the screen
    looks.push_back(Capture(CaptureScreen(), saveOrigin, kButtonWidth, kButtonHeight));
  };
  captureLook(Skin::Normal);
  MovePointer(onSave);
  captureLook(Skin::HighLight);
  MouseButtonEvent(MOUSEEVENTF_LEFTDOWN);
  captureLook(Skin::Pressed);
  MouseButtonEvent(MOUSEEVENTF_LEFTUP);
  captureLook(Skin::HighLightSelect);
  MovePointer(away);
  captureLook(Skin::Selected);
  save.SetEnabled(false);
  captureLook(Skin::Disable);
  ASSERT_EQ(looks.size(), 6u);

  // The window above, the six looks in a row below it on dark grey.
  const int width = kWindowWidth;
  const int height = kWindowHeight + 2 * kGap + kButtonHeight;
  const auto pixel = [&](int x, int y) -> Rgb {
    if (y < kWindowHeight) return window.pixels[static_cast<size_t>(y) * kWindowWidth + x];
    const int row = y - kWindowHeight - kGap;
    const int column = x - kGap;
    const int look = column / (kButtonWidth + kGap);
    const int inside = column % (kButtonWidth + kGap);
    if (row < 0 || row >= kButtonHeight || column < 0 || look >= 6 || inside >= kButtonWidth) return {64, 64, 64};
    return looks[look].pixels[static_cast<size_t>(row) * kButtonWidth + inside];
  };
  CreateDirectoryA((TestProgramFolder() + "\\gallery").c_str(), nullptr);
  const std::string file = TestProgramFolder() + "\\gallery\\controls.bmp";
  ASSERT_TRUE(WriteBmpFile(file, width, height, pixel));
  EXPECT_EQ(ReadBmpFile(file).width, width);
  // Each look differs from every other somewhere.
  for (size_t a = 0; a < looks.size(); ++a)
    for (size_t b = a + 1; b < looks.size(); ++b) {
      int differ = 0;
      for (size_t i = 0; i < looks[a].pixels.size(); ++i) differ += !Same(looks[a].pixels[i], looks[b].pixels[i]);
      EXPECT_GT(differ, 0) << "looks " << a << " and " << b << " are the same";
    }
}

}  // namespace
}  // namespace ventalune::wine_test
