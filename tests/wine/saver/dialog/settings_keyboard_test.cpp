// The real settings dialog from the keyboard alone, with real key events
// through the X server; its English texts outside Japanese Windows; and its
// path boxes with paths that do not fit.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "control_host.h"
#include "dialog_driver.h"
#include "saver/dialog/dialog_layout.h"
#include "saver/settings/settings_keys.h"
#include "support/bitmap_file.h"
#include "test_folders.h"

namespace ventalune::wine_test {
namespace {

using dialog::ElementId;
using namespace std::chrono_literals;

std::string Settings(const std::string& pictureKind, const std::string& pictureFile, const std::string& bgmKind) {
  return IniText({{settings::kKeyPictureKind, pictureKind},
                  {settings::kKeyPictureFile, pictureFile},
                  {settings::kKeyBgmKind, bgmKind},
                  {settings::kKeyBgmRepeatTrack, " 0"},
                  {settings::kKeyBgmFile, ""},
                  {settings::kKeyMonitors, " 0"}});
}

// The value of one key in the settings file's text.
std::string IniValue(const std::string& text, const std::string& key) {
  const size_t at = text.find(key + "=");
  if (at == std::string::npos) return {};
  const size_t start = at + key.size() + 1;
  return text.substr(start, text.find_first_of("\r\n", start) - start);
}

class DialogKeysTest : public testing::Test {
 protected:
  void TearDown() override {
    if (HasFailure()) CaptureScreen().SaveBmp(TestProgramFolder() + "\\settings-keys-failure.bmp");
  }
  void Open(const std::string& ini) {
    DialogRun::SetIni(&ini);
    ASSERT_TRUE(run_.Open());
    SetForegroundWindow(run_.window());
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == run_.window(); }, 5s));
  }
  DialogRun run_;
};

struct KeysRow {
  std::string name;
  std::vector<WORD> keys;  // VK_SHIFT stands for Shift held with the next key
  std::string bgmKind;     // written, as the file holds it
  std::string monitors = "0";
};
class KeyboardOnlyTest : public DialogKeysTest, public testing::WithParamInterface<KeysRow> {};

// The desktop picture and no music: the picture "..." is disabled, so Tab
// goes from the picture options to the monitors options beside them, and on
// to the music options. The music options run top to bottom: audio CD, none,
// sound file.
TEST_P(KeyboardOnlyTest, SavesWhatTheKeysChose) {
  Open(Settings(" 0", "", " 0"));
  for (size_t i = 0; i < GetParam().keys.size(); ++i) {
    const WORD key = GetParam().keys[i];
    if (key == VK_SHIFT && i + 1 < GetParam().keys.size()) {
      KeyDown(VK_SHIFT);
      PressKey(GetParam().keys[++i]);
      KeyUp(VK_SHIFT);
    } else {
      PressKey(key);
    }
  }
  ASSERT_TRUE(run_.Ended());
  EXPECT_EQ(IniValue(DialogRun::IniBytes(), settings::kKeyBgmKind), GetParam().bgmKind);
  EXPECT_EQ(IniValue(DialogRun::IniBytes(), settings::kKeyMonitors), GetParam().monitors);
}
INSTANTIATE_TEST_SUITE_P(
    Keys, KeyboardOnlyTest,
    testing::Values(
        // Up to the CD, then past the repeat box and the disabled "..." to Save.
        KeysRow{"TabArrowTabToSaveEnter", {VK_TAB, VK_TAB, VK_UP, VK_TAB, VK_TAB, VK_RETURN}, "1"},
        KeysRow{"EnterInTheGroupSaves", {VK_TAB, VK_TAB, VK_DOWN, VK_RETURN}, "2"},
        KeysRow{"SpaceOnSave", {VK_TAB, VK_TAB, VK_RIGHT, VK_TAB, VK_TAB, VK_SPACE}, "2"},
        // Back from the music through the monitors and the start round to
        // Cancel... and one more back is Save.
        KeysRow{"ShiftTabRoundToSave", {VK_TAB, VK_TAB, VK_UP, VK_SHIFT, VK_TAB, VK_SHIFT, VK_TAB, VK_SHIFT, VK_TAB,
                                        VK_SHIFT, VK_TAB, VK_RETURN}, "1"},
        // The monitors group: down to the main monitor only, and back round.
        KeysRow{"TabToTheMonitorsDownSaves", {VK_TAB, VK_DOWN, VK_RETURN}, "0", "1"},
        KeysRow{"MonitorsArrowsGoRound", {VK_TAB, VK_RIGHT, VK_LEFT, VK_LEFT, VK_RETURN}, "0", "1"},
        KeysRow{"MonitorsLeftAloneStayEvery", {VK_TAB, VK_TAB, VK_DOWN, VK_RETURN}, "2", "0"}),
    [](const testing::TestParamInfo<KeysRow>& row) { return row.param.name; });

TEST_F(DialogKeysTest, EnterOnCancelWritesNothing) {
  const std::string before = Settings(" 0", "", " 0");
  Open(before);
  KeyDown(VK_SHIFT);
  PressKey(VK_TAB);
  KeyUp(VK_SHIFT);
  PressKey(VK_RETURN);
  ASSERT_TRUE(run_.Ended());
  EXPECT_EQ(DialogRun::IniBytes(), before);
}

// A "..." that had the focus goes disabled under it: Esc still closes.
TEST_F(DialogKeysTest, EscapeAfterTheFocusedButtonWentDisabled) {
  const std::string before = Settings(" 0", "", " 2");
  Open(before);
  // A press on the sound "..." gives it the focus; released elsewhere, it
  // does not open the chooser.
  run_.Press(run_.Centre(ElementId::CmdBgm), MOUSEEVENTF_LEFTDOWN);
  MovePointer(run_.Centre(ElementId::Lbl9));
  run_.Release(MOUSEEVENTF_LEFTUP);
  run_.Click(run_.Centre(ElementId::LblBgm0));
  ASSERT_TRUE(WaitFor([&] { return run_.MarkAt(ElementId::ImgBgm0) == Mark::Selected; }, 5s));
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(run_.Ended());
  EXPECT_EQ(DialogRun::IniBytes(), before);
}

TEST(DialogLanguageTest, EnglishOutsideJapaneseWindows) {
  if (PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE) GTEST_SKIP() << "a Japanese display language";
  const std::string ini = Settings(" 0", "", " 0");
  DialogRun::SetIni(&ini);
  DialogRun run;
  ASSERT_TRUE(run.Open());
  const auto text = [&](const char* name) {
    wchar_t buffer[64] = {};
    GetWindowTextW(run.Element(name), buffer, 64);
    return std::wstring(buffer);
  };
  EXPECT_EQ(text("Cmd_Set"), L"Save");
  EXPECT_EQ(text("Cmd_Can"), L"Cancel");
  EXPECT_EQ(text("Pic_D(0)"), L"Picture");
  EXPECT_EQ(text("Pic_D(1)"), L"Music");
  EXPECT_EQ(text("Pic_D(2)"), L"Show on");
  PostMessageW(run.window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(run.Ended());
}

// Dark pixels in a rectangle of the screen.
int DarkPixels(const ScreenPicture& screen, RECT area) {
  int dark = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      const Rgb p = screen.at(x, y);
      if (p.r < 100 && p.g < 100 && p.b < 100) ++dark;
    }
  return dark;
}

struct LongPathRow {
  std::string name;
  std::vector<std::string> folders;  // below the install folder
  std::string file;
};
class PathBoxTest : public DialogKeysTest, public testing::WithParamInterface<LongPathRow> {};

// The path stays inside its box, and the desktop caption's press clears
// the box to its background.
TEST_P(PathBoxTest, ShownInsideTheBoxAndClearedWithoutTrace) {
  std::string path = DialogRun::Installed("");
  path.pop_back();
  for (const std::string& folder : GetParam().folders) {
    path += "\\" + folder;
    CreateDirectoryA(path.c_str(), nullptr);
  }
  path += "\\" + GetParam().file;
  ASSERT_TRUE(WriteBmpFile(path, 40, 30, [](int, int) { return Rgb{0, 128, 0}; }));
  Open(Settings(" 1", path, " 0"));

  // The box, and a band as tall as it just below it, within the frame.
  const POINT boxTopLeft = run_.ScreenPoint(ElementId::LblFname1, 0, 0);
  const dialog::PixelRect box = dialog::ElementRect(ElementId::LblFname1, ExpectedDpi());
  const RECT inside{boxTopLeft.x + 2, boxTopLeft.y + 2, boxTopLeft.x + box.width - 2, boxTopLeft.y + box.height - 2};
  const RECT below{boxTopLeft.x, boxTopLeft.y + box.height + 1, boxTopLeft.x + box.width,
                   boxTopLeft.y + box.height + 1 + box.height / 2};
  const ScreenPicture shown = CaptureScreen();
  EXPECT_GT(DarkPixels(shown, inside), 0);
  const int belowBefore = DarkPixels(shown, below);

  run_.Click(run_.Centre(ElementId::LblSel0));
  ASSERT_TRUE(WaitFor([&] { return run_.MarkAt(ElementId::ImgSel0) == Mark::Selected; }, 5s));
  ASSERT_TRUE(WaitFor([&] { return DarkPixels(CaptureScreen(), inside) == 0; }, 5s));
  EXPECT_EQ(DarkPixels(CaptureScreen(), below), belowBefore);
  // Nothing of the path was drawn outside the box: the band below it looks
  // the same with and without a path shown, and has no text.
  EXPECT_EQ(belowBefore, 0);
  PostMessageW(run_.window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(run_.Ended());
}
INSTANTIATE_TEST_SUITE_P(
    Paths, PathBoxTest,
    testing::Values(LongPathRow{"TwoHundredCharacters",
                                {std::string(60, 'a'), std::string(60, 'b'), std::string(40, 'c')},
                                "picture.bmp"},
                    LongPathRow{"WithSpacesWrapsPastTheBox",
                                {"a folder with many words", "and another folder with words", "and a third one"},
                                "a picture with a long name.bmp"},
                    LongPathRow{"Ampersand", {"R&B"}, "Tom & Jerry.bmp"}),
    [](const testing::TestParamInfo<LongPathRow>& row) { return row.param.name; });

}  // namespace
}  // namespace ventalune::wine_test
