// The live preview: the scene program draws the room and the rings into the
// preview window's frames. One case hosts the preview in this process (Wine
// draws no child window of another process), the others start the real
// Ventalune.scr on a host area of this process and watch the processes:
// nothing of ours outlives the preview, however it ends.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <memory>
#include <string>

#include "preview_host.h"
#include "saver/launcher/preview_window.h"
#include "support/bitmap_file.h"
#include "support/program_driver.h"
#include "support/screen_capture.h"

namespace ventalune::wine_test {
namespace {

// How many processes of ours run now, the saver's and the scene's.
int ProcessesOfOurs() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  int count = 0;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    const std::wstring name = entry.szExeFile;
    if (name.ends_with(L"Ventalune.scr") || name.ends_with(L"Ventalune.dll")) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

ScreenPicture CaptureArea(HWND area) {
  RECT r{};
  GetClientRect(area, &r);
  POINT origin{0, 0};
  ClientToScreen(area, &origin);
  return CaptureScreenArea({origin.x, origin.y, origin.x + r.right, origin.y + r.bottom});
}

constexpr Rgb kRed{220, 0, 0};
bool IsWall(Rgb c) { return ColourNear(c, kRed, 60); }

// The walls cover most of the area and a ring stands in the middle of it.
bool ShowsWallsAndARing(const ScreenPicture& shot) {
  if (shot.empty()) return false;
  const int walls = shot.Count(IsWall);
  int ringInMiddle = 0;
  for (int y = shot.height() / 3; y < shot.height() * 2 / 3; ++y)
    for (int x = shot.width() / 3; x < shot.width() * 2 / 3; ++x)
      if (!IsWall(shot.at(x, y))) ++ringInMiddle;
  return walls > shot.width() * shot.height() / 3 && ringInMiddle > 20;
}

int PixelsThatDiffer(const ScreenPicture& a, const ScreenPicture& b) {
  if (a.width() != b.width() || a.height() != b.height()) return -1;
  int differ = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (!ColourNear(a.at(x, y), b.at(x, y), 24)) ++differ;
  return differ;
}

TEST(LivePreviewTest, HostedSceneMovesFollowsTheAreaAndEndsWithIt) {
  ASSERT_EQ(ProcessesOfOurs(), 0) << "a process of ours is left over";
  HMODULE saver = LoadLibraryExA(ProductPath("Ventalune.scr").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(saver, nullptr);
  const std::string picture = "C:\\live preview walls.bmp";
  ASSERT_TRUE(WriteBmpFile(picture, 320, 240, [](int, int) { return kRed; }));
  PreviewHost host;
  const launcher::LiveScene live{WidePath(ProductPath("Ventalune.dll")), picture};
  ASSERT_TRUE(launcher::ShowPreview(GetModuleHandleA(nullptr), saver, host.area(), live));

  ScreenPicture first;
  const bool moving = WaitFor([&] { return ShowsWallsAndARing(first = CaptureArea(host.area())); }, 10s);
  if (!moving) first.SaveBmp("C:\\live_preview_failure.bmp");
  ASSERT_TRUE(moving) << "the area shows no walls and ring";
  WaitFor([] { return false; }, 1s);
  const ScreenPicture second = CaptureArea(host.area());
  EXPECT_GT(PixelsThatDiffer(first, second), 50) << "the rings did not move in a second";

  // At 200 % the host's area doubles: the frames follow it.
  host.ResizeArea(304, 224);
  EXPECT_TRUE(WaitFor(
      [&] {
        const ScreenPicture shot = CaptureArea(host.area());
        return shot.width() == 304 && ShowsWallsAndARing(shot) && IsWall(shot.at(300, 220)) && IsWall(shot.at(3, 3));
      },
      5s))
      << "the preview did not follow the area";

  // The Settings window takes the area away: the scene ends with it.
  host.DestroyArea();
  EXPECT_TRUE(WaitFor([] { return ProcessesOfOurs() == 0; }, 1s)) << "the scene outlived its preview";
  FreeLibrary(saver);
  DeleteFileA(picture.c_str());
}

// The switch Windows gives the saver for a preview in `host`'s area.
std::string PreviewSwitch(const PreviewHost& host) {
  return "/p " + std::to_string(static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(host.area())));
}

// The real saver's preview on a host area of this process.
class PreviewProcessTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(ProcessesOfOurs(), 0) << "a process of ours is left over"; }
  void TearDown() override {
    saver_.reset();
    WaitFor([] { return ProcessesOfOurs() == 0; }, 5s);
  }

  // Starts the preview on `host`; true once its scene runs beside it.
  bool StartPreview(const PreviewHost& host) {
    saver_ = std::make_unique<RunningProgram>();
    if (!saver_->Start(ProductPath("Ventalune.scr"), PreviewSwitch(host))) return false;
    return WaitFor([] { return ProcessesOfOurs() == 2; }, 10s);
  }

  std::unique_ptr<RunningProgram> saver_;
};

TEST_F(PreviewProcessTest, AreaDestroyedEndsEveryProcessWithinASecond) {
  PreviewHost host;
  ASSERT_TRUE(StartPreview(host)) << "the preview's scene did not start";
  host.DestroyArea();
  EXPECT_TRUE(WaitFor([] { return ProcessesOfOurs() == 0; }, 1s)) << ProcessesOfOurs() << " left";
}

TEST_F(PreviewProcessTest, PreviewProcessEndedOutrightTakesItsSceneWithinTwoSeconds) {
  PreviewHost host;
  ASSERT_TRUE(StartPreview(host)) << "the preview's scene did not start";
  TerminateProcess(saver_->process(), 1);
  EXPECT_TRUE(WaitFor([] { return ProcessesOfOurs() == 0; }, 2s)) << ProcessesOfOurs() << " left";
}

TEST_F(PreviewProcessTest, TwentyPreviewsInARowLeaveNothingBehind) {
  for (int i = 0; i < 20; ++i) {
    PreviewHost host;
    ASSERT_TRUE(StartPreview(host)) << "preview " << i << "'s scene did not start";
    host.DestroyArea();
    ASSERT_TRUE(WaitFor([] { return ProcessesOfOurs() == 0; }, 2s)) << "preview " << i << " left " << ProcessesOfOurs();
  }
}

// A second preview on the same area replaces the first: one of each is left.
TEST_F(PreviewProcessTest, ASecondPreviewReplacesTheFirst) {
  PreviewHost host;
  ASSERT_TRUE(StartPreview(host));
  RunningProgram second;
  ASSERT_TRUE(second.Start(ProductPath("Ventalune.scr"), PreviewSwitch(host)));
  EXPECT_TRUE(saver_->WaitForExit(5s)) << "the first preview stayed";
  EXPECT_TRUE(WaitFor([] { return ProcessesOfOurs() == 2; }, 5s)) << ProcessesOfOurs() << " processes";
  host.DestroyArea();
  EXPECT_TRUE(WaitFor([] { return ProcessesOfOurs() == 0; }, 2s));
}

// An area of a few pixels shows the still: no scene is started for it.
TEST_F(PreviewProcessTest, AnAreaOfAFewPixelsStartsNoScene) {
  PreviewHost host;
  host.ResizeArea(20, 15);
  saver_ = std::make_unique<RunningProgram>();
  ASSERT_TRUE(saver_->Start(ProductPath("Ventalune.scr"), PreviewSwitch(host)));
  ASSERT_TRUE(WaitFor([&] { return FindWindowExA(host.area(), nullptr, nullptr, "Preview Window") != nullptr; }, 10s));
  EXPECT_FALSE(WaitFor([] { return ProcessesOfOurs() > 1; }, 2s)) << "a scene started for a tiny area";
  host.DestroyArea();
}

}  // namespace
}  // namespace ventalune::wine_test
