// A picture for people to look at: the dialog's decorated panels with real
// buttons, laid out by the dialog's own table at 96 dpi, and one button in
// each of its six looks, saved as gallery\controls.bmp beside the test
// program (tools/test turns it into out/gallery/controls.png).
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "control_host.h"
#include "test_artwork.h"
#include "saver/controls/button/command.h"
#include "saver/dialog/dialog_drawing.h"
#include "saver/dialog/dialog_layout.h"
#include "support/bitmap_file.h"
#include "support/program_driver.h"
#include "support/screen_capture.h"
#include "test_folders.h"

namespace ventalune::wine_test {
namespace {

using button::Skin;
using dialog::ElementId;
using dialog::PixelRect;

PixelRect At(ElementId id) { return dialog::ElementRect(id, dialog::kLayoutDpi); }

const PixelRect kWindow = At(ElementId::PicBase);
const PixelRect kButton = At(ElementId::CmdSet);
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

// The dialog's panels in the containers the table names: the host window
// stands for the dialog's own.
struct Panels {
  toolkit::PicturePanel base, pictureFrame, musicFrame;
  HWND window = nullptr;

  HWND Parent(ElementId id) const {
    switch (dialog::PlaceOf(id).container) {
      case dialog::Container::Window:
        return window;
      case dialog::Container::PicBase:
        return base.window();
      case dialog::Container::PicD0:
        return pictureFrame.window();
      case dialog::Container::PicD1:
        return musicFrame.window();
      case dialog::Container::PicD2:  // the gallery has no monitors group
        return nullptr;
    }
    return nullptr;
  }
  toolkit::PicturePanel& Panel(ElementId id) {
    switch (dialog::PlaceOf(id).container) {
      case dialog::Container::PicD0:
        return pictureFrame;
      case dialog::Container::PicD1:
        return musicFrame;
      default:  // the window's elements lie on the background panel, which fills it
        return base;
    }
  }
  bool Create(toolkit::PicturePanel& panel, ElementId id, const toolkit::PanelStyle& style) const {
    const PixelRect r = At(id);
    return panel.Create(Parent(id), r.x, r.y, r.width, r.height, style);
  }
  toolkit::Label& AddLabel(ElementId id) {
    const PixelRect r = At(id);
    toolkit::Label& label = Panel(id).AddLabel();
    label.SetBounds(r.x, r.y, r.width, r.height);
    return label;
  }
  bool CreateButton(button::Command& command, ElementId id, std::shared_ptr<const button::ButtonSkins> skins,
                    const toolkit::AmbientProperties& ambient) const {
    const PixelRect r = At(id);
    return command.Create(Parent(id), r.x, r.y, r.width, r.height, std::move(skins), ambient);
  }
};

TEST(ControlGalleryTest, SavesThePanelsAndEveryButtonLook) {
  ControlHost host(40, 40, kWindow.width, kWindow.height, /*visible=*/false);
  DialogArt art(host.window());
  ASSERT_TRUE(art.loaded);

  // The dialog's layout: background, two frames with their title plates and
  // titles, the preview, and the buttons.
  Panels panels;
  panels.window = host.window();
  toolkit::PicturePanel display, scratch;
  ASSERT_TRUE(panels.Create(panels.base, ElementId::PicBase, {}));
  toolkit::PanelStyle framed;
  framed.border3d = true;
  ASSERT_TRUE(panels.Create(panels.pictureFrame, ElementId::PicD0, framed));
  ASSERT_TRUE(panels.Create(panels.musicFrame, ElementId::PicD1, framed));
  // As in the dialog, the frames lie above the background panel.
  for (const toolkit::PicturePanel* frame : {&panels.pictureFrame, &panels.musicFrame})
    SetWindowPos(frame->window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  toolkit::PanelStyle displayStyle;
  displayStyle.background = GetSysColor(COLOR_WINDOW);
  ASSERT_TRUE(panels.Create(display, ElementId::Display, displayStyle));
  toolkit::PanelStyle scratchStyle;
  scratchStyle.visible = false;
  scratchStyle.sizeToPicture = true;
  ASSERT_TRUE(scratch.Create(host.window(), -600, 0, 57, 53, scratchStyle));

  toolkit::PicturePanel& base = panels.base;
  dialog::TileSurface(base, art.tile);
  dialog::TileSurface(panels.pictureFrame, art.tile);
  dialog::TileSurface(panels.musicFrame, art.tile);
  const PixelRect plate0 = At(ElementId::ImgTT0), plate1 = At(ElementId::ImgTT1);
  const std::array<dialog::FrameTitle, 2> titles{
      {{&panels.pictureFrame, {plate0.x, plate0.y}}, {&panels.musicFrame, {plate1.x, plate1.y}}}};
  dialog::DrawFrameTitles(titles, art.plate, art.mask, {plate0.width, plate0.height});
  dialog::ShowPreview(TestDataFolder() + "\\preview-100x200.jpg", display, scratch);

  const auto font = toolkit::MakeFont({"Tahoma", 975, DEFAULT_CHARSET, 400});
  for (auto [id, text] : {std::pair{ElementId::Lbl0, "Picture"}, {ElementId::Lbl1, "BGM"}}) {
    toolkit::Label& label = panels.AddLabel(id);
    label.SetAlignment(toolkit::Alignment::Centre);
    label.SetFont(font);
    label.SetText(text);
  }
  toolkit::Label& path = panels.AddLabel(ElementId::LblFname1);
  path.SetBorder(true);
  path.SetFont(font);
  path.SetText("C:\\Pictures\\preview-100x200.jpg");

  toolkit::AmbientProperties ambient;
  ambient.font = {"Tahoma", 975, DEFAULT_CHARSET, 400};
  const auto& skins = art.artwork.skins;
  button::Command choosePicture, chooseMusic, save, cancel;
  ASSERT_TRUE(panels.CreateButton(choosePicture, ElementId::CmdPic, skins, ambient));
  ASSERT_TRUE(panels.CreateButton(chooseMusic, ElementId::CmdBgm, skins, ambient));
  ASSERT_TRUE(panels.CreateButton(save, ElementId::CmdSet, skins, ambient));
  ASSERT_TRUE(panels.CreateButton(cancel, ElementId::CmdCan, skins, ambient));
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
  const Region window = Capture(screen, windowOrigin, kWindow.width, kWindow.height);

  // The button's six looks, reached as a person reaches them.
  std::vector<Region> looks;
  const auto captureLook = [&](Skin skin) {
    ASSERT_TRUE(WaitFor([&] { return save.shownSkin() == skin; }, 3s)) << static_cast<int>(skin);
    WaitFor([] { return false; }, 100ms);  // let the repaint reach the screen
    looks.push_back(Capture(CaptureScreen(), saveOrigin, kButton.width, kButton.height));
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
  const int width = kWindow.width;
  const int height = kWindow.height + 2 * kGap + kButton.height;
  const auto pixel = [&](int x, int y) -> Rgb {
    if (y < kWindow.height) return window.pixels[static_cast<size_t>(y) * kWindow.width + x];
    const int row = y - kWindow.height - kGap;
    const int column = x - kGap;
    const int look = column / (kButton.width + kGap);
    const int inside = column % (kButton.width + kGap);
    if (row < 0 || row >= kButton.height || column < 0 || look >= 6 || inside >= kButton.width) return {64, 64, 64};
    return looks[look].pixels[static_cast<size_t>(row) * kButton.width + inside];
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
