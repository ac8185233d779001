// Drives the real Ventalune.scr the way the screen-saver host does, from an
// installation folder with blanks in its path, and checks what a person
// would see: the pictures written for the scene, the scene window, the
// preview inside the host's area, the cursor, and how each run ends.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "common/program_contract.h"
#include "preview_host.h"
#include "saver/launcher/run_plan.h"
#include "saver/launcher/saver_run.h"
#include "saver/pictures/picture_surface.h"
#include "saver/settings/profile_file.h"
#include "saver/settings/settings_keys.h"
#include "support/bitmap_file.h"
#include "support/front_window.h"
#include "run_start.h"
#include "support/program_driver.h"
#include "support/screen_capture.h"

namespace ventalune::wine_test {
namespace {

constexpr char kInstallFolder[] = "C:\\Program Files\\Ventalune Test";

std::string Installed(const char* file) { return std::string(kInstallFolder) + "\\" + file; }

bool FileThere(const wchar_t* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

bool CursorShowing() {
  CURSORINFO info{};
  info.cbSize = sizeof(info);
  return GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING) != 0;
}

// The system takes a moment to show the cursor's new state to other
// programs after the one that changed it has ended.
bool CursorShowsWithin(std::chrono::milliseconds timeout) { return WaitFor(CursorShowing, timeout); }

// A picture no two columns or rows of which look alike, so a mirrored or
// shifted copy is told apart from the original.
Rgb Pattern(int x, int y, int width, int height) {
  return {static_cast<uint8_t>(x * 255 / (width - 1)), static_cast<uint8_t>(y * 255 / (height - 1)),
          static_cast<uint8_t>(x < width / 3 ? 200 : 30)};
}

// A borderless window over the whole screen showing Pattern: the desktop
// the saver copies.
class PatternDesktop {
 public:
  PatternDesktop() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VentaluneTestDesktop";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, "VentaluneTestDesktop", "pattern", WS_POPUP | WS_VISIBLE, 0, 0,
                              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                              windowClass.hInstance, nullptr);
    UpdateWindow(window_);
  }
  ~PatternDesktop() { DestroyWindow(window_); }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const Rgb c = Pattern(x, y, width, height);
        pixels[static_cast<size_t>(y) * width + x] = (c.r << 16) | (c.g << 8) | c.b;
      }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    EndPaint(window, &paint);
    return 0;
  }
  HWND window_ = nullptr;
};

// The shared data folder gone, with what earlier runs of the scene alone
// left in it.
void RemoveSharedFolder() {
  DeleteFileA(SharedDataPicture(kRoomPictureName).c_str());
  DeleteFileA(SharedDataPicture(kRingPictureName).c_str());
  RemoveDirectoryA(kSharedDataFolder);
}

class SaverProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(PrepareRun(kInstallFolder));
    DeleteFileA(Installed("Ventalune.ini").c_str());
    DeleteFileW(RunPictures().room.c_str());
    DeleteFileW(RunPictures().ring.c_str());
  }

  void TearDown() override {
    // Whatever a failed test left running goes now, the scene first, so the
    // next test starts from a quiet screen and can replace the programs.
    if (HWND scene = FindTopLevelWindow(kSceneWindowTitle)) {
      DWORD sceneProcess = 0;
      GetWindowThreadProcessId(scene, &sceneProcess);
      PostMessageA(scene, WM_CLOSE, 0, 0);
      if (!WaitFor([] { return !FindTopLevelWindow(kSceneWindowTitle); }, 5s)) {
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, sceneProcess)) {
          TerminateProcess(process, 1);
          WaitForSingleObject(process, 5000);
          CloseHandle(process);
        }
      }
    }
    saver_.WaitForExit(5s);
  }

  void WriteSettings(int pictureKind, const std::string& pictureFile, int bgmKind, const std::string& bgmFile) {
    const std::string ini = Installed("Ventalune.ini");
    using namespace settings;
    WritePrivateProfileStringA(kSettingsSection, kKeyPictureKind, std::to_string(pictureKind).c_str(), ini.c_str());
    WritePrivateProfileStringA(kSettingsSection, kKeyPictureFile, pictureFile.c_str(), ini.c_str());
    WritePrivateProfileStringA(kSettingsSection, kKeyBgmKind, std::to_string(bgmKind).c_str(), ini.c_str());
    WritePrivateProfileStringA(kSettingsSection, kKeyBgmRepeatTrack, "0", ini.c_str());
    WritePrivateProfileStringA(kSettingsSection, kKeyBgmFile, bgmFile.c_str(), ini.c_str());
  }

  bool StartSaver(RunningProgram& program, const std::string& arguments) {
    return program.Start(Installed("Ventalune.scr"), arguments);
  }

  // Ends the scene as a person would (Esc held until it has gone) and
  // expects the saver to follow.
  void EndSceneWithEscape() {
    HWND scene = FindTopLevelWindow(kSceneWindowTitle);
    ASSERT_NE(scene, nullptr);
    ASSERT_TRUE(WaitFor([&] { SetForegroundWindow(scene); return GetForegroundWindow() == scene; }, 5s));
    KeyDown(VK_ESCAPE);
    const bool gone = WaitFor([] { return !FindTopLevelWindow(kSceneWindowTitle); }, 10s);
    KeyUp(VK_ESCAPE);
    ASSERT_TRUE(gone) << "the scene did not end on Esc";
  }

  void ExpectSaverEnds(std::chrono::milliseconds within) {
    DWORD exitCode = 99;
    ASSERT_TRUE(saver_.WaitForExit(within, &exitCode)) << "the saver did not end";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(FindTopLevelWindow(launcher::kRunWindowTitle), nullptr);
  }

  RunningProgram saver_;
};

TEST_F(SaverProgramTest, RunCopiesTheDesktopMirroredAndEndsWithTheScene) {
  WriteSettings(0, "", 0, "");
  RemoveSharedFolder();
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  auto desktop = std::make_unique<PatternDesktop>();
  ASSERT_TRUE(WaitFor(
      [&] {
        const ScreenPicture screen = CaptureScreen();
        const Rgb left = screen.at(0, 0), right = screen.at(width - 1, height - 1);
        return left.b == 200 && left.r == 0 && right.b == 30 && right.r == 255 && right.g == 255;
      },
      5s))
      << "the test desktop is not showing";

  ASSERT_TRUE(StartSaver(saver_, "/s"));
  ASSERT_NE(WaitForTopLevelWindow(kSceneWindowTitle, 15s), nullptr);
  EXPECT_TRUE(WaitFor([] { return !CursorShowing(); }, 5s)) << "the run hides the cursor";
  desktop.reset();

  // The copy of the screen is in the user's own folder, and nothing in the
  // folder every account can read.
  EXPECT_EQ(GetFileAttributesA(kSharedDataFolder), INVALID_FILE_ATTRIBUTES);
  const BitmapPicture room = ReadBmpFile(RunPictures().room.c_str());
  ASSERT_EQ(room.width, width);
  ASSERT_EQ(room.height, height);
  // File column x shows screen column W − 1 − x.
  for (auto [x, y] : {std::pair{0, 0}, {10, 700}, {width / 3 - 2, 300}, {width / 2, 384}, {width - 1, height - 1}}) {
    SCOPED_TRACE(testing::Message() << "x " << x << " y " << y);
    const Rgb expected = Pattern(width - 1 - x, y, width, height), actual = room.at(x, y);
    EXPECT_NEAR(actual.r, expected.r, 8);
    EXPECT_NEAR(actual.g, expected.g, 8);
    EXPECT_NEAR(actual.b, expected.b, 8);
  }
  const BitmapPicture rings = ReadBmpFile(RunPictures().ring.c_str());
  EXPECT_EQ(rings.width, 256);
  EXPECT_EQ(rings.height, 256);

  EndSceneWithEscape();
  ExpectSaverEnds(3s);
  EXPECT_TRUE(CursorShowsWithin(5s)) << "the cursor is back after the run";
  EXPECT_FALSE(FileThere(RunPictures().room.c_str())) << "the desktop copy outlived the run";
  EXPECT_TRUE(FileThere(RunPictures().ring.c_str()));
}

// Windows may leave the run's scene behind the window the user had in
// front (Wine never does; a window of the test takes the foreground after
// the scene has shown instead). Esc pressed there ends the run all the
// same, and nothing of the saver or the scene is left.
TEST_F(SaverProgramTest, EscapeWhileAnotherWindowIsInFrontEndsTheRun) {
  WriteSettings(0, "", 0, "");
  ASSERT_TRUE(StartSaver(saver_, "/s"));
  HWND scene = WaitForTopLevelWindow(kSceneWindowTitle, 15s);
  ASSERT_NE(scene, nullptr);
  DWORD sceneProcess = 0;
  GetWindowThreadProcessId(scene, &sceneProcess);
  const HANDLE sceneHandle = OpenProcess(SYNCHRONIZE, FALSE, sceneProcess);
  ASSERT_NE(sceneHandle, nullptr);
  FrontWindow front;
  ASSERT_TRUE(front.TakeForeground()) << "the test's window cannot take the foreground";
  // Whatever the change told the scene is handled before the key comes.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(scene, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
  KeyDown(VK_ESCAPE);
  const bool gone = WaitFor([] { return !FindTopLevelWindow(kSceneWindowTitle); }, 10s);
  KeyUp(VK_ESCAPE);
  ASSERT_TRUE(gone) << "Esc with another window in front did not end the scene";
  ExpectSaverEnds(5s);
  EXPECT_EQ(front.escapesReceived(), 0) << "Esc reached the window in front";
  EXPECT_EQ(WaitForSingleObject(sceneHandle, 5000), WAIT_OBJECT_0) << "the scene's process is still running";
  CloseHandle(sceneHandle);
  EXPECT_TRUE(CursorShowsWithin(5s)) << "the cursor is back after the run";
}

// A picture file another program holds without letting others write: the
// run cannot write its copy there, so it does not start the scene (which
// would show the holder's picture on its walls), and it leaves the file as
// it was, neither overwritten nor deleted.
TEST_F(SaverProgramTest, RunLeavesAPictureFileItCouldNotWrite) {
  WriteSettings(0, "", 0, "");
  CreateDirectoryW(RunPictureFolder().c_str(), nullptr);
  ASSERT_TRUE(WriteBmpFile(RunPictures().room, 64, 48, [](int, int) { return Rgb{0, 128, 255}; }));
  const std::vector<uint8_t> before = ReadRawFile(RunPictures().room);
  HANDLE held = CreateFileW(RunPictures().room.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(StartSaver(saver_, "/s"));
  ExpectSaverEnds(10s);
  EXPECT_EQ(FindTopLevelWindow(kSceneWindowTitle), nullptr) << "a scene started without its picture";
  EXPECT_TRUE(CursorShowsWithin(5s));
  CloseHandle(held);
  EXPECT_EQ(ReadRawFile(RunPictures().room), before);
}

// A window of the scene's title that is not the run's scene (a leftover, a
// stranger's) neither keeps the run alive after Esc nor is touched by it.
TEST_F(SaverProgramTest, ForeignWindowOfTheScenesTitleDoesNotKeepTheRun) {
  WriteSettings(0, "", 0, "");
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "VentaluneTestForeignScene";
  RegisterClassA(&windowClass);
  HWND foreign = CreateWindowExA(0, windowClass.lpszClassName, kSceneWindowTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 50, 50, 200, 150, nullptr, nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(foreign, nullptr);

  ASSERT_TRUE(StartSaver(saver_, "/s"));
  HWND scene = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        for (HWND window = FindWindowA(nullptr, kSceneWindowTitle); window;
             window = FindWindowExA(nullptr, window, nullptr, kSceneWindowTitle)) {
          if (window != foreign) scene = window;
        }
        return scene != nullptr;
      },
      15s));
  EXPECT_TRUE(WaitFor([] { return !CursorShowing(); }, 5s)) << "the run hides the cursor";
  ASSERT_TRUE(WaitFor([&] { SetForegroundWindow(scene); return GetForegroundWindow() == scene; }, 5s));
  KeyDown(VK_ESCAPE);
  const bool gone = WaitFor([&] { return !IsWindow(scene); }, 10s);
  KeyUp(VK_ESCAPE);
  EXPECT_TRUE(gone) << "the scene did not end on Esc";

  ExpectSaverEnds(5s);
  EXPECT_TRUE(CursorShowsWithin(5s)) << "the cursor is back after the run";
  EXPECT_EQ(FindWindowW(L"Nubivola_Cover", nullptr), nullptr) << "a cover outlived the run";
  EXPECT_TRUE(IsWindow(foreign) && IsWindowVisible(foreign)) << "the run touched a window not its own";
  DestroyWindow(foreign);
}

// Run by linked_picture_folder.sh, which has made the user's picture folder
// a link to VENTALUNE_LINK_TARGET: the run refuses to write through it, so
// it does not start, and the cursor is back.
TEST_F(SaverProgramTest, RunWritesNothingThroughALinkedPictureFolder) {
  const char* target = std::getenv("VENTALUNE_LINK_TARGET");
  if (!target) GTEST_SKIP() << "run by linked_picture_folder.sh";
  ASSERT_NE(GetFileAttributesW(RunPictureFolder().c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
  WriteSettings(0, "", 0, "");
  ASSERT_TRUE(StartSaver(saver_, "/s"));
  ExpectSaverEnds(15s);
  EXPECT_EQ(FindTopLevelWindow(kSceneWindowTitle), nullptr);
  EXPECT_TRUE(CursorShowsWithin(5s));
  const std::string pattern = std::string(target) + "\\*";
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  int entries = 0;
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..") ++entries;
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  EXPECT_EQ(entries, 0) << "written through the link";
}

// The user's own picture goes to the walls unchanged, at its own size.
TEST_F(SaverProgramTest, RunUsesTheChosenPictureUnmirrored) {
  const std::string photo = ProductFolder() + "\\..\\tests-bin\\data\\photo-640x480.jpg";
  WriteSettings(1, photo, 0, "");
  ASSERT_TRUE(StartSaver(saver_, "/s"));
  ASSERT_NE(WaitForTopLevelWindow(kSceneWindowTitle, 15s), nullptr);
  const BitmapPicture room = ReadBmpFile(RunPictures().room.c_str());
  ASSERT_EQ(room.width, 640);
  ASSERT_EQ(room.height, 480);
  // The photo is red on its left half and blue on its right.
  EXPECT_GT(room.at(20, 240).r, 180);
  EXPECT_LT(room.at(20, 240).b, 80);
  EXPECT_GT(room.at(620, 240).b, 180);
  EXPECT_LT(room.at(620, 240).r, 80);
  const std::vector<uint8_t> during = ReadRawFile(RunPictures().room.c_str());
  EndSceneWithEscape();
  ExpectSaverEnds(3s);
  // Only a copy of the desktop is removed: the user's picture stays as written.
  EXPECT_EQ(ReadRawFile(RunPictures().room.c_str()), during);
  EXPECT_TRUE(FileThere(RunPictures().ring.c_str()));
}

// Run by slow_picture_folder.sh, which serves VENTALUNE_SLOW_PICTURE (the
// 640 x 480 photo) from a folder that waits VENTALUNE_SLOW_PICTURE_SECONDS,
// longer than the scene's start grace, before the first byte, as an
// online-only cloud folder does. The scene starts once the picture is in,
// and the run goes on with it rather than ending at its first look.
TEST_F(SaverProgramTest, PictureSlowerThanTheGraceStillShowsTheScene) {
  const char* picture = std::getenv("VENTALUNE_SLOW_PICTURE");
  const char* seconds = std::getenv("VENTALUNE_SLOW_PICTURE_SECONDS");
  if (!picture || !seconds) GTEST_SKIP() << "run by slow_picture_folder.sh";
  // Else the folder would not stand for a load longer than the grace.
  ASSERT_GT(std::atof(seconds) * 1000, launcher::SceneWatch::kStartGraceMs);
  WriteSettings(1, picture, 0, "");
  ASSERT_TRUE(StartSaver(saver_, "/s"));
  ASSERT_NE(WaitForTopLevelWindow(kSceneWindowTitle, 60s), nullptr) << "no scene after the slow picture";
  // The watch looks every 500 ms: a run that took the load for the grace
  // would have ended by now.
  EXPECT_FALSE(saver_.WaitForExit(3s)) << "the run ended though its scene shows";
  const BitmapPicture room = ReadBmpFile(RunPictures().room.c_str());
  EXPECT_EQ(room.width, 640) << "the slow picture is not on the walls";
  EXPECT_EQ(room.height, 480);
  EndSceneWithEscape();
  ExpectSaverEnds(3s);
}

std::string LargePicture(const char* name) { return ProductFolder() + "\\..\\tests-bin\\data\\" + name; }

bool IsRed(Rgb c) { return c.r > 200 && c.g < 60 && c.b < 60; }

// A 72-megapixel picture is written reduced, its proportion kept, and what
// is written is the picture averaged down.
TEST_F(SaverProgramTest, HugePictureIsWrittenReduced) {
  WriteSettings(1, LargePicture("large-12000x6000.jpg"), 0, "");
  ASSERT_TRUE(StartSaver(saver_, "/s"));
  ASSERT_NE(WaitForTopLevelWindow(kSceneWindowTitle, 30s), nullptr);
  const BitmapPicture room = ReadBmpFile(RunPictures().room.c_str());
  const int longer = std::max(room.width, room.height);
  EXPECT_GE(longer, 2048);
  EXPECT_LE(longer, 4096);
  EXPECT_NEAR(room.height, room.width / 2.0, 1.0) << "the 2:1 proportion";

  // Pillow's decode of the same file, averaged down to the same size.
  const BitmapPicture reference = ReadBmpFile(LargePicture("large-12000x6000-reduced.bmp"));
  ASSERT_EQ(room.width, reference.width);
  ASSERT_EQ(room.height, reference.height);
  double difference = 0;
  for (size_t i = 0; i < room.pixels.size(); ++i) {
    const Rgb a = room.pixels[i], b = reference.pixels[i];
    difference += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
  }
  EXPECT_LT(difference / (3.0 * static_cast<double>(room.pixels.size())), 2.0) << "mean difference per channel";

  ScreenPicture screen;
  EXPECT_TRUE(WaitFor(
      [&] {
        screen = CaptureScreen();
        return screen.Count(IsRed) > 10000;
      },
      20s))
      << "the walls show the picture";
  EndSceneWithEscape();
  ExpectSaverEnds(3s);
}

// Pictures up to 4096 pixels are written at full size exactly as the
// picture loader has always decoded them.
TEST_F(SaverProgramTest, PictureUpTo4096IsWrittenWhole) {
  const std::string photo = LargePicture("large-4000x3000.jpg");
  WriteSettings(1, photo, 0, "");
  ASSERT_TRUE(StartSaver(saver_, "/s"));
  ASSERT_NE(WaitForTopLevelWindow(kSceneWindowTitle, 30s), nullptr);
  const std::vector<uint8_t> written = ReadRawFile(RunPictures().room.c_str());
  EndSceneWithEscape();
  ExpectSaverEnds(3s);

  pictures::PictureSurface decoded;
  ASSERT_TRUE(decoded.LoadFile(photo));
  const std::string expected = std::string(kInstallFolder) + "\\expected.bmp";
  ASSERT_TRUE(decoded.SaveBitmapFile(expected));
  const BitmapPicture room = ReadBmpFile(RunPictures().room.c_str());
  EXPECT_EQ(room.width, 4000);
  EXPECT_EQ(room.height, 3000);
  EXPECT_TRUE(written == ReadRawFile(expected)) << "the bitmap file differs from the picture's own decode";
  DeleteFileA(expected.c_str());
}

// Installed where the user may not change the settings file: the run takes
// the choices the user saved in their own application data instead.
TEST_F(SaverProgramTest, ReadOnlySettingsBesideTheProgramGiveWayToTheUsersOwn) {
  char appData[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)));
  const std::string userFolder = std::string(appData) + "\\Ventalune";
  const std::string userFile = userFolder + "\\Ventalune.ini";
  const std::string installed = Installed("Ventalune.ini");
  struct Restore {
    const std::string& installed;
    const std::string& userFile;
    const std::string& userFolder;
    ~Restore() {
      SetFileAttributesA(installed.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(userFile.c_str());
      RemoveDirectoryA(userFolder.c_str());
    }
  } restore{installed, userFile, userFolder};

  WriteSettings(0, "", 0, "");
  ASSERT_TRUE(SetFileAttributesA(installed.c_str(), FILE_ATTRIBUTE_READONLY));
  CreateDirectoryA(userFolder.c_str(), nullptr);
  const std::string photo = ProductFolder() + "\\..\\tests-bin\\data\\photo-640x480.jpg";
  using namespace settings;
  WritePrivateProfileStringA(kSettingsSection, kKeyPictureKind, "1", userFile.c_str());
  WritePrivateProfileStringA(kSettingsSection, kKeyPictureFile, photo.c_str(), userFile.c_str());

  ASSERT_TRUE(StartSaver(saver_, "/s"));
  ASSERT_NE(WaitForTopLevelWindow(kSceneWindowTitle, 15s), nullptr);
  const BitmapPicture room = ReadBmpFile(RunPictures().room.c_str());
  EXPECT_EQ(room.width, 640) << "the walls do not show the user's chosen photo";
  EXPECT_EQ(room.height, 480);
  EndSceneWithEscape();
  ExpectSaverEnds(3s);
}

TEST_F(SaverProgramTest, DamagedPictureGivesBlankWallsAndTheRunGoesOn) {
  const std::string damaged = std::string(kInstallFolder) + "\\damaged.jpg";
  ASSERT_TRUE(WriteRawFile(damaged, {0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0, 1, 2, 3}));
  WriteSettings(1, damaged, 0, "");
  ASSERT_TRUE(StartSaver(saver_, "/s"));
  ASSERT_NE(WaitForTopLevelWindow(kSceneWindowTitle, 15s), nullptr);
  const BitmapPicture room = ReadBmpFile(RunPictures().room.c_str());
  ASSERT_GT(room.width, 0);
  const Rgb corner = room.at(0, 0);
  EXPECT_EQ(corner.r + corner.g + corner.b, 0);
  EndSceneWithEscape();
  ExpectSaverEnds(3s);
}

TEST_F(SaverProgramTest, SecondStartDuringARunEndsAtOnce) {
  WriteSettings(0, "", 0, "");
  ASSERT_TRUE(StartSaver(saver_, "/s"));
  ASSERT_NE(WaitForTopLevelWindow(kSceneWindowTitle, 15s), nullptr);
  for (const char* arguments : {"/s", "/c", "/p 123", ""}) {
    SCOPED_TRACE(arguments);
    RunningProgram second;
    ASSERT_TRUE(StartSaver(second, arguments));
    DWORD exitCode = 99;
    ASSERT_TRUE(second.WaitForExit(5s, &exitCode));
    EXPECT_EQ(exitCode, 0u);
  }
  EXPECT_TRUE(saver_.running());
  EndSceneWithEscape();
  ExpectSaverEnds(3s);
}

struct QuietSwitchCase {
  const char* name;
  const char* arguments;
};

class SaverQuietSwitchTest : public SaverProgramTest, public testing::WithParamInterface<QuietSwitchCase> {};

// Switches that open no window: the program ends, having made nothing.
TEST_P(SaverQuietSwitchTest, EndsWithoutMakingTheSharedFolder) {
  RemoveSharedFolder();
  ASSERT_TRUE(StartSaver(saver_, GetParam().arguments));
  DWORD exitCode = 99;
  ASSERT_TRUE(saver_.WaitForExit(10s, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(GetFileAttributesA(kSharedDataFolder), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(FindTopLevelWindow(launcher::kRunWindowTitle), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Switches, SaverQuietSwitchTest,
                         testing::Values(QuietSwitchCase{"UnknownLetter", "/a"}),
                         [](const testing::TestParamInfo<QuietSwitchCase>& row) { return std::string(row.param.name); });

// The settings switch shows the dialog and makes no folder; the program
// ends when the dialog is closed.
TEST_F(SaverProgramTest, SettingsSwitchShowsTheDialogWithoutMakingTheSharedFolder) {
  RemoveSharedFolder();
  ASSERT_TRUE(StartSaver(saver_, "/c"));
  HWND dialog = WaitForTopLevelWindow("<Ventalune>", 15s);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GetFileAttributesA(kSharedDataFolder), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(FindTopLevelWindow(launcher::kRunWindowTitle), nullptr);
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  DWORD exitCode = 99;
  ASSERT_TRUE(saver_.WaitForExit(15s, &exitCode));
  EXPECT_EQ(exitCode, 0u);
}

// Explorer's Configure starts a screen saver with no argument at all.
TEST_F(SaverProgramTest, NoArgumentOpensTheSettingsAndStartsNoScene) {
  WriteSettings(0, "", 0, "");
  ASSERT_TRUE(StartSaver(saver_, ""));
  HWND dialog = WaitForTopLevelWindow("<Ventalune>", 15s);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(FindTopLevelWindow(kSceneWindowTitle), nullptr);
  EXPECT_EQ(FindTopLevelWindow(launcher::kRunWindowTitle), nullptr);
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  ExpectSaverEnds(15s);
  EXPECT_EQ(FindTopLevelWindow(kSceneWindowTitle), nullptr);
}

// Run by hear_saver_run.sh, which records what is heard meanwhile: the WAV
// plays while the scene runs and stops with the run.
TEST_F(SaverProgramTest, MusicPlaysWhileTheSceneRuns) {
  const char* tone = std::getenv("VENTALUNE_RUN_TONE_WAV");
  if (!tone) GTEST_SKIP() << "run through hear_saver_run.sh, which listens";
  WriteSettings(0, "", 2, tone);
  ASSERT_TRUE(StartSaver(saver_, "/s"));
  ASSERT_NE(WaitForTopLevelWindow(kSceneWindowTitle, 15s), nullptr);
  WaitFor([] { return false; }, 3s);
  EndSceneWithEscape();
  ExpectSaverEnds(3s);
  WaitFor([] { return false; }, 2s);
}

TEST_F(SaverProgramTest, MissingSceneProgramEndsTheRunAfterTheGracePeriod) {
  ASSERT_TRUE(DeleteFileA(Installed("Ventalune.dll").c_str()));
  WriteSettings(0, "", 0, "");
  ASSERT_TRUE(StartSaver(saver_, "/s"));
  ASSERT_TRUE(WaitFor([] { return FindTopLevelWindow(launcher::kRunWindowTitle) != nullptr; }, 10s));
  // Not at the first look: the scene is given time to start.
  EXPECT_FALSE(saver_.WaitForExit(3s));
  EXPECT_TRUE(FileThere(RunPictures().room.c_str()));
  ExpectSaverEnds(15s);
  EXPECT_TRUE(CursorShowsWithin(5s));
  EXPECT_FALSE(FileThere(RunPictures().room.c_str())) << "the desktop copy outlived the run";
  EXPECT_TRUE(FileThere(RunPictures().ring.c_str()));
}

enum class Ending { kSceneKilled, kRunWindowClosed, kSessionEnded };

struct EndingCase {
  const char* name;
  Ending ending;
};

class DesktopCopyTest : public SaverProgramTest, public testing::WithParamInterface<EndingCase> {};

// The desktop copy is on disk while the scene may read it, and goes when the
// run ends, however it ends; the world map stays.
TEST_P(DesktopCopyTest, GoesWithTheRun) {
  WriteSettings(0, "", 0, "");
  ASSERT_TRUE(StartSaver(saver_, "/s"));
  HWND scene = WaitForTopLevelWindow(kSceneWindowTitle, 15s);
  ASSERT_NE(scene, nullptr);
  EXPECT_TRUE(FileThere(RunPictures().room.c_str()));
  EXPECT_TRUE(FileThere(RunPictures().ring.c_str()));

  switch (GetParam().ending) {
    case Ending::kSceneKilled: {
      // A scene that has run a while: the saver's watch, looking every
      // 500 ms, has seen its window (before that the start-up grace applies).
      WaitFor([] { return false; }, 1500ms);
      DWORD sceneProcess = 0;
      GetWindowThreadProcessId(scene, &sceneProcess);
      const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, sceneProcess);
      ASSERT_NE(process, nullptr);
      TerminateProcess(process, 1);
      EXPECT_EQ(WaitForSingleObject(process, 5000), WAIT_OBJECT_0);
      CloseHandle(process);
      // On a busy machine the watch may not have looked yet; then the
      // start-up grace ends the run instead.
      ExpectSaverEnds(15s);
      break;
    }
    case Ending::kRunWindowClosed:
      // Someone else asks the hidden run window to close; the scene goes on.
      PostMessageA(FindTopLevelWindow(launcher::kRunWindowTitle), WM_CLOSE, 0, 0);
      ExpectSaverEnds(5s);
      break;
    case Ending::kSessionEnded:
      // Logging off ends the process right after this message.
      SendMessageA(FindTopLevelWindow(launcher::kRunWindowTitle), WM_ENDSESSION, TRUE, 0);
      EXPECT_FALSE(FileThere(RunPictures().room.c_str()));
      EndSceneWithEscape();
      ExpectSaverEnds(3s);
      break;
  }
  EXPECT_FALSE(FileThere(RunPictures().room.c_str())) << "the desktop copy outlived the run";
  EXPECT_TRUE(FileThere(RunPictures().ring.c_str()));
}

INSTANTIATE_TEST_SUITE_P(Endings, DesktopCopyTest,
                         testing::Values(EndingCase{"SceneKilled", Ending::kSceneKilled},
                                         EndingCase{"RunWindowClosed", Ending::kRunWindowClosed},
                                         EndingCase{"SessionEnded", Ending::kSessionEnded}),
                         [](const testing::TestParamInfo<EndingCase>& row) { return std::string(row.param.name); });

// Text in a code page, through the platform's own tables.
std::string InCodePage(UINT codePage, const std::wstring& text) {
  const int size = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
  bytes.pop_back();
  return bytes;
}

std::wstring Wide(const std::string& text) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), size);
  wide.pop_back();
  return wide;
}

bool IsYellow(Rgb c) { return c.r > 200 && c.g > 200 && c.b < 60; }

// A Japanese user's picture and music, named with characters whose second
// Shift-JIS byte is the backslash's code (ソ 83 5C, 表 95 5C). The settings
// file holds the same bytes whatever the system's code page: 932 reads them
// as ...\ソナタ\表.jpg and ...\ソナタ.mp3, 1252 as ...\ƒ\ƒiƒ^\•\.jpg and
// ...\ƒ\ƒiƒ^.mp3. Both sets of files exist, each with its own colour and
// tone, so the run shows and plays which ones it read. Run by
// hear_saver_run.sh under LANG=ja_JP.UTF-8 and LANG=en_US.UTF-8, which also
// listens for the tone (523 Hz for the Japanese names, 784 Hz otherwise).
TEST_F(SaverProgramTest, JapanesePathsAreReadInTheSystemCodePage) {
  const char* codePage = std::getenv("VENTALUNE_EXPECT_CODE_PAGE");
  const char* tone = std::getenv("VENTALUNE_RUN_TONE_MP3");
  const char* otherTone = std::getenv("VENTALUNE_RUN_OTHER_TONE_MP3");
  if (!codePage || !tone || !otherTone) GTEST_SKIP() << "run through hear_saver_run.sh with a system locale";
  ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(codePage))) << "Wine takes the code page from LANG";
  const bool japanese = GetACP() == 932;

  const std::wstring root = L"C:\\Ventalune Paths";
  const std::wstring japaneseFolder = root + L"\\ソナタ";
  const std::wstring japanesePicture = japaneseFolder + L"\\表.jpg";
  const std::wstring japaneseMusic = root + L"\\ソナタ.mp3";
  // The same bytes read one by one in code page 1252.
  const std::wstring westernFolder = root + L"\\ƒ\\ƒiƒ^\\•";
  const std::wstring westernPicture = westernFolder + L"\\.jpg";
  const std::wstring westernMusic = root + L"\\ƒ\\ƒiƒ^.mp3";
  ASSERT_EQ(InCodePage(1252, westernPicture), InCodePage(932, japanesePicture));
  ASSERT_EQ(InCodePage(1252, westernMusic), InCodePage(932, japaneseMusic));

  for (const std::wstring& folder : {root, japaneseFolder, root + L"\\ƒ", root + L"\\ƒ\\ƒiƒ^", westernFolder}) {
    CreateDirectoryW(folder.c_str(), nullptr);
  }
  const std::wstring data = Wide(ProductFolder()) + L"\\..\\tests-bin\\data\\";
  ASSERT_TRUE(CopyFileW((data + L"red-320x240.jpg").c_str(), japanesePicture.c_str(), FALSE));
  ASSERT_TRUE(CopyFileW((data + L"yellow-200x100.jpg").c_str(), westernPicture.c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(Wide(tone).c_str(), japaneseMusic.c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(Wide(otherTone).c_str(), westernMusic.c_str(), FALSE));

  {
    using namespace settings;
    const std::string ini = Installed("Ventalune.ini");
    std::ofstream(ini, std::ios::binary) << "[Section]\r\n"
                                         << kKeyPictureKind << "= 1\r\n"
                                         << kKeyPictureFile << "=" << InCodePage(932, japanesePicture) << "\r\n"
                                         << kKeyBgmKind << "= 2\r\n"
                                         << kKeyBgmRepeatTrack << "= 0\r\n"
                                         << kKeyBgmFile << "=" << InCodePage(932, japaneseMusic) << "\r\n";

    // The settings store keeps both choices and finds their folders.
    ProfileFile profile;
    DiskFiles files;
    Settings settings;
    LoadSettings(settings, profile, files, kInstallFolder, WidePath(ini), IsSystemLeadByte);
    EXPECT_EQ(settings.PictureKind, kPictureFile);
    EXPECT_EQ(settings.PictureFile, InCodePage(932, japanesePicture));
    EXPECT_EQ(settings.PictureFolder, InCodePage(GetACP(), japanese ? japaneseFolder : westernFolder));
    EXPECT_EQ(settings.BgmKind, settings::MusicKind::kSoundFile);
    EXPECT_EQ(settings.BgmFile, InCodePage(932, japaneseMusic));
    EXPECT_EQ(settings.BgmFolder, InCodePage(GetACP(), japanese ? root : root + L"\\ƒ"));
  }

  ASSERT_TRUE(StartSaver(saver_, "/s"));
  ASSERT_NE(WaitForTopLevelWindow(kSceneWindowTitle, 15s), nullptr);
  const BitmapPicture room = ReadBmpFile(RunPictures().room.c_str());
  EXPECT_EQ(room.width, japanese ? 320 : 200);
  EXPECT_EQ(room.height, japanese ? 240 : 100);
  const auto wallColour = japanese ? IsRed : IsYellow;
  ScreenPicture screen;
  const bool onTheWalls = WaitFor(
      [&] {
        screen = CaptureScreen();
        return screen.Count(wallColour) > 10000;
      },
      10s);
  if (!onTheWalls) screen.SaveBmp("C:\\japanese_paths_failure.bmp");
  EXPECT_TRUE(onTheWalls) << "walls showing the picture: " << screen.Count(wallColour) << " pixels";
  EXPECT_EQ(screen.Count(japanese ? IsYellow : IsRed), 0) << "the other picture is on the walls";

  WaitFor([] { return false; }, 3s);
  EndSceneWithEscape();
  ExpectSaverEnds(3s);
  WaitFor([] { return false; }, 2s);
}

// Wine draws no child window of another process, so what the preview shows
// is checked with the preview hosted in this process (preview_still_test).
TEST_F(SaverProgramTest, PreviewFillsTheHostAreaAndEndsWithIt) {
  PreviewHost host;
  const auto handle = static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(host.area()));
  ASSERT_TRUE(StartSaver(saver_, "/p " + std::to_string(handle)));
  HWND preview = nullptr;
  // Shown only once it is placed and sized.
  ASSERT_TRUE(WaitFor(
      [&] {
        preview = FindWindowExA(host.area(), nullptr, nullptr, "Preview Window");
        return preview && IsWindowVisible(preview);
      },
      10s));
  EXPECT_EQ(GetParent(preview), host.area());
  RECT rect{};
  GetWindowRect(preview, &rect);
  MapWindowPoints(nullptr, host.area(), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right - rect.left, 152);
  EXPECT_EQ(rect.bottom - rect.top, 112);

  host.DestroyArea();
  ExpectSaverEnds(5s);
}

TEST_F(SaverProgramTest, PreviewWithoutAHostEndsAtOnce) {
  ASSERT_TRUE(StartSaver(saver_, "/p"));
  ExpectSaverEnds(10s);
}

}  // namespace
}  // namespace ventalune::wine_test
