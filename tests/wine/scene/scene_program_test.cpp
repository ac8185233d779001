// Drives the real Ventalune.dll the way the saver does: two pictures in the
// user's own folder, the program started with no arguments, then watched through
// its window title and the screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <string>
#include <thread>

#include "common/program_contract.h"
#include "support/bitmap_file.h"
#include "support/front_window.h"
#include "support/program_driver.h"
#include "support/screen_capture.h"

namespace ventalune::wine_test {
namespace {

// Room: pure red, which the unlit walls show unchanged. Rings: pure green,
// which lighting darkens but never turns red.
bool IsRoomRed(Rgb c) { return c.r > 200 && c.g < 60 && c.b < 60; }
bool IsRingGreen(Rgb c) { return c.g > 60 && c.g > c.r + 40 && c.g > c.b + 40; }

void WriteTestPictures() {
  CreateDirectoryW(RunPictureFolder().c_str(), nullptr);
  ASSERT_TRUE(WriteBmpFile(RunPictures().room, 320, 240, [](int, int) { return Rgb{255, 0, 0}; }));
  ASSERT_TRUE(WriteBmpFile(RunPictures().ring, 64, 64, [](int, int) { return Rgb{0, 255, 0}; }));
}

class SceneProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    WriteTestPictures();
    ASSERT_EQ(FindTopLevelWindow(kSceneWindowTitle), nullptr) << "a scene window is left over";
  }

  // Starts the program and waits until its window shows both pictures.
  HWND StartAndWaitForScene() {
    EXPECT_TRUE(scene_.Start(ProductPath("Ventalune.dll")));
    HWND window = WaitForTopLevelWindow(kSceneWindowTitle, 15s);
    EXPECT_NE(window, nullptr);
    if (!window) return nullptr;
    ScreenPicture screen;
    const bool shown = WaitFor(
        [&] {
          screen = CaptureScreen();
          return screen.Count(IsRoomRed) > 10000 && screen.Count(IsRingGreen) > 500;
        },
        10s);
    if (!shown) screen.SaveBmp("C:\\scene_program_test_failure.bmp");
    EXPECT_TRUE(shown) << "room pixels " << screen.Count(IsRoomRed) << ", ring pixels "
                       << screen.Count(IsRingGreen);
    return window;
  }

  void ExpectCleanExit() {
    DWORD exitCode = 99;
    ASSERT_TRUE(scene_.WaitForExit(10s, &exitCode)) << "the program did not end";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(FindTopLevelWindow(kSceneWindowTitle), nullptr);
  }

  RunningProgram scene_;
};

// On any screen: through the 1024 × 768 mode where the display has it, over
// the whole primary monitor at its own size where it has not (today's
// screens, today's Windows). Nothing of the desktop stays in view.
TEST_F(SceneProgramTest, ShowsRoomAndRingsFullScreen) {
  HWND window = StartAndWaitForScene();
  ASSERT_NE(window, nullptr);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  RECT frame{}, client{};
  GetWindowRect(window, &frame);
  GetClientRect(window, &client);
  EXPECT_EQ(frame.left, 0);
  EXPECT_EQ(frame.top, 0);
  EXPECT_EQ(client.right, width);
  EXPECT_EQ(client.bottom, height);
  EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_CAPTION, 0) << "a title bar";
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  // The walls reach every corner of the screen.
  const std::array<POINT, 4> corners{POINT{4, 4}, POINT{width - 5, 4}, POINT{4, height - 5},
                                     POINT{width - 5, height - 5}};
  ScreenPicture screen;
  const bool walls = WaitFor(
      [&] {
        screen = CaptureScreen();
        for (const POINT& corner : corners)
          if (!IsRoomRed(screen.at(corner.x, corner.y))) return false;
        return true;
      },
      5s);
  if (!walls) screen.SaveBmp("C:\\scene_corners_failure.bmp");
  EXPECT_TRUE(walls) << "a corner of the " << width << " x " << height << " screen shows no wall";
  PostMessageA(window, WM_CLOSE, 0, 0);
  ExpectCleanExit();
}

TEST_F(SceneProgramTest, EscapeKeyEndsTheRun) {
  HWND window = StartAndWaitForScene();
  ASSERT_NE(window, nullptr);
  SetForegroundWindow(window);
  // Held until the program has gone: Esc counts only while it is down at a
  // frame step.
  KeyDown(VK_ESCAPE);
  ExpectCleanExit();
  KeyUp(VK_ESCAPE);
}

// Handles whatever a foreground change told the scene before going on.
void LetSceneCatchUp(HWND scene) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(scene, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
}

// Windows may refuse the scene the foreground, or another window may take
// it later; Wine never refuses, so a window of the test takes it after the
// scene has shown. Esc pressed there still ends the scene, and nothing of it
// stays: no process, no window, no hold on Esc.
TEST_F(SceneProgramTest, EscapeEndsTheRunWhileAnotherWindowIsInFront) {
  HWND window = StartAndWaitForScene();
  ASSERT_NE(window, nullptr);
  FrontWindow front;
  ASSERT_TRUE(front.TakeForeground()) << "the test's window cannot take the foreground";
  LetSceneCatchUp(window);
  KeyDown(VK_ESCAPE);
  ExpectCleanExit();
  KeyUp(VK_ESCAPE);
  EXPECT_EQ(GetForegroundWindow(), front.window());
  EXPECT_EQ(front.escapesReceived(), 0) << "Esc went to the window in front instead of ending the scene";
  EXPECT_TRUE(WindowsOfProcess(scene_.processId()).empty());
  EXPECT_FALSE(EscapeHeldAsHotKey()) << "Esc is still held after the scene ended";
}

// The full-screen window left behind holds Esc; the ordinary window a
// display-mode switch makes in its place gives it back to the user's
// programs, also when another window is in front.
TEST_F(SceneProgramTest, DisplayModeSwitchGivesEscBack) {
  HWND fullScreen = StartAndWaitForScene();
  ASSERT_NE(fullScreen, nullptr);
  FrontWindow front;
  ASSERT_TRUE(front.TakeForeground());
  LetSceneCatchUp(fullScreen);
  EXPECT_TRUE(EscapeHeldAsHotKey()) << "the full-screen scene behind another window does not hold Esc";

  PostMessageA(fullScreen, WM_USER + 1, 0, 0);
  HWND windowed = nullptr;
  ASSERT_TRUE(WaitFor([&] { windowed = FindTopLevelWindow(kSceneWindowTitle); return windowed && windowed != fullScreen; }, 10s));
  LetSceneCatchUp(windowed);
  EXPECT_FALSE(EscapeHeldAsHotKey()) << "the closed full-screen window kept Esc";
  ASSERT_TRUE(front.TakeForeground());
  LetSceneCatchUp(windowed);
  EXPECT_FALSE(EscapeHeldAsHotKey()) << "the scene in an ordinary window took Esc";
  EXPECT_TRUE(scene_.running());

  PostMessageA(windowed, WM_CLOSE, 0, 0);
  ExpectCleanExit();
}

TEST_F(SceneProgramTest, OtherKeysAndMouseMovesDoNotEndTheRun) {
  HWND window = StartAndWaitForScene();
  ASSERT_NE(window, nullptr);
  SetForegroundWindow(window);
  PressKey(VK_SPACE);
  PressKey('A');
  SetCursorPos(100, 100);
  SetCursorPos(600, 400);
  EXPECT_FALSE(scene_.WaitForExit(1500ms));
  PostMessageA(window, WM_CLOSE, 0, 0);
  ExpectCleanExit();
}

TEST_F(SceneProgramTest, CloseMessageEndsTheRun) {
  HWND window = StartAndWaitForScene();
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_CLOSE, 0, 0);
  ExpectCleanExit();
}

// Exactly SC_SCREENSAVE is swallowed; the next code up gets the default
// handling, which under Wine opens its About box in the scene's process.
TEST_F(SceneProgramTest, ScreenSaveCommandIsSwallowedExactly) {
  HWND window = StartAndWaitForScene();
  ASSERT_NE(window, nullptr);
  const size_t windowsBefore = WindowsOfProcess(scene_.processId()).size();

  PostMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
  EXPECT_FALSE(WaitFor([&] { return WindowsOfProcess(scene_.processId()).size() > windowsBefore; }, 1500ms));
  EXPECT_TRUE(scene_.running());

  PostMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE + 1, 0);
  EXPECT_TRUE(WaitFor([&] { return WindowsOfProcess(scene_.processId()).size() > windowsBefore; }, 10s))
      << "no default handling for SC_SCREENSAVE + 1";
  for (HWND other : WindowsOfProcess(scene_.processId()))
    if (other != window) PostMessageA(other, WM_CLOSE, 0, 0);

  PostMessageA(window, WM_CLOSE, 0, 0);
  ExpectCleanExit();
}

// Another program may flip the scene between full screen and a window. The
// new window has a new GL context; the textures must come back with it.
TEST_F(SceneProgramTest, DisplayModeSwitchKeepsTheTextures) {
  HWND fullScreen = StartAndWaitForScene();
  ASSERT_NE(fullScreen, nullptr);
  EXPECT_EQ(GetWindowLongA(fullScreen, GWL_STYLE) & WS_CAPTION, 0);

  PostMessageA(fullScreen, WM_USER + 1, 0, 0);
  HWND windowed = nullptr;
  ASSERT_TRUE(WaitFor([&] { windowed = FindTopLevelWindow(kSceneWindowTitle); return windowed && windowed != fullScreen; }, 10s));
  EXPECT_EQ(GetWindowLongA(windowed, GWL_STYLE) & WS_CAPTION, static_cast<LONG>(WS_CAPTION));
  RECT client{};
  GetClientRect(windowed, &client);
  // Sized for a 1024 × 768 client area; a screen of that very height leaves
  // room for less once the caption is added.
  EXPECT_EQ(client.right, 1024);
  EXPECT_GT(client.bottom, 700);
  // Both pictures are on screen again, drawn by the new context.
  int room = 0, rings = 0;
  EXPECT_TRUE(WaitFor(
      [&] {
        const ScreenPicture screen = CaptureScreen();
        room = screen.Count(IsRoomRed);
        rings = screen.Count(IsRingGreen);
        return room > 10000 && rings > 500;
      },
      10s))
      << "room pixels " << room << ", ring pixels " << rings;
  EXPECT_TRUE(scene_.running());

  PostMessageA(windowed, WM_CLOSE, 0, 0);
  ExpectCleanExit();
}

struct BadPictureCase {
  const char* name;
  bool room;     // otherwise the rings' picture
  bool missing;  // otherwise present but damaged
};

class SceneBadPictureTest : public SceneProgramTest, public testing::WithParamInterface<BadPictureCase> {};

// A picture that cannot become a texture ends the program by itself, with
// exit code 0 and no window left, before anything is drawn.
TEST_P(SceneBadPictureTest, EndsByItself) {
  const BadPictureCase& row = GetParam();
  const std::wstring file = row.room ? RunPictures().room : RunPictures().ring;
  if (row.missing) {
    ASSERT_TRUE(DeleteFileW(file.c_str()));
  } else {
    // "BM" and a header that promises pixels the file does not hold.
    ASSERT_TRUE(WriteRawFile(file, {'B', 'M', 0x36, 0x10, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0, 40, 0, 0, 0, 0x40, 0,
                                    0, 0, 0x40, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 0xff, 0xff}));
  }
  ASSERT_TRUE(scene_.Start(ProductPath("Ventalune.dll")));
  ExpectCleanExit();
}

INSTANTIATE_TEST_SUITE_P(Pictures, SceneBadPictureTest,
                         testing::Values(BadPictureCase{"RoomMissing", true, true},
                                         BadPictureCase{"RoomDamaged", true, false},
                                         BadPictureCase{"RingsMissing", false, true},
                                         BadPictureCase{"RingsDamaged", false, false}),
                         [](const testing::TestParamInfo<BadPictureCase>& row) { return std::string(row.param.name); });

// Started alone, the scene reads the user's own folder, never the shared
// one any account can fill: pictures planted there never reach the walls.
// With none of its own it ends by itself, as for missing pictures.
TEST_F(SceneProgramTest, PicturesPlantedInTheSharedFolderNeverReachTheWalls) {
  ASSERT_TRUE(DeleteFileW(RunPictures().room.c_str()));
  CreateDirectoryA(kSharedDataFolder, nullptr);
  ASSERT_TRUE(WriteBmpFile(SharedDataPicture(kRoomPictureName), 320, 240, [](int, int) { return Rgb{255, 0, 0}; }));
  ASSERT_TRUE(WriteBmpFile(SharedDataPicture(kRingPictureName), 64, 64, [](int, int) { return Rgb{0, 255, 0}; }));
  ASSERT_TRUE(scene_.Start(ProductPath("Ventalune.dll")));
  bool redSeen = false;
  const bool ended = WaitFor(
      [&] {
        redSeen = redSeen || CaptureScreen().Count(IsRoomRed) > 10000;
        return !scene_.running();
      },
      10s);
  EXPECT_TRUE(ended);
  EXPECT_FALSE(redSeen) << "the planted picture is on the walls";
  ExpectCleanExit();
  DeleteFileA(SharedDataPicture(kRoomPictureName).c_str());
  DeleteFileA(SharedDataPicture(kRingPictureName).c_str());
  RemoveDirectoryA(kSharedDataFolder);
}

}  // namespace
}  // namespace ventalune::wine_test
