// The real Command button hosted in a test window and driven with the
// system's pointer and mouse buttons: what each look shows on the screen,
// when the hot look ends, and which releases raise Click.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "control_host.h"
#include "saver/controls/button/command.h"
#include "saver_resources.h"
#include "support/program_driver.h"
#include "support/screen_capture.h"

namespace ventalune::wine_test {
namespace {

using button::ButtonState;
using button::Skin;

constexpr int kWidth = 120;
constexpr int kHeight = 40;

// The outer line of each skin, as tools/make_control_art draws it.
constexpr Rgb kNormalLine{84, 78, 128};
constexpr Rgb kHighLightLine{232, 152, 36};
constexpr Rgb kSelectedLine{36, 84, 204};
constexpr Rgb kHighLightSelectLine{200, 112, 148};
constexpr Rgb kPressedLine{52, 36, 96};
constexpr Rgb kDisableLine{150, 150, 150};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kLavender{198, 197, 215};

int Brightness(Rgb c) { return c.r + c.g + c.b; }

// The skins as the settings dialog loads them: the saver's pictures under
// its own resource numbers (button_skins.rc). Null unless all six load.
std::shared_ptr<button::ButtonSkins> SaverSkins() {
  auto skins = std::make_shared<button::ButtonSkins>();
  if (!skins->Load(GetModuleHandleA(nullptr), {IDR_BUTTON_NORMAL, IDR_BUTTON_HIGHLIGHT, IDR_BUTTON_SELECTED,
                                               IDR_BUTTON_HIGHLIGHT_SELECT, IDR_BUTTON_PRESSED, IDR_BUTTON_DISABLE}))
    return nullptr;
  return skins;
}

class ButtonControlTest : public testing::Test {
 protected:
  void SetUp() override {
    host_ = std::make_unique<ControlHost>(100, 100, 300, 150);
    const auto skins = SaverSkins();
    ASSERT_TRUE(skins) << "the program does not carry the six skins";
    ASSERT_TRUE(button_.Create(host_->window(), 20, 20, kWidth, kHeight, skins, {}));
    button_.SetCaption("Go");
    button_.Click = [this] { ++clicks_; };
    button_.Initialize();
    MovePointer(Away());
    Settle();
  }
  void TearDown() override {
    if (GetAsyncKeyState(VK_LBUTTON) < 0) MouseButtonEvent(MOUSEEVENTF_LEFTUP);
    MovePointer(Away());
    Settle();
  }

  // Input travels through the window system before our window sees it;
  // where no state change can be waited for, let it arrive.
  static void Settle() { WaitFor([] { return false; }, std::chrono::milliseconds(150)); }
  bool WaitForSkin(Skin skin) {
    return WaitFor([&] { return button_.shownSkin() == skin; }, 2s);
  }
  bool WaitForHoverEnd() {
    return WaitFor(
        [&] { return button_.state() != ButtonState::Hot && button_.state() != ButtonState::HotFocused; }, 2s);
  }
  // On the face above the caption, on the caption, and on the host's background.
  POINT Face() const { return host_->Screen(button_.window(), 10, 5); }
  POINT OnCaption() const { return host_->Screen(button_.window(), kWidth / 2, kHeight / 2); }
  POINT Away() const { return host_->Screen(host_->window(), 250, 120); }
  Rgb Pixel(const ScreenPicture& screen, int x, int y) const {
    const POINT at = host_->Screen(button_.window(), x, y);
    return screen.at(at.x, at.y);
  }

  std::unique_ptr<ControlHost> host_;
  button::Command button_;
  int clicks_ = 0;
};

enum class Reach { Plain, PointerOver, Focus, FocusThenPointer, PointerThenPress, Disabled };

struct LookRow {
  std::string name;
  Reach reach;
  Skin skin;
  Rgb line;
  bool reversed;  // lavender at the top
};

class ButtonLookTest : public ButtonControlTest, public testing::WithParamInterface<LookRow> {};

TEST_P(ButtonLookTest, ShowsItsSkinFrameAndGradient) {
  const LookRow& row = GetParam();
  switch (row.reach) {
    case Reach::Plain:
      button_.SetCaption("Go");  // repaints nothing by itself; the look is the first one
      break;
    case Reach::PointerOver:
      MovePointer(Face());
      break;
    case Reach::Focus:
      SetFocus(button_.window());
      break;
    case Reach::FocusThenPointer:
      SetFocus(button_.window());
      MovePointer(Face());
      break;
    case Reach::PointerThenPress:
      MovePointer(Face());
      ASSERT_TRUE(WaitForSkin(Skin::HighLight));
      MouseButtonEvent(MOUSEEVENTF_LEFTDOWN);
      break;
    case Reach::Disabled:
      button_.SetEnabled(false);
      break;
  }
  ASSERT_TRUE(WaitForSkin(row.skin)) << "shows " << static_cast<int>(button_.shownSkin().value_or(Skin::Normal));

  ScreenPicture screen;
  const bool drawn = WaitFor(
      [&] {
        screen = CaptureScreen();
        return ColourNear(Pixel(screen, kWidth / 2, 0), row.line, 0);
      },
      2s);
  if (!drawn) screen.SaveBmp("C:\\button_look_failure.bmp");
  ASSERT_TRUE(drawn) << "top edge " << int(Pixel(screen, kWidth / 2, 0).r) << ","
                     << int(Pixel(screen, kWidth / 2, 0).g) << "," << int(Pixel(screen, kWidth / 2, 0).b);
  // The skin's frame lies on all four edges, stretched along them.
  for (const auto& [x, y] : {std::pair{0, kHeight / 2}, {kWidth - 1, kHeight / 2}, {kWidth / 2, kHeight - 1},
                            {5, 0}, {kWidth - 6, kHeight - 1}})
    EXPECT_TRUE(ColourNear(Pixel(screen, x, y), row.line, 0)) << x << "," << y;
  // Inside the frame, left of the caption: the gradient from edge to edge.
  const Rgb top = Pixel(screen, 6, 4);
  const Rgb bottom = Pixel(screen, 6, kHeight - 5);
  EXPECT_TRUE(ColourNear(top, row.reversed ? kLavender : kWhite, 16));
  EXPECT_TRUE(ColourNear(bottom, row.reversed ? kWhite : kLavender, 16));
  EXPECT_EQ(Brightness(top) > Brightness(bottom), !row.reversed);
  // The caption: dark text when enabled, none when disabled (greyed).
  int dark = 0;
  for (int y = 8; y < kHeight - 8; ++y)
    for (int x = kWidth / 2 - 12; x < kWidth / 2 + 12; ++x) dark += Brightness(Pixel(screen, x, y)) < 150;
  EXPECT_EQ(dark > 0, row.reach != Reach::Disabled) << dark << " dark caption pixels";
}

INSTANTIATE_TEST_SUITE_P(Looks, ButtonLookTest,
                         testing::Values(LookRow{"Normal", Reach::Plain, Skin::Normal, kNormalLine, false},
                                         LookRow{"Hot", Reach::PointerOver, Skin::HighLight, kHighLightLine, true},
                                         LookRow{"Focused", Reach::Focus, Skin::Selected, kSelectedLine, false},
                                         LookRow{"HotAndFocused", Reach::FocusThenPointer, Skin::HighLightSelect,
                                                 kHighLightSelectLine, false},
                                         LookRow{"Pressed", Reach::PointerThenPress, Skin::Pressed, kPressedLine, true},
                                         LookRow{"Disabled", Reach::Disabled, Skin::Disable, kDisableLine, false}),
                         [](const testing::TestParamInfo<LookRow>& row) { return row.param.name; });

TEST_F(ButtonControlTest, HoverEndsAfterThePointerLeaves) {
  MovePointer(Face());
  ASSERT_TRUE(WaitForSkin(Skin::HighLight));
  MovePointer(Away());
  EXPECT_TRUE(WaitForSkin(Skin::Normal));
  EXPECT_EQ(button_.state(), ButtonState::Normal);
}

TEST_F(ButtonControlTest, PointerOnTheCaptionKeepsHover) {
  MovePointer(Face());
  ASSERT_TRUE(WaitForSkin(Skin::HighLight));
  MovePointer(OnCaption());
  // Several ticks of the pointer watch pass without ending the hot look.
  EXPECT_FALSE(WaitFor([&] { return button_.state() != ButtonState::Hot; }, 600ms));
  MovePointer(Away());
  EXPECT_TRUE(WaitForSkin(Skin::Normal));
}

// Property changes and resizing repaint the enabled look without touching
// the state, so the face can differ from the state until the next event.
struct RepaintRow {
  std::string name;
  void (*change)(button::Command& button);
  Skin skin;
  bool opaque;  // the face shows; otherwise the host's grey shows through
};

class ButtonRepaintTest : public ButtonControlTest, public testing::WithParamInterface<RepaintRow> {};

TEST_P(ButtonRepaintTest, FocusedButtonRepaintsWithoutChangingState) {
  const RepaintRow& row = GetParam();
  SetFocus(button_.window());
  ASSERT_TRUE(WaitForSkin(Skin::Selected));
  row.change(button_);
  EXPECT_EQ(button_.shownSkin(), row.skin);
  EXPECT_EQ(button_.state(), ButtonState::Focused);
  ScreenPicture screen;
  const Rgb grey{128, 128, 128};
  EXPECT_TRUE(WaitFor(
      [&] {
        screen = CaptureScreen();
        return ColourNear(Pixel(screen, 6, 4), grey, 0) != row.opaque;
      },
      2s))
      << "face pixel " << int(Pixel(screen, 6, 4).r) << "," << int(Pixel(screen, 6, 4).g) << ","
      << int(Pixel(screen, 6, 4).b);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ButtonRepaintTest,
    testing::Values(
        RepaintRow{"Resized", [](button::Command& b) { SetWindowPos(b.window(), nullptr, 0, 0, 100, 36,
                                                                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE); },
                   Skin::Normal, true},
        RepaintRow{"EnabledRefreshed", [](button::Command& b) { EXPECT_TRUE(b.RefreshEnabled()); }, Skin::Normal,
                   true},
        RepaintRow{"DisabledRefreshed", [](button::Command& b) {
                     b.SetEnabled(false);
                     EXPECT_FALSE(b.RefreshEnabled());
                   },
                   Skin::Disable, true},
        RepaintRow{"FontColourWritten", [](button::Command& b) { b.SetFontColour(RGB(0, 0, 160)); }, Skin::Normal,
                   true},
        // Not hidden: the caption stays, the parent shows round it.
        RepaintRow{"MadeTransparent", [](button::Command& b) { b.SetOpaque(false); }, Skin::Selected, false}),
    [](const testing::TestParamInfo<RepaintRow>& row) { return row.param.name; });

// One letter per action: o pointer onto the face, c onto the caption, a
// away (until the hot look has ended), D/U left button down/up, R/r right
// button down/up, x disable the button.
struct ClickRow {
  std::string name;
  std::string actions;
  int clicks;
};

class ButtonClickTest : public ButtonControlTest, public testing::WithParamInterface<ClickRow> {};

TEST_P(ButtonClickTest, ReleasesRaiseClick) {
  const ClickRow& row = GetParam();
  for (char action : row.actions) {
    switch (action) {
      case 'o': MovePointer(Face()); break;
      case 'c': MovePointer(OnCaption()); break;
      case 'a':
        MovePointer(Away());
        ASSERT_TRUE(WaitForHoverEnd());
        break;
      case 'D': MouseButtonEvent(MOUSEEVENTF_LEFTDOWN); break;
      case 'U': MouseButtonEvent(MOUSEEVENTF_LEFTUP); break;
      case 'R': MouseButtonEvent(MOUSEEVENTF_RIGHTDOWN); break;
      case 'r': MouseButtonEvent(MOUSEEVENTF_RIGHTUP); break;
      case 'x': button_.SetEnabled(false); break;
      default: FAIL() << "unknown action " << action;
    }
    Settle();
  }
  EXPECT_EQ(clicks_, row.clicks);
}

INSTANTIATE_TEST_SUITE_P(Releases, ButtonClickTest,
                         testing::Values(ClickRow{"PressAloneRaisesNothing", "oD", 0},
                                         ClickRow{"LeftRelease", "oDU", 1},
                                         ClickRow{"RightReleaseOnAHotButton", "oRr", 1},
                                         ClickRow{"ReleaseOnTheCaption", "cDU", 1},
                                         ClickRow{"TwoClicks", "oDUDU", 2},
                                         ClickRow{"ReleaseAfterThePointerLeft", "oDaU", 0},
                                         ClickRow{"ComingBackWhileHeldStillNoClick", "oDaoU", 0},
                                         ClickRow{"DisabledNeverClicks", "xoDUoRr", 0}),
                         [](const testing::TestParamInfo<ClickRow>& row) { return row.param.name; });

}  // namespace
}  // namespace ventalune::wine_test
