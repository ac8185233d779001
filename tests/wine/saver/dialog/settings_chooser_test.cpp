// The settings dialog's file choosers driven as a person would (file name
// typed, OK or Cancel pressed), and the start-up rules around the dialog:
// the switch's spellings and one dialog or run at a time.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "control_host.h"
#include "dialog_driver.h"
#include "saver/settings/settings_keys.h"
#include "support/bitmap_file.h"
#include "test_folders.h"

namespace ventalune::wine_test {
namespace {

using dialog::ElementId;

// The chooser speaks the user's language, as the dialog does.
const wchar_t* const kChooserTitle =
    PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? L"ﾌｧｲﾙを開く" : L"Open";
// The file name field of the common open dialog, in both of its looks.
constexpr int kFileNameCombo = 0x47c;
constexpr int kFileNameEdit = 0x480;
// Its list of file types.
constexpr int kFileTypeCombo = 0x470;

std::string Settings(const std::string& pictureKind, const std::string& pictureFile, const std::string& bgmKind,
                     const std::string& bgmFile) {
  return IniText({{settings::kKeyPictureKind, pictureKind},
                  {settings::kKeyPictureFile, pictureFile},
                  {settings::kKeyBgmKind, bgmKind},
                  {settings::kKeyBgmRepeatTrack, "0"},
                  {settings::kKeyBgmFile, bgmFile},
                  {settings::kKeyMonitors, "0"}});
}

SIZE SizeOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

int Dpi(int length) { return dialog::ScaleToDpi(length, ExpectedDpi()); }

std::wstring Wide(const std::string& ansi) {
  std::wstring wide(ansi.size(), L'\0');
  wide.resize(static_cast<size_t>(
      MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(),
                                               static_cast<int>(ansi.size()))));
  return wide;
}

std::string Narrow(const std::wstring& wide) {
  std::string utf8(wide.size() * 3, '\0');
  utf8.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                                      utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr)));
  return utf8;
}

// The open chooser and its file name field, once it shows: the system's own
// template carries the English title while the chooser is still being
// filled in, and a name typed then would be cleared.
HWND OpenChooser(HWND& field) {
  HWND chooser = nullptr;
  WaitFor(
      [&] {
        chooser = FindWindowW(nullptr, kChooserTitle);
        field = chooser ? GetDlgItem(chooser, kFileNameCombo) : nullptr;
        if (chooser && !field) field = GetDlgItem(chooser, kFileNameEdit);
        return field != nullptr && IsWindowVisible(chooser);
      },
      10s);
  return field ? chooser : nullptr;
}

// Opens the chooser behind `button`, types `fileName` (nothing: cancels) and
// waits for the chooser to go; `fileType`, when asked for, receives the file
// type the chooser offers.
void Choose(DialogRun& run, ElementId button, const std::string* fileName, std::wstring* fileType = nullptr) {
  run.Click(run.Centre(button));
  HWND field = nullptr;
  HWND chooser = OpenChooser(field);
  ASSERT_NE(chooser, nullptr);
  if (fileType) {
    // The combo box's own text is not read across processes: its chosen item is.
    HWND types = GetDlgItem(chooser, kFileTypeCombo);
    const LRESULT chosenType = SendMessageW(types, CB_GETCURSEL, 0, 0);
    wchar_t text[256] = {};
    if (chosenType >= 0 && SendMessageW(types, CB_GETLBTEXTLEN, static_cast<WPARAM>(chosenType), 0) < 256)
      SendMessageW(types, CB_GETLBTEXT, static_cast<WPARAM>(chosenType), reinterpret_cast<LPARAM>(text));
    *fileType = text;
  }
  if (fileName) {
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(*fileName).c_str()));
    PostMessageW(chooser, WM_COMMAND, IDOK, 0);
  } else {
    PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
  }
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(chooser); }, 10s));
}

struct PictureRow {
  const char* name;
  const char* file;  // in the installation folder
  SIZE preview;      // at 96 dpi
};
class PictureChooserTest : public testing::TestWithParam<PictureRow> {
 protected:
  void TearDown() override {
    if (HasFailure()) CaptureScreen().SaveBmp(TestProgramFolder() + "\\settings-chooser-failure.bmp");
  }
  DialogRun run_;
};

TEST_P(PictureChooserTest, ChosenPictureIsShownAndSaved) {
  const std::string bmp = DialogRun::Installed("wide.bmp");
  WriteBmpFile(bmp, 160, 120, [](int x, int) { return x < 80 ? Rgb{255, 0, 0} : Rgb{0, 0, 255}; });
  // JPEG pictures, one under a name that merely ends in JPG.
  const std::string jpeg = TestDataFolder() + "\\preview-100x200.jpg";
  CopyFileA(jpeg.c_str(), DialogRun::Installed("tall.jpg").c_str(), FALSE);
  CopyFileA(jpeg.c_str(), DialogRun::Installed("photoJPG").c_str(), FALSE);

  const std::string ini = Settings("1", bmp, "0", "");
  DialogRun::SetIni(&ini);
  ASSERT_TRUE(run_.Open());
  HWND display = run_.Element("Display");
  ASSERT_EQ(SizeOf(display).cx, Dpi(80));

  CopyFileA((TestDataFolder() + "\\png-10000x5000.png").c_str(), DialogRun::Installed("wide.png").c_str(), FALSE);
  const std::string chosen = DialogRun::Installed(GetParam().file);
  std::wstring fileType;
  Choose(run_, ElementId::CmdPic, &chosen, &fileType);
  // Both languages name the three formats the same way.
  for (const wchar_t* format : {L"BMP", L"JPG", L"PNG"})
    EXPECT_NE(fileType.find(format), std::wstring::npos)
        << "the chooser's file type \"" << Narrow(fileType) << "\" does not name " << Narrow(format);
  EXPECT_TRUE(WaitFor(
      [&] {
        const SIZE size = SizeOf(display);
        return size.cx == Dpi(GetParam().preview.cx) && size.cy == Dpi(GetParam().preview.cy);
      },
      5s));
  // Red on the left of the preview, as in the picture. When the chosen
  // picture has the size of the one before, the preview's size says nothing
  // of the repaint after the chooser has gone: wait for the pixels too.
  const POINT left = run_.ScreenPoint(ElementId::Display, 2, 10);
  EXPECT_TRUE(WaitFor([&] { return ColourNear(CaptureScreen().at(left.x, left.y), Rgb{255, 0, 0}, 40); }, 5s));

  run_.Click(run_.Centre(ElementId::CmdSet));
  ASSERT_TRUE(run_.Ended());
  EXPECT_EQ(DialogRun::IniBytes(), Settings("1", chosen, "0", ""));
}

INSTANTIATE_TEST_SUITE_P(Pictures, PictureChooserTest,
                         testing::Values(PictureRow{"Bitmap", "wide.bmp", {80, 60}},
                                         PictureRow{"Jpeg", "tall.jpg", {40, 80}},
                                         PictureRow{"NameEndingInJpg", "photoJPG", {40, 80}},
                                         PictureRow{"Png", "wide.png", {80, 40}}),
                         [](const testing::TestParamInfo<PictureRow>& row) { return std::string(row.param.name); });

TEST(ChooserTest, CancelChangesNothing) {
  const std::string bmp = DialogRun::Installed("wide.bmp");
  WriteBmpFile(bmp, 160, 120, [](int, int) { return Rgb{0, 128, 0}; });
  const std::string ini = Settings("1", bmp, "0", "");
  DialogRun::SetIni(&ini);
  DialogRun run;
  ASSERT_TRUE(run.Open());
  const int textBefore = run.TextPixels(ElementId::LblFname1);
  Choose(run, ElementId::CmdPic, nullptr);
  EXPECT_EQ(SizeOf(run.Element("Display")).cy, Dpi(60));
  // Where the chooser covered the dialog, the dialog paints again after it
  // has gone: the name is the one before once that is done.
  EXPECT_TRUE(WaitFor([&] { return run.TextPixels(ElementId::LblFname1) == textBefore; }, 5s));
  run.Click(run.Centre(ElementId::CmdSet));
  ASSERT_TRUE(run.Ended());
  EXPECT_EQ(DialogRun::IniBytes(), ini);
}

TEST(ChooserTest, ChosenSoundIsSaved) {
  const std::string tune = DialogRun::Installed("tune.mp3");
  WriteRawFile(tune, {'I', 'D', '3'});
  const std::string ini = Settings("0", "", "2", tune);
  DialogRun::SetIni(&ini);
  DialogRun run;
  ASSERT_TRUE(run.Open());
  const std::string other = DialogRun::Installed("other tune.wav");
  WriteRawFile(other, {'R', 'I', 'F', 'F'});
  const int textBefore = run.TextPixels(ElementId::LblFname0);
  Choose(run, ElementId::CmdBgm, &other);
  // The chooser's window is gone a little before the dialog has taken its
  // answer; a click at once after it was lost once on a busy machine. A
  // person clicks once the new name shows.
  EXPECT_TRUE(WaitFor([&] { return run.TextPixels(ElementId::LblFname0) != textBefore; }, 5s));
  run.Click(run.Centre(ElementId::CmdSet));
  ASSERT_TRUE(run.Ended());
  EXPECT_EQ(DialogRun::IniBytes(), Settings("0", "", "2", other));
}

// A folder name the Western code page cannot hold: the settings get the
// file's short name, which it can, and the saver finds the file by it.
struct ShortFormRow {
  const char* name;
  std::vector<std::wstring> folders;  // below the install folder
  std::wstring file;
  bool needsWesternCodePage;
};
class ShortFormTest : public testing::TestWithParam<ShortFormRow> {};

// A chosen path the settings cannot hold as it is (a character outside the
// code page, or longer than a value holds) is stored in its short form.
TEST_P(ShortFormTest, ChosenPathIsStoredInItsShortForm) {
  if (GetParam().needsWesternCodePage && GetACP() != 1252)
    GTEST_SKIP() << "needs a system code page without Japanese characters";
  std::wstring folder = Wide(kDialogInstallFolder);
  for (const std::wstring& name : GetParam().folders) {
    folder += L"\\" + name;
    CreateDirectoryW(folder.c_str(), nullptr);
  }
  const std::wstring wide = folder + L"\\" + GetParam().file;
  const std::string ansiTemp = DialogRun::Installed("temp.bmp");
  WriteBmpFile(ansiTemp, 16, 12, [](int, int) { return Rgb{255, 0, 0}; });
  ASSERT_TRUE(MoveFileExW(Wide(ansiTemp).c_str(), wide.c_str(), MOVEFILE_REPLACE_EXISTING));
  wchar_t shortForm[MAX_PATH] = {};
  if (GetShortPathNameW(wide.c_str(), shortForm, MAX_PATH) == 0 || wide == shortForm)
    GTEST_SKIP() << "the file system gives no short names";
  const std::string ini = Settings("1", "", "0", "");
  DialogRun::SetIni(&ini);
  DialogRun run;
  ASSERT_TRUE(run.Open());
  // The chooser is driven through the wide API, as a person types the name.
  run.Click(run.Centre(ElementId::LblSel1));
  ASSERT_TRUE(WaitFor([&] { return run.ButtonLooksEnabled("Cmd_Pic"); }, 5s));
  run.Click(run.Centre(ElementId::CmdPic));
  HWND field = nullptr;
  HWND chooser = OpenChooser(field);
  ASSERT_NE(chooser, nullptr);
  SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  PostMessageW(chooser, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(chooser); }, 10s));
  EXPECT_TRUE(WaitFor([&] { return SizeOf(run.Element("Display")).cy == Dpi(60); }, 5s));
  run.Click(run.Centre(ElementId::CmdSet));
  ASSERT_TRUE(run.Ended());

  std::string stored(shortForm, shortForm + wcslen(shortForm));  // ASCII by construction
  EXPECT_EQ(DialogRun::IniBytes(), Settings("1", stored, "0", ""));
  EXPECT_NE(GetFileAttributesA(stored.c_str()), INVALID_FILE_ATTRIBUTES);
}

INSTANTIATE_TEST_SUITE_P(Paths, ShortFormTest,
                         testing::Values(ShortFormRow{"OutsideTheCodePage", {L"\u5199\u771f"}, L"sky.bmp", true},
                                         // 256 characters: past what a value holds, within
                                         // what a chooser without long-path support names.
                                         ShortFormRow{"LongerThanAValueHolds",
                                                      {std::wstring(100, L'a'), std::wstring(100, L'b')},
                                                      L"sky-picture.bmp", false}),
                         [](const testing::TestParamInfo<ShortFormRow>& row) { return std::string(row.param.name); });

struct SwitchRow {
  const char* name;
  const char* arguments;
};
class SettingsSwitchTest : public testing::TestWithParam<SwitchRow> {};

TEST_P(SettingsSwitchTest, OpensTheDialog) {
  DialogRun::SetIni(nullptr);
  DialogRun run;
  ASSERT_TRUE(run.Open(GetParam().arguments));
  // No owner: the host's handle after the switch is ignored.
  EXPECT_EQ(GetWindow(run.window(), GW_OWNER), nullptr);
  PostMessageW(run.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  DWORD exitCode = 1;
  ASSERT_TRUE(run.program().WaitForExit(15s, &exitCode));
  EXPECT_EQ(exitCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(Spellings, SettingsSwitchTest,
                         testing::Values(SwitchRow{"Lower", "/c"}, SwitchRow{"Upper", "/C"},
                                         SwitchRow{"WithHostHandle", "/c:1234"}),
                         [](const testing::TestParamInfo<SwitchRow>& row) { return std::string(row.param.name); });

TEST(SingleInstanceTest, NothingElseStartsWhileTheDialogIsOpen) {
  DialogRun::SetIni(nullptr);
  DialogRun run;
  ASSERT_TRUE(run.Open());
  for (const char* arguments : {"/c", "/s", "/p 1234", ""}) {
    RunningProgram second;
    ASSERT_TRUE(second.Start(DialogRun::Installed("Ventalune.scr"), arguments));
    EXPECT_TRUE(second.WaitForExit(10s)) << arguments;
    EXPECT_TRUE(WindowsOfProcess(second.processId()).empty()) << arguments;
  }
  // Still the one dialog, still open.
  EXPECT_TRUE(run.program().running());
  EXPECT_EQ(FindWindowExW(nullptr, run.window(), nullptr, kDialogTitle), nullptr);
}

TEST(BannerTest, ClickWithoutAHelpPageLeavesTheDialogOpen) {
  DialogRun::SetIni(nullptr);
  DeleteFileA(DialogRun::Installed("Ventalune.html").c_str());
  DialogRun run;
  ASSERT_TRUE(run.Open());
  // Over the banner the pointer takes the banner's own shape, the hand
  // (its picture cannot be read from another process here, only told apart
  // from the arrow, the shape over the rest of the dialog).
  const auto shownCursor = [] {
    CURSORINFO shown{};
    shown.cbSize = sizeof(shown);
    return GetCursorInfo(&shown) ? shown.hCursor : nullptr;
  };
  MovePointer({5, 5});
  const HCURSOR overDesktop = shownCursor();
  MovePointer(run.Centre(ElementId::Lbl9));
  ASSERT_TRUE(WaitFor([&] { return shownCursor() != overDesktop; }, 3s));
  const HCURSOR overPanel = shownCursor();
  MovePointer(run.Centre(ElementId::UcAniGif1));
  EXPECT_TRUE(WaitFor([&] { return shownCursor() && shownCursor() != overPanel; }, 3s));
  MovePointer(run.Centre(ElementId::Lbl9));
  EXPECT_TRUE(WaitFor([&] { return shownCursor() == overPanel; }, 3s));
  run.Click(run.Centre(ElementId::UcAniGif1));
  // Still there and still answering: cancel ends it as always.
  EXPECT_TRUE(run.program().running());
  EXPECT_TRUE(WaitFor([&] { return SendMessageTimeoutW(run.window(), WM_NULL, 0, 0, SMTO_BLOCK, 1000, nullptr); },
                      5s));
  run.Click(run.Centre(ElementId::CmdCan));
  EXPECT_TRUE(run.Ended());
}

// .html files opened, while it lives, by a command that writes down which
// file it was given, in place of the browser.
class HtmlOpenRecorder {
 public:
  HtmlOpenRecorder() {
    wchar_t previous[256] = {};
    DWORD size = sizeof(previous);
    if (RegGetValueW(HKEY_CLASSES_ROOT, L".html", nullptr, RRF_RT_REG_SZ, nullptr, previous, &size) == ERROR_SUCCESS)
      previous_ = previous;
    const std::wstring command = L"cmd.exe /c echo %1> \"" + Wide(record_) + L"\"";
    SetDefault(L"VentaluneTest.HelpPage\\shell\\open\\command", command);
    SetDefault(L".html", L"VentaluneTest.HelpPage");
  }
  ~HtmlOpenRecorder() {
    if (previous_.empty()) {
      RegDeleteKeyW(HKEY_CLASSES_ROOT, L".html");
    } else {
      SetDefault(L".html", previous_);
    }
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"VentaluneTest.HelpPage");
    DeleteFileA(record_.c_str());
  }
  HtmlOpenRecorder(const HtmlOpenRecorder&) = delete;
  HtmlOpenRecorder& operator=(const HtmlOpenRecorder&) = delete;

  void Clear() const { DeleteFileA(record_.c_str()); }
  // What was opened since the last Clear, empty when nothing was.
  std::string Opened() const {
    std::ifstream file(record_, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(file), {});
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return text;
  }

 private:
  static void SetDefault(const wchar_t* key, const std::wstring& value) {
    RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  std::string record_ = DialogRun::Installed("opened.txt");
  std::wstring previous_;
};

// The banner opens the help page in the dialog's language, the English one
// where that is missing, and nothing where neither is there.
TEST(BannerTest, OpensTheHelpPageInTheDialogsLanguage) {
  const bool japanese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
  struct Row {
    const char* name;
    std::vector<const char*> pages;
    const char* opens;  // nullptr: nothing
  };
  const std::vector<Row> rows = {
      {"both pages", {"Ventalune.html", "Ventalune-ja.html"}, japanese ? "Ventalune-ja.html" : "Ventalune.html"},
      {"only the English page", {"Ventalune.html"}, "Ventalune.html"},
      {"only the Japanese page", {"Ventalune-ja.html"}, japanese ? "Ventalune-ja.html" : nullptr},
  };
  HtmlOpenRecorder recorder;
  DialogRun::SetIni(nullptr);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    for (const char* page : {"Ventalune.html", "Ventalune-ja.html"}) DeleteFileA(DialogRun::Installed(page).c_str());
    for (const char* page : row.pages) std::ofstream(DialogRun::Installed(page)) << "<!DOCTYPE html>";
    recorder.Clear();
    DialogRun run;
    ASSERT_TRUE(run.Open());
    run.Click(run.Centre(ElementId::UcAniGif1));
    if (row.opens) {
      const std::string expected = DialogRun::Installed(row.opens);
      EXPECT_TRUE(WaitFor([&] { return recorder.Opened().find(expected) != std::string::npos; }, 10s))
          << "opened: " << recorder.Opened();
    } else {
      // Nothing comes: the dialog is still answering after the click.
      EXPECT_TRUE(SendMessageTimeoutW(run.window(), WM_NULL, 0, 0, SMTO_BLOCK, 1000, nullptr));
      Sleep(1500);
      EXPECT_EQ(recorder.Opened(), "");
    }
    run.Click(run.Centre(ElementId::CmdCan));
    EXPECT_TRUE(run.Ended());
  }
  for (const char* page : {"Ventalune.html", "Ventalune-ja.html"}) DeleteFileA(DialogRun::Installed(page).c_str());
}

}  // namespace
}  // namespace ventalune::wine_test
