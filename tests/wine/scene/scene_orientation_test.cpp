// The room at a given time after the scene's window appears, on this
// screen: run once to record it, then on a screen of another size to compare.
// The scene's motion follows the clock, not the drawing, so a large screen
// that draws fewer frames a second shows the room turned as far as a small
// one does. orientation_run.sh runs the two halves on two displays.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "common/program_contract.h"
#include "support/bitmap_file.h"
#include "support/program_driver.h"
#include "support/screen_capture.h"

namespace ventalune::wine_test {
namespace {

using namespace std::chrono_literals;

constexpr int kColumns = 40, kRows = 30;
constexpr const char* kRecordPath = "C:\\scene_orientation.txt";

// A room picture of four quadrants, so each wall's turn shows, and green rings.
void WriteTestPictures() {
  CreateDirectoryW(RunPictureFolder().c_str(), nullptr);
  ASSERT_TRUE(WriteBmpFile(RunPictures().room, 320, 240, [](int x, int y) {
    const bool right = x >= 160, top = y < 120;
    if (top) return right ? Rgb{255, 255, 0} : Rgb{255, 0, 0};
    return right ? Rgb{255, 255, 255} : Rgb{0, 0, 255};
  }));
  ASSERT_TRUE(WriteBmpFile(RunPictures().ring, 64, 64, [](int, int) { return Rgb{0, 255, 0}; }));
}

// What a cell of the screen shows: a quadrant's colour, a ring, or neither.
char Classify(Rgb c) {
  if (c.g > 60 && c.g > c.r + 40 && c.g > c.b + 40) return 'g';
  const Rgb room[] = {{255, 0, 0}, {255, 255, 0}, {255, 255, 255}, {0, 0, 255}};
  const char names[] = {'r', 'y', 'w', 'b'};
  for (int i = 0; i < 4; ++i)
    if (ColourNear(c, room[i], 60)) return names[i];
  return '.';
}

std::string Grid(const ScreenPicture& screen) {
  std::string grid;
  for (int row = 0; row < kRows; ++row)
    for (int column = 0; column < kColumns; ++column)
      grid += Classify(screen.at((2 * column + 1) * screen.width() / (2 * kColumns),
                                 (2 * row + 1) * screen.height() / (2 * kRows)));
  return grid;
}

double Agreement(const std::string& a, const std::string& b) {
  if (a.size() != b.size() || a.empty()) return 0;
  size_t same = 0;
  for (size_t i = 0; i < a.size(); ++i) same += a[i] == b[i];
  return static_cast<double>(same) / static_cast<double>(a.size());
}

// The screen's grid at each of the given times after the window appears.
std::vector<std::string> GridsAt(std::initializer_list<std::chrono::milliseconds> times) {
  WriteTestPictures();
  RunningProgram scene;
  EXPECT_TRUE(scene.Start(ProductPath("Ventalune.dll")));
  HWND window = nullptr;
  const auto giveUp = std::chrono::steady_clock::now() + 15s;
  while (!(window = FindTopLevelWindow(kSceneWindowTitle)) || !IsWindowVisible(window)) {
    if (std::chrono::steady_clock::now() > giveUp) return {};
    std::this_thread::sleep_for(2ms);
  }
  const auto appeared = std::chrono::steady_clock::now();
  std::vector<std::string> grids;
  for (const auto time : times) {
    std::this_thread::sleep_until(appeared + time);
    const ScreenPicture screen = CaptureScreen();
    grids.push_back(Grid(screen));
    char name[64];
    std::snprintf(name, sizeof name, "C:\\scene_orientation_%dx%d_%lld.bmp", screen.width(), screen.height(),
                  static_cast<long long>(time.count()));
    screen.SaveBmp(name);
  }
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(scene.WaitForExit(10s));
  return grids;
}

// The record, and proof that the grid tells the room's turn apart: a
// second later the room stands visibly otherwise.
TEST(SceneOrientationTest, Record) {
  const auto grids = GridsAt({3000ms, 4000ms});
  ASSERT_EQ(grids.size(), 2u) << "no scene window";
  std::printf("agreement of the room at 3 s and at 4 s: %.2f\n", Agreement(grids[0], grids[1]));
  EXPECT_LT(Agreement(grids[0], grids[1]), 0.75);
  std::ofstream(kRecordPath) << grids[0];
}

TEST(SceneOrientationTest, MatchesTheRecord) {
  std::string recorded;
  std::ifstream(kRecordPath) >> recorded;
  ASSERT_EQ(recorded.size(), static_cast<size_t>(kColumns * kRows)) << "no record at " << kRecordPath;
  const auto grids = GridsAt({3000ms});
  ASSERT_EQ(grids.size(), 1u) << "no scene window";
  const double agreement = Agreement(grids[0], recorded);
  std::printf("agreement with the record at 3 s: %.2f\n", agreement);
  EXPECT_GE(agreement, 0.85);
}

}  // namespace
}  // namespace ventalune::wine_test
