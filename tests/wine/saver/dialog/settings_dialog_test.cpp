// The real settings dialog, "Ventalune.scr /c", as a person uses it: what
// it shows, what clicks on its options do, its file choosers, and what it
// writes (or does not write) to the settings file when it closes.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <optional>
#include <string>
#include <thread>

#include "control_host.h"
#include "dialog_driver.h"
#include "saver/dialog/dialog_layout.h"
#include "saver/settings/settings_keys.h"
#include "saver/toolkit/twips.h"
#include "support/bitmap_file.h"
#include "test_folders.h"

namespace ventalune::wine_test {
namespace {

using dialog::ElementId;
using settings::kKeyBgmFile;
using settings::kKeyBgmKind;
using settings::kKeyBgmRepeatTrack;
using settings::kKeyMonitors;
using settings::kKeyPictureFile;
using settings::kKeyPictureKind;

// A settings file with all six keys.
std::string Settings(const std::string& pictureKind, const std::string& pictureFile, const std::string& bgmKind,
                     const std::string& repeat, const std::string& bgmFile, const std::string& monitors = "0") {
  return IniText({{kKeyPictureKind, pictureKind},
                  {kKeyPictureFile, pictureFile},
                  {kKeyBgmKind, bgmKind},
                  {kKeyBgmRepeatTrack, repeat},
                  {kKeyBgmFile, bgmFile},
                  {kKeyMonitors, monitors}});
}

// A 160 × 120 picture in the installation folder.
std::string Picture() {
  const std::string path = DialogRun::Installed("sky.bmp");
  WriteBmpFile(path, 160, 120, [](int x, int) { return x < 80 ? Rgb{255, 0, 0} : Rgb{0, 0, 255}; });
  return path;
}

SIZE SizeOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

bool Sized(HWND window, int width, int height) {
  const SIZE size = SizeOf(window);
  return size.cx == width && size.cy == height;
}

int Dpi(int length) { return dialog::ScaleToDpi(length, ExpectedDpi()); }

class SettingsDialogTest : public testing::Test {
 protected:
  void TearDown() override {
    if (HasFailure()) CaptureScreen().SaveBmp(TestProgramFolder() + "\\settings-dialog-failure.bmp");
  }
  void OpenWith(const std::string& ini) {
    DialogRun::SetIni(&ini);
    ASSERT_TRUE(run_.Open());
  }
  void Save() {
    run_.Click(run_.Centre(ElementId::CmdSet));
    ASSERT_TRUE(run_.Ended());
  }
  DialogRun run_;
};

TEST_F(SettingsDialogTest, EveryWindowedElementAtItsPlaceAndSize) {
  DialogRun::SetIni(nullptr);
  ASSERT_TRUE(run_.Open());
  const int dpi = ExpectedDpi();

  // Outer size from twips; centred across with a third of the free height above.
  const int width = toolkit::TwipsToPixels(dialog::kWindowWidthTwips, dpi);
  const int height = toolkit::TwipsToPixels(dialog::kWindowHeightTwips, dpi);
  const dialog::TwipsPoint corner =
      dialog::WindowCornerTwips(toolkit::PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), dpi),
                                toolkit::PixelsToTwips(GetSystemMetrics(SM_CYSCREEN), dpi));
  RECT frame{};
  GetWindowRect(run_.window(), &frame);
  EXPECT_EQ(frame.right - frame.left, width);
  EXPECT_EQ(frame.bottom - frame.top, height);
  EXPECT_EQ(frame.left, toolkit::TwipsToPixels(corner.x, dpi));
  EXPECT_EQ(frame.top, toolkit::TwipsToPixels(corner.y, dpi));

  for (ElementId id : {ElementId::PicBase, ElementId::PicD0, ElementId::PicD1, ElementId::PicD2, ElementId::Display,
                       ElementId::CmdPic, ElementId::CmdBgm, ElementId::CmdSet, ElementId::CmdCan,
                       ElementId::UcAniGif1}) {
    const dialog::ElementPlace& place = dialog::PlaceOf(id);
    HWND element = run_.Element(place.name);
    ASSERT_NE(element, nullptr) << place.name;
    const dialog::PixelRect want = dialog::ElementRect(id, dpi);
    const RECT got = run_.RectInContainer(element);
    EXPECT_EQ(got.left, want.x) << place.name;
    EXPECT_EQ(got.top, want.y) << place.name;
    EXPECT_EQ(got.right - got.left, want.width) << place.name;
    EXPECT_EQ(got.bottom - got.top, want.height) << place.name;
  }
  const RECT box = run_.RectInContainer(run_.RepeatBox());
  const dialog::PixelRect want = dialog::ElementRect(ElementId::BgmRepeat, dpi);
  EXPECT_EQ(box.left, want.x);
  EXPECT_EQ(box.top, want.y);
  EXPECT_EQ(box.right - box.left, want.width);
  EXPECT_EQ(box.bottom - box.top, want.height);

  // The program carries the window's 32 × 32 icon (the window's own handle
  // cannot be read from another process here).
  const HMODULE program = LoadLibraryExA(DialogRun::Installed("Ventalune.scr").c_str(), nullptr,
                                         LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(program, nullptr);
  EXPECT_NE(LoadImageW(program, MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0), nullptr);
  FreeLibrary(program);

  // No settings: the desktop and no music, the choosers and the box disabled.
  EXPECT_EQ(run_.MarkAt(ElementId::ImgSel0), Mark::Selected);
  EXPECT_EQ(run_.MarkAt(ElementId::ImgSel1), Mark::NotSelected);
  EXPECT_EQ(run_.MarkAt(ElementId::ImgBgm0), Mark::Selected);
  EXPECT_EQ(run_.MarkAt(ElementId::ImgBgm1), Mark::NotSelected);
  EXPECT_EQ(run_.MarkAt(ElementId::ImgBgm2), Mark::NotSelected);
  EXPECT_EQ(run_.MarkAt(ElementId::ImgMon0), Mark::Selected);
  EXPECT_EQ(run_.MarkAt(ElementId::ImgMon1), Mark::NotSelected);
  EXPECT_FALSE(run_.ButtonLooksEnabled("Cmd_Pic"));
  EXPECT_FALSE(run_.ButtonLooksEnabled("Cmd_BGM"));
  EXPECT_TRUE(run_.ButtonLooksEnabled("Cmd_Can"));
  EXPECT_FALSE(IsWindowEnabled(run_.RepeatBox()));
  // The title plates are drawn under the frame titles (cream, not the tiles).
  for (ElementId title : {ElementId::ImgTT0, ElementId::ImgTT1, ElementId::ImgTT2}) {
    const POINT plate = run_.ScreenPoint(title, Dpi(47), Dpi(3));
    const Rgb cream = CaptureScreen().at(plate.x, plate.y);
    EXPECT_TRUE(cream.r > 230 && cream.g > 215)
        << dialog::PlaceOf(title).name << ": " << int(cream.r) << "," << int(cream.g) << "," << int(cream.b);
  }
  // The frame titles, the captions and the credit line show text.
  for (ElementId label : {ElementId::Lbl0, ElementId::LblSel0, ElementId::LblSel1, ElementId::Lbl1,
                          ElementId::LblBgm1, ElementId::Lbl2, ElementId::LblBgm0, ElementId::LblBgm2, ElementId::Lbl9,
                          ElementId::Lbl3, ElementId::LblMon0, ElementId::LblMon1})
    EXPECT_GT(run_.TextPixels(label), 5) << dialog::PlaceOf(label).name;
}

TEST_F(SettingsDialogTest, OnlyTheBannerAnimates) {
  DialogRun::SetIni(nullptr);
  ASSERT_TRUE(run_.Open());
  RECT dialogRect{}, banner{};
  GetWindowRect(run_.window(), &dialogRect);
  GetWindowRect(run_.Element("ucAniGIF1"), &banner);
  // The pointer away from the dialog, so nothing shows it hovering.
  MovePointer({5, 5});
  const ScreenPicture first = CaptureScreen();
  const auto differs = [&](const ScreenPicture& a, const ScreenPicture& b, bool inBanner) {
    for (int y = dialogRect.top; y < dialogRect.bottom; ++y)
      for (int x = dialogRect.left; x < dialogRect.right; ++x) {
        const POINT p{x, y};
        if (PtInRect(&banner, p) != inBanner) continue;
        const Rgb s = a.at(x, y), t = b.at(x, y);
        if (s.r != t.r || s.g != t.g || s.b != t.b) return true;
      }
    return false;
  };
  ScreenPicture later;
  ASSERT_TRUE(WaitFor([&] { return differs(first, later = CaptureScreen(), true); }, 3s));
  EXPECT_FALSE(differs(first, later, false));
}

TEST_F(SettingsDialogTest, PictureGroupSelectsOnAnyButtonPress) {
  const std::string picture = Picture();
  OpenWith(Settings("1", picture, "0", "0", ""));
  HWND display = run_.Element("Display");
  EXPECT_EQ(run_.MarkAt(ElementId::ImgSel1), Mark::Selected);
  EXPECT_TRUE(run_.ButtonLooksEnabled("Cmd_Pic"));
  EXPECT_TRUE(Sized(display, Dpi(80), Dpi(60)));
  EXPECT_GT(run_.TextPixels(ElementId::LblFname1), 20);

  // The right button on the desktop option's mark: selected, path and preview stay.
  run_.Press(run_.Centre(ElementId::ImgSel0), MOUSEEVENTF_RIGHTDOWN);
  EXPECT_TRUE(WaitFor([&] { return run_.MarkAt(ElementId::ImgSel0) == Mark::Selected; }, 5s));
  run_.Release(MOUSEEVENTF_RIGHTUP);
  EXPECT_EQ(run_.MarkAt(ElementId::ImgSel1), Mark::NotSelected);
  EXPECT_TRUE(WaitFor([&] { return !run_.ButtonLooksEnabled("Cmd_Pic"); }, 5s));
  EXPECT_TRUE(Sized(display, Dpi(80), Dpi(60)));
  EXPECT_GT(run_.TextPixels(ElementId::LblFname1), 20);

  // The middle button on the picture-file caption brings the option back.
  run_.Click(run_.Centre(ElementId::LblSel1), MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
  EXPECT_TRUE(WaitFor([&] { return run_.MarkAt(ElementId::ImgSel1) == Mark::Selected; }, 5s));
  EXPECT_TRUE(WaitFor([&] { return run_.ButtonLooksEnabled("Cmd_Pic"); }, 5s));

  // A press on the desktop caption also clears the path and the preview.
  run_.Click(run_.Centre(ElementId::LblSel0));
  EXPECT_TRUE(WaitFor([&] { return run_.MarkAt(ElementId::ImgSel0) == Mark::Selected; }, 5s));
  EXPECT_TRUE(WaitFor([&] { return Sized(display, Dpi(80), Dpi(80)); }, 5s));
  EXPECT_TRUE(WaitFor([&] { return run_.TextPixels(ElementId::LblFname1) == 0; }, 5s));

  // Choosing the file option again does not bring them back.
  run_.Click(run_.Centre(ElementId::ImgSel1));
  EXPECT_TRUE(WaitFor([&] { return run_.MarkAt(ElementId::ImgSel1) == Mark::Selected; }, 5s));
  EXPECT_EQ(run_.TextPixels(ElementId::LblFname1), 0);

  // The setting kept its file all along.
  Save();
  EXPECT_EQ(DialogRun::IniBytes(), Settings("1", picture, "0", "0", ""));
}

TEST_F(SettingsDialogTest, MusicGroupChoosesOnAClick) {
  // A hand-edited kind 5: no music mark, both music controls disabled.
  OpenWith(Settings("0", "", "5", "0", ""));
  for (ElementId mark : {ElementId::ImgBgm0, ElementId::ImgBgm1, ElementId::ImgBgm2})
    EXPECT_EQ(run_.MarkAt(mark), Mark::NotSelected) << dialog::PlaceOf(mark).name;
  EXPECT_FALSE(run_.ButtonLooksEnabled("Cmd_BGM"));
  EXPECT_FALSE(IsWindowEnabled(run_.RepeatBox()));

  // A press alone chooses nothing; the release on the caption does.
  run_.Press(run_.Centre(ElementId::LblBgm1), MOUSEEVENTF_LEFTDOWN);
  PumpMessages();
  EXPECT_EQ(run_.MarkAt(ElementId::ImgBgm1), Mark::NotSelected);
  run_.Release(MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(WaitFor([&] { return run_.MarkAt(ElementId::ImgBgm1) == Mark::Selected; }, 5s));
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(run_.RepeatBox()) != FALSE; }, 5s));
  EXPECT_FALSE(run_.ButtonLooksEnabled("Cmd_BGM"));

  // The sound-file mark: the chooser enabled, the box disabled again.
  run_.Click(run_.Centre(ElementId::ImgBgm2));
  EXPECT_TRUE(WaitFor([&] { return run_.MarkAt(ElementId::ImgBgm2) == Mark::Selected; }, 5s));
  EXPECT_TRUE(WaitFor([&] { return run_.ButtonLooksEnabled("Cmd_BGM"); }, 5s));
  EXPECT_FALSE(IsWindowEnabled(run_.RepeatBox()));
  EXPECT_EQ(run_.MarkAt(ElementId::ImgBgm1), Mark::NotSelected);
  EXPECT_EQ(run_.MarkAt(ElementId::ImgBgm0), Mark::NotSelected);
}

TEST_F(SettingsDialogTest, OutOfRangeMusicKindIsWrittenBackUnchanged) {
  const std::string before = Settings(" 0", "", " 5", " 0", "");
  OpenWith(before);
  Save();
  // Every key written with the value it had: the profile writer of this
  // platform leaves such a file as it was, leading blanks and all.
  EXPECT_EQ(DialogRun::IniBytes(), before);
}

struct MonitorsRow {
  const char* name;
  const char* stored;  // null: a file saved before there was a choice of monitors
  std::optional<ElementId> click;
  ElementId shown;      // the mark shown selected, before and after the click
  const char* written;
};
class MonitorsChoiceTest : public SettingsDialogTest, public testing::WithParamInterface<MonitorsRow> {};

// The choice shows as stored and is saved with the rest; a number only a
// hand edit makes shows as every monitor, as a run takes it, and is saved
// again as it was unless the user picks an option.
TEST_P(MonitorsChoiceTest, ShownAndSaved) {
  const MonitorsRow& row = GetParam();
  OpenWith(row.stored ? Settings("0", "", "0", "0", "", row.stored)
                      : IniText({{kKeyPictureKind, "0"},
                                 {kKeyPictureFile, ""},
                                 {kKeyBgmKind, "0"},
                                 {kKeyBgmRepeatTrack, "0"},
                                 {kKeyBgmFile, ""}}));
  const ElementId other = row.shown == ElementId::ImgMon0 ? ElementId::ImgMon1 : ElementId::ImgMon0;
  if (row.click) {
    run_.Click(run_.Centre(*row.click));
    EXPECT_TRUE(WaitFor([&] { return run_.MarkAt(row.shown) == Mark::Selected; }, 5s));
  }
  EXPECT_EQ(run_.MarkAt(row.shown), Mark::Selected);
  EXPECT_EQ(run_.MarkAt(other), Mark::NotSelected);
  Save();
  EXPECT_EQ(DialogRun::IniBytes(), Settings("0", "", "0", "0", "", row.written));
}
INSTANTIATE_TEST_SUITE_P(
    Choices, MonitorsChoiceTest,
    testing::Values(MonitorsRow{"OlderFileIsEveryMonitor", nullptr, std::nullopt, ElementId::ImgMon0, "0"},
                    MonitorsRow{"MainOnlyAsStored", "1", std::nullopt, ElementId::ImgMon1, "1"},
                    MonitorsRow{"CaptionChoosesMainOnly", "0", ElementId::LblMon1, ElementId::ImgMon1, "1"},
                    MonitorsRow{"MarkChoosesEvery", "1", ElementId::ImgMon0, ElementId::ImgMon0, "0"},
                    MonitorsRow{"HandEditedKeptUnchosen", "5", std::nullopt, ElementId::ImgMon0, "5"},
                    MonitorsRow{"HandEditedReplacedWhenChosen", "5", ElementId::LblMon0, ElementId::ImgMon0, "0"}),
    [](const testing::TestParamInfo<MonitorsRow>& row) { return std::string(row.param.name); });

struct StoredPictureRow {
  const char* name;
  const char* bytes;  // the file's content; null: no such file
  bool fileOptionKept;
  int64_t extendTo = 0;  // then the file is lengthened to this many bytes
  const char* copiedFrom = nullptr;  // else the content is this file of the test data
};

// Lengthens a file without writing its bytes (sparse where the disk allows).
bool Lengthen(const std::string& path, int64_t size) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER end{};
  end.QuadPart = size;
  const bool done = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  return done;
}
class StoredPictureTest : public SettingsDialogTest, public testing::WithParamInterface<StoredPictureRow> {};

// A stored picture that is away (an unplugged drive, say) or is no picture
// keeps its option, so saving does not lose the choice; either way the
// preview is empty at 80 × 80.
TEST_P(StoredPictureTest, UnusablePictureShowsAnEmptyPreview) {
  const std::string path = DialogRun::Installed("stored.bmp");
  DeleteFileA(path.c_str());
  if (GetParam().bytes) {
    const std::string bytes = GetParam().bytes;
    WriteRawFile(path, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    if (GetParam().extendTo) {
      ASSERT_TRUE(Lengthen(path, GetParam().extendTo));
    }
  } else if (GetParam().copiedFrom) {
    const std::vector<uint8_t> bytes = ReadRawFile(TestDataFolder() + "\\" + GetParam().copiedFrom);
    ASSERT_FALSE(bytes.empty()) << GetParam().copiedFrom;
    ASSERT_TRUE(WriteRawFile(path, bytes));
  }
  OpenWith(Settings("1", path, "0", "0", ""));
  const bool kept = GetParam().fileOptionKept;
  EXPECT_EQ(run_.MarkAt(ElementId::ImgSel0), kept ? Mark::NotSelected : Mark::Selected);
  EXPECT_EQ(run_.MarkAt(ElementId::ImgSel1), kept ? Mark::Selected : Mark::NotSelected);
  EXPECT_EQ(run_.ButtonLooksEnabled("Cmd_Pic"), kept);
  EXPECT_TRUE(Sized(run_.Element("Display"), Dpi(80), Dpi(80)));
  const POINT middle = run_.Centre(ElementId::Display);
  EXPECT_TRUE(ColourNear(CaptureScreen().at(middle.x, middle.y), Rgb{255, 255, 255}, 4));
  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutW(run_.window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer));
  // Still a working dialog.
  Save();
}

INSTANTIATE_TEST_SUITE_P(Files, StoredPictureTest,
                         testing::Values(StoredPictureRow{"Away", nullptr, true},
                                         // A bitmap header that ends after its first bytes.
                                         StoredPictureRow{"CutShortBitmap", "BM\x36\x00\x00", true},
                                         StoredPictureRow{"Text", "not a picture at all", true},
                                         // A bitmap header on a 3 GiB file: refused unread, the
                                         // dialog stays responsive.
                                         StoredPictureRow{"ThreeGigabytes", "BM\x36\x00\x00\xC0", true,
                                                          int64_t{3} << 30},
                                         // Declared over a ceiling in a few bytes: refused before
                                         // any decoder sets to work on them.
                                         StoredPictureRow{"StrayByteBeforeHugeJpegFrame", nullptr, true, 0,
                                                          "refused-stray-byte.jpg"},
                                         StoredPictureRow{"GifScreenOfLargestSize", nullptr, true, 0,
                                                          "refused-gif-screen.gif"},
                                         StoredPictureRow{"PngOnePixelHigh", nullptr, true, 0,
                                                          "refused-png-one-pixel-high.png"}),
                         [](const testing::TestParamInfo<StoredPictureRow>& row) {
                           return std::string(row.param.name);
                         });

struct RepeatRow {
  const char* name;
  const wchar_t* text;
  const char* written;
};
class RepeatBoxTest : public SettingsDialogTest, public testing::WithParamInterface<RepeatRow> {};

TEST_P(RepeatBoxTest, TextBecomesTheTrackWritten) {
  OpenWith(Settings("0", "", "1", "3", ""));
  SendMessageW(run_.RepeatBox(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(GetParam().text));
  Save();
  EXPECT_EQ(DialogRun::IniBytes(), Settings("0", "", "1", GetParam().written, ""));
}

// The file held track 3; the written values lose their leading blank here.
INSTANTIATE_TEST_SUITE_P(Texts, RepeatBoxTest,
                         testing::Values(RepeatRow{"Empty", L"", "0"}, RepeatRow{"Letters", L"abc", "0"},
                                         RepeatRow{"Seven", L"7", "7"}, RepeatRow{"HalfDownToEven", L"2.5", "2"},
                                         RepeatRow{"HalfUpToEven", L"3.5", "4"},
                                         RepeatRow{"OutOfRangeKeepsPrevious", L"40000", "3"}),
                         [](const testing::TestParamInfo<RepeatRow>& row) { return std::string(row.param.name); });

struct EndRow {
  const char* name;
  void (*end)(DialogRun&);
};
class EndWithoutSavingTest : public SettingsDialogTest, public testing::WithParamInterface<EndRow> {};

TEST_P(EndWithoutSavingTest, WritesNothing) {
  const std::string before = Settings(" 1", DialogRun::Installed("gone.bmp"), " 2", " 9", "");
  OpenWith(before);
  // Changes that a save would write.
  run_.Click(run_.Centre(ElementId::LblBgm1));
  ASSERT_TRUE(WaitFor([&] { return run_.MarkAt(ElementId::ImgBgm1) == Mark::Selected; }, 5s));
  GetParam().end(run_);
  ASSERT_TRUE(run_.Ended());
  EXPECT_EQ(DialogRun::IniBytes(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, EndWithoutSavingTest,
    testing::Values(EndRow{"Cancel", [](DialogRun& run) { run.Click(run.Centre(ElementId::CmdCan)); }},
                    EndRow{"Escape",
                           [](DialogRun& run) {
                             SetForegroundWindow(run.window());
                             PressKey(VK_ESCAPE);
                           }},
                    // What the close box and the system menu's Close send.
                    EndRow{"CloseBox",
                           [](DialogRun& run) { PostMessageW(run.window(), WM_SYSCOMMAND, SC_CLOSE, 0); }}),
    [](const testing::TestParamInfo<EndRow>& row) { return std::string(row.param.name); });

// The settings file held by another program for a moment (a backup, a
// virus scanner) without write sharing: the save waits for it and lands in
// it, not in a per-user file the next start would not read.
TEST_F(SettingsDialogTest, SaveWaitsForASettingsFileHeldForAMoment) {
  char appData[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)));
  const std::string userFile = std::string(appData) + "\\Ventalune\\Ventalune.ini";
  DeleteFileA(userFile.c_str());
  OpenWith(Settings(" 0", "", " 0", " 0", ""));
  run_.Click(run_.Centre(ElementId::LblBgm1));
  ASSERT_TRUE(WaitFor([&] { return run_.MarkAt(ElementId::ImgBgm1) == Mark::Selected; }, 5s));

  HANDLE held = CreateFileA(DialogRun::IniPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::thread release([held] {
    std::this_thread::sleep_for(1s);
    CloseHandle(held);
  });
  Save();
  release.join();
  // The profile writer drops the blank before a number.
  EXPECT_EQ(DialogRun::IniBytes(), Settings("0", "", "1", "0", ""));
  EXPECT_EQ(GetFileAttributesA(userFile.c_str()), INVALID_FILE_ATTRIBUTES);
}

// The settings file held by a program that shares it with nobody (a sync
// client, an editor) while the dialog opens: the profile functions would
// read it as empty, and a save would then write defaults over the user's
// choices. The dialog waits for it, or says it cannot read it and leaves it.
HANDLE HoldUnshared() {
  return CreateFileA(DialogRun::IniPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST_F(SettingsDialogTest, OpensWithTheUsersChoicesFromAFileHeldForAMoment) {
  const std::string picture = Picture();
  const std::string before = Settings(" 1", picture, " 1", " 3", "");
  DialogRun::SetIni(&before);
  HANDLE held = HoldUnshared();
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::thread release([held] {
    std::this_thread::sleep_for(1500ms);
    CloseHandle(held);
  });
  const bool opened = run_.Open();
  release.join();
  ASSERT_TRUE(opened);
  Save();
  // Every value as it was: the profile writer leaves the file untouched.
  EXPECT_EQ(DialogRun::IniBytes(), before);
}

TEST_F(SettingsDialogTest, FileThatStaysUnreadableIsSaidAndLeftAlone) {
  const std::string before = Settings(" 1", DialogRun::Installed("sky.bmp"), " 2", " 3", "C:\\Music\\a.mp3");
  DialogRun::SetIni(&before);
  HANDLE held = HoldUnshared();
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(run_.program().Start(DialogRun::Installed("Ventalune.scr"), "/c"));
  HWND message = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (message = FindWindowW(L"#32770", kDialogTitle)) != nullptr; }, 20s));
  if (message) PostMessageW(message, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(run_.Ended());
  CloseHandle(held);
  EXPECT_EQ(DialogRun::IniBytes(), before);
}

// Another program can send any window any message. One that claims to
// create the dialog again, or hands it a rectangle to move to, changes
// nothing: the dialog stays where it is, whole, and still saves.
TEST_F(SettingsDialogTest, MessagesFromAnotherProgramLeaveTheDialogAlone) {
  const std::string before = Settings(" 0", "", " 1", " 0", "");
  OpenWith(before);
  RECT placed{};
  GetWindowRect(run_.window(), &placed);
  DWORD_PTR ignored = 0;

  CREATESTRUCTW create{};
  create.lpCreateParams = reinterpret_cast<void*>(static_cast<uintptr_t>(0x1234));
  SendMessageTimeoutW(run_.window(), WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create), SMTO_BLOCK, 5000, &ignored);
  RECT elsewhere{-3000, -3000, 3000, 3000};
  SendMessageTimeoutW(run_.window(), WM_DPICHANGED, MAKEWPARAM(ExpectedDpi(), ExpectedDpi()),
                      reinterpret_cast<LPARAM>(&elsewhere), SMTO_BLOCK, 5000, &ignored);

  // A relayout closes the window and builds it again.
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        dialog = FindWindowW(nullptr, kDialogTitle);
        return dialog && IsWindowVisible(dialog) && run_.program().running();
      },
      10s));
  RECT now{};
  GetWindowRect(dialog, &now);
  EXPECT_EQ(now.left, placed.left);
  EXPECT_EQ(now.top, placed.top);
  EXPECT_EQ(now.right, placed.right);
  EXPECT_EQ(now.bottom, placed.bottom);
  PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(run_.Ended());
  EXPECT_EQ(DialogRun::IniBytes(), before);
}

}  // namespace
}  // namespace ventalune::wine_test
