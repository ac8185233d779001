// A saver run on a machine with several monitors. With the room on every
// monitor, each shows it, its walls carrying that monitor's own desktop,
// mirrored. With the main monitor only, the scene fills the primary, every
// other monitor shows a black window of the saver for as long as the run
// lasts. Either way nothing of the saver is left once it has ended. The
// several-monitor cases run on the nested displays that monitor_layouts_run.sh
// starts; on the usual one-monitor display they are skipped, and the
// one-monitor case checks that a run there opens no window of the saver's own.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "common/program_contract.h"
#include "saver/launcher/saver_run.h"
#include "saver/settings/settings_keys.h"
#include "run_start.h"
#include "support/bitmap_file.h"
#include "support/program_driver.h"
#include "support/screen_capture.h"

namespace ventalune::wine_test {
namespace {

constexpr char kInstallFolder[] = "C:\\Ventalune Covers";

std::string Installed(const char* file) { return std::string(kInstallFolder) + "\\" + file; }

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

struct Monitors {
  RECT primary{};
  std::vector<RECT> others;
};

Monitors CurrentMonitors() {
  Monitors monitors;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM param) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        auto* m = reinterpret_cast<Monitors*>(param);
        if (GetMonitorInfoA(monitor, &info)) {
          if (info.dwFlags & MONITORINFOF_PRIMARY)
            m->primary = info.rcMonitor;
          else
            m->others.push_back(info.rcMonitor);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

bool AllBlack(const ScreenPicture& picture) {
  return !picture.empty() && picture.Count([](Rgb c) { return c.r + c.g + c.b > 24; }) == 0;
}
bool MostlyGreen(const ScreenPicture& picture) {
  const int green = picture.Count([](Rgb c) { return c.g > 150 && c.r < 80 && c.b < 80; });
  return !picture.empty() && green > picture.width() * picture.height() * 9 / 10;
}

// A real X pointer or key event (XTEST through xdotool), as a person's hand
// would make. Wine starts a host program but cannot wait for it, so a shell
// leaves xdotool's exit status in a file, which the test waits for.
bool Xdotool(const std::string& arguments) {
  static int calls = 0;
  const std::string name = "ventalune-xdotool-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++calls);
  const std::string hostFile = "/tmp/" + name, windowsFile = "Z:\\tmp\\" + name;
  DeleteFileA(windowsFile.c_str());
  RunningProgram shell;
  if (!shell.Start("Z:\\bin\\sh", "-c \"xdotool " + arguments + "; echo $? >" + hostFile + ".part; mv " + hostFile +
                                          ".part " + hostFile + "\""))
    return false;
  std::string status;
  const bool done = WaitFor(
      [&] {
        char text[16]{};
        HANDLE file = CreateFileA(windowsFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        DWORD read = 0;
        ReadFile(file, text, sizeof(text) - 1, &read, nullptr);
        CloseHandle(file);
        status.assign(text, read);
        return true;
      },
      10s);
  DeleteFileA(windowsFile.c_str());
  return done && status.rfind("0", 0) == 0;
}

// Two colours side by side, the left one and the right one, between two
// narrow bands of a third at the edges.
struct Pattern {
  Rgb left, right, edges;
};
constexpr Pattern kGreen{{0, 200, 0}, {0, 200, 0}, {0, 200, 0}};
// Each band at the edges takes this share of the width.
constexpr int kEdgePercent = 15;

// A window over one monitor, its left half one colour, its right half
// another, narrow bands at the edges: the desktop a person left showing
// there. The scene's view of a wall shows only the middle of the picture,
// so in the scene the bands all but vanish.
class PaintedDesktop {
 public:
  PaintedDesktop(const RECT& area, Pattern pattern) : pattern_(pattern) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Paint;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VentaluneTestDesktop";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, "VentaluneTestDesktop", "desktop", WS_POPUP, area.left, area.top,
                              area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pattern_));
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
  }
  ~PaintedDesktop() { DestroyWindow(window_); }

 private:
  static LRESULT CALLBACK Paint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* pattern = reinterpret_cast<const Pattern*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message != WM_PAINT || !pattern) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    const int middle = client.right / 2, edge = client.right * kEdgePercent / 100;
    const auto fill = [&](RECT part, Rgb c) {
      HBRUSH brush = CreateSolidBrush(RGB(c.r, c.g, c.b));
      FillRect(dc, &part, brush);
      DeleteObject(brush);
    };
    fill({0, 0, client.right, client.bottom}, pattern->edges);
    fill({edge, 0, middle, client.bottom}, pattern->left);
    fill({middle, 0, client.right - edge, client.bottom}, pattern->right);
    EndPaint(window, &paint);
    return 0;
  }

  Pattern pattern_;
  HWND window_ = nullptr;
};

class MonitorCoverTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(PrepareRun(kInstallFolder));
    // The desktop copy and no music: nothing but the windows matters here.
    // The covers are for the main monitor only.
    WriteSetting(settings::kKeyPictureKind, "0");
    WriteSetting(settings::kKeyBgmKind, "0");
    WriteSetting(settings::kKeyMonitors, "1");
  }

  static void WriteSetting(const char* key, const std::string& value) {
    WritePrivateProfileStringA(settings::kSettingsSection, key, value.c_str(), Installed("Ventalune.ini").c_str());
  }

  void TearDown() override {
    if (HWND scene = FindTopLevelWindow(kSceneWindowTitle)) PostMessageA(scene, WM_CLOSE, 0, 0);
    saver_.WaitForExit(10s);
    WaitFor([] { return !FindTopLevelWindow(kSceneWindowTitle); }, 10s);
  }

  // Two monitors, or the test is skipped (it fails instead where the
  // two-monitor display was promised).
  bool HaveTwoMonitors() {
    monitors_ = CurrentMonitors();
    if (!monitors_.others.empty()) return true;
    if (std::getenv("VENTALUNE_TWO_MONITORS")) ADD_FAILURE() << "the two-monitor display shows one monitor";
    return false;
  }

  void StartRun() {
    ASSERT_TRUE(saver_.Start(Installed("Ventalune.scr"), "/s"));
    scene_ = WaitForTopLevelWindow(kSceneWindowTitle, 15s);
    ASSERT_NE(scene_, nullptr);
  }

  // The saver's visible windows that lie exactly over `area`.
  std::vector<HWND> SaverWindowsOver(const RECT& area) const {
    std::vector<HWND> found;
    for (HWND window : WindowsOfProcess(saver_.processId()))
      if (SameRect(WindowRect(window), area)) found.push_back(window);
    return found;
  }

  void ExpectRunEnds() {
    ASSERT_TRUE(WaitFor([] { return !FindTopLevelWindow(kSceneWindowTitle); }, 10s)) << "the scene did not end";
    DWORD exitCode = 99;
    ASSERT_TRUE(saver_.WaitForExit(10s, &exitCode)) << "the saver did not end";
    EXPECT_EQ(exitCode, 0u);
  }

  Monitors monitors_;
  RunningProgram saver_;
  HWND scene_ = nullptr;
};

TEST_F(MonitorCoverTest, OneMonitorRunShowsNoWindowOfTheSaver) {
  if (!CurrentMonitors().others.empty()) GTEST_SKIP() << "for the one-monitor display";
  StartRun();
  // Give the run's watch a few looks at the scene; no cover may appear.
  EXPECT_FALSE(WaitFor([&] { return !WindowsOfProcess(saver_.processId()).empty(); }, 2s));
  PostMessageA(scene_, WM_CLOSE, 0, 0);
  ExpectRunEnds();
}

TEST_F(MonitorCoverTest, SecondMonitorGoesBlackAndAClickThereLeavesEscWithTheScene) {
  if (!HaveTwoMonitors()) GTEST_SKIP() << "needs a second monitor";
  ASSERT_EQ(monitors_.others.size(), 1u);
  const RECT second = monitors_.others[0];
  PaintedDesktop desktop(second, kGreen);
  ASSERT_TRUE(WaitFor([&] { return MostlyGreen(CaptureScreenArea(second)); }, 5s)) << "the test desktop is not showing";

  StartRun();
  EXPECT_TRUE(SameRect(WindowRect(scene_), monitors_.primary)) << "the scene fills the primary monitor";
  ASSERT_TRUE(WaitFor([&] { return SaverWindowsOver(second).size() == 1; }, 5s)) << "no cover on the second monitor";
  EXPECT_EQ(WindowsOfProcess(saver_.processId()).size(), 1u) << "one cover, nothing else of the saver showing";
  EXPECT_TRUE(WaitFor([&] { return AllBlack(CaptureScreenArea(second)); }, 5s)) << "the cover is not black";
  // Which window is in front depends on what the test showed before; it
  // must not be the cover.
  DWORD frontProcess = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &frontProcess);
  EXPECT_NE(frontProcess, saver_.processId()) << "the cover took the keyboard as it appeared";

  // The keyboard goes to the scene, as a window manager would have it; a
  // click on the dark monitor must not take it away.
  const std::string focusScene = std::string("search --name '^") + kSceneWindowTitle + "$' windowfocus --sync";
  ASSERT_TRUE(WaitFor([&] { return Xdotool(focusScene); }, 10s))
      << "the scene's X window cannot be focused";
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == scene_; }, 5s)) << "the scene is not in front";
  const int x = (second.left + second.right) / 2, y = (second.top + second.bottom) / 2;
  ASSERT_TRUE(Xdotool("mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " click 1"))
      << "xdotool cannot click";
  EXPECT_TRUE(FindTopLevelWindow(kSceneWindowTitle)) << "the click ended the scene";
  EXPECT_TRUE(saver_.running()) << "the click ended the run";
  EXPECT_EQ(GetForegroundWindow(), scene_) << "the click took the keyboard from the scene";
  ASSERT_TRUE(Xdotool("keydown Escape sleep 0.3 keyup Escape")) << "xdotool cannot press Esc";
  ExpectRunEnds();

  // Nothing of ours is left: the desktop shows on the second monitor again.
  EXPECT_EQ(FindTopLevelWindow(launcher::kRunWindowTitle), nullptr);
  EXPECT_TRUE(WaitFor([&] { return MostlyGreen(CaptureScreenArea(second)); }, 5s)) << "the cover stayed behind";
}

TEST_F(MonitorCoverTest, CoverFollowsADisplayChange) {
  if (!HaveTwoMonitors()) GTEST_SKIP() << "needs a second monitor";
  const RECT second = monitors_.others[0];
  StartRun();
  std::vector<HWND> covers;
  ASSERT_TRUE(WaitFor([&] { return (covers = SaverWindowsOver(second)).size() == 1; }, 5s));
  // Pushed aside, as if the monitors had changed under it; the display
  // change message makes the run lay its covers again.
  SetWindowPos(covers[0], nullptr, second.left + 100, second.top + 100, 50, 50, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(WaitFor([&] { return SaverWindowsOver(second).empty(); }, 5s));
  SendMessageA(FindTopLevelWindow(launcher::kRunWindowTitle), WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
  EXPECT_TRUE(WaitFor([&] { return SaverWindowsOver(second).size() == 1; }, 5s)) << "the cover was not laid again";
  PostMessageA(scene_, WM_CLOSE, 0, 0);
  ExpectRunEnds();
}

void KillProcessOf(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId)) {
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
  }
}

struct EndCase {
  const char* name;
  void (*end)(HWND cover, HWND scene);
};

class MonitorCoverEndTest : public MonitorCoverTest, public testing::WithParamInterface<EndCase> {};

// However the run ends, its cover goes with it.
TEST_P(MonitorCoverEndTest, CoverGoesWithTheRun) {
  if (!HaveTwoMonitors()) GTEST_SKIP() << "needs a second monitor";
  StartRun();
  std::vector<HWND> covers;
  ASSERT_TRUE(WaitFor([&] { return (covers = SaverWindowsOver(monitors_.others[0])).size() == 1; }, 5s));
  GetParam().end(covers[0], scene_);
  DWORD exitCode = 99;
  ASSERT_TRUE(saver_.WaitForExit(10s, &exitCode)) << "the saver did not end";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_FALSE(IsWindow(covers[0]));
}

INSTANTIATE_TEST_SUITE_P(
    Ends, MonitorCoverEndTest,
    testing::Values(
        // Should a cover ever hold the keyboard, Esc there ends the run as
        // on the scene; so does a close request.
        EndCase{"EscOnTheCover", [](HWND cover, HWND) { PostMessageA(cover, WM_KEYDOWN, VK_ESCAPE, 0); }},
        EndCase{"CoverAskedToClose", [](HWND cover, HWND) { PostMessageA(cover, WM_CLOSE, 0, 0); }},
        EndCase{"SceneClosed", [](HWND, HWND scene) { PostMessageA(scene, WM_CLOSE, 0, 0); }},
        EndCase{"SceneKilled", [](HWND, HWND scene) { KillProcessOf(scene); }},
        // The scene runs on by itself then; the fixture closes it.
        EndCase{"RunWindowAskedToClose",
                [](HWND, HWND) { PostMessageA(FindTopLevelWindow(launcher::kRunWindowTitle), WM_CLOSE, 0, 0); }}),
    [](const testing::TestParamInfo<EndCase>& row) { return std::string(row.param.name); });

// Each monitor its own desktop: its left half one colour, its right half
// another, none of them on any other monitor nor in the world map.
constexpr Rgb kTeal{0, 128, 128};
constexpr Pattern kMonitorPatterns[] = {{{255, 0, 0}, {255, 255, 0}, kTeal},
                                        {{255, 0, 255}, {0, 255, 255}, kTeal},
                                        {{255, 128, 0}, {128, 0, 255}, kTeal}};

std::vector<RECT> AllMonitors(const Monitors& monitors) {
  std::vector<RECT> all{monitors.primary};
  all.insert(all.end(), monitors.others.begin(), monitors.others.end());
  return all;
}

// Where a colour shows on a monitor's capture: how much of it there is, and
// how much of that lies in the monitor's right half.
struct Presence {
  double share = 0, rightHalf = 0;
};
Presence PresenceOf(const ScreenPicture& picture, Rgb colour) {
  int count = 0, right = 0;
  for (int y = 0; y < picture.height(); y += 2)
    for (int x = 0; x < picture.width(); x += 2)
      if (ColourNear(picture.at(x, y), colour, 50)) {
        ++count;
        if (x >= picture.width() / 2) ++right;
      }
  const double samples = static_cast<double>(picture.width() / 2) * (picture.height() / 2);
  return {count / std::max(samples, 1.0), count ? static_cast<double>(right) / count : 0.0};
}

// The scene is drawn on the monitor, not its desktop still showing: the
// middle of the desktop fills the view, the bands at its edges are gone.
bool SceneShowsDesktop(const ScreenPicture& shot, const Pattern& own) {
  return PresenceOf(shot, own.edges).share < 0.12 && PresenceOf(shot, own.left).share > 0.15 &&
         PresenceOf(shot, own.right).share > 0.15;
}

class EveryMonitorTest : public MonitorCoverTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(MonitorCoverTest::SetUp());
    WriteSetting(settings::kKeyMonitors, "0");
    if (!HaveTwoMonitors()) return;
    const std::vector<RECT> all = AllMonitors(monitors_);
    ASSERT_LE(all.size(), std::size(kMonitorPatterns));
    for (size_t i = 0; i < all.size(); ++i) desktops_.push_back(std::make_unique<PaintedDesktop>(all[i], kMonitorPatterns[i]));
    for (size_t i = 0; i < all.size(); ++i)
      ASSERT_TRUE(WaitFor([&] { return PresenceOf(CaptureScreenArea(all[i]), kMonitorPatterns[i].left).share > 0.3; }, 5s))
          << "the test desktop is not showing on monitor " << i;
  }

  void TearDown() override {
    MonitorCoverTest::TearDown();
    desktops_.clear();
  }

  // The rectangle all monitors span.
  RECT VirtualScreen() const {
    RECT all = monitors_.primary;
    for (const RECT& r : monitors_.others) UnionRect(&all, &all, &r);
    return all;
  }

  void SaveForPeople(const ScreenPicture& picture, size_t monitor) const {
    const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    picture.SaveBmp("Z:\\tmp\\ventalune-" + name + "-monitor" + std::to_string(monitor) + ".bmp");
  }

  void EndWithEscOnTheScene() {
    const std::string focusScene = std::string("search --name '^") + kSceneWindowTitle + "$' windowfocus --sync";
    ASSERT_TRUE(WaitFor([&] { return Xdotool(focusScene); }, 10s)) << "the scene's X window cannot be focused";
    ASSERT_TRUE(Xdotool("keydown Escape sleep 0.3 keyup Escape")) << "xdotool cannot press Esc";
    ExpectRunEnds();
  }

  // Nothing of the run is left: each monitor shows its desktop again.
  void ExpectDesktopsBack() {
    EXPECT_EQ(FindTopLevelWindow(launcher::kRunWindowTitle), nullptr);
    const std::vector<RECT> all = AllMonitors(monitors_);
    for (size_t i = 0; i < all.size(); ++i)
      EXPECT_TRUE(WaitFor([&] { return PresenceOf(CaptureScreenArea(all[i]), kMonitorPatterns[i].left).share > 0.3; }, 5s))
          << "monitor " << i << " does not show its desktop again";
  }

  std::vector<std::unique_ptr<PaintedDesktop>> desktops_;
};

TEST_F(EveryMonitorTest, EachMonitorShowsItsOwnDesktopMirrored) {
  if (!HaveTwoMonitors()) GTEST_SKIP() << "needs a second monitor";
  StartRun();
  EXPECT_TRUE(SameRect(WindowRect(scene_), VirtualScreen())) << "the scene spans the monitors";
  const std::vector<RECT> all = AllMonitors(monitors_);
  // Each room picture is its monitor's desktop at its size, mirrored left
  // to right: the desktop's left colour in the file's right half.
  for (size_t i = 0; i < all.size(); ++i) {
    const BitmapPicture copy = ReadBmpFile(RoomPictureIn(RunPictureFolder(), i));
    ASSERT_EQ(copy.width, all[i].right - all[i].left) << "room picture " << i;
    ASSERT_EQ(copy.height, all[i].bottom - all[i].top) << "room picture " << i;
    EXPECT_TRUE(ColourNear(copy.at(copy.width / 4, copy.height / 2), kMonitorPatterns[i].right, 8)) << i;
    EXPECT_TRUE(ColourNear(copy.at(copy.width * 3 / 4, copy.height / 2), kMonitorPatterns[i].left, 8)) << i;
  }
  // On the screen, each monitor's walls show its own desktop, the same way
  // round on every monitor as on the main one.
  std::vector<double> leftColourOnTheRight;
  for (size_t i = 0; i < all.size(); ++i) {
    const Pattern& own = kMonitorPatterns[i];
    ScreenPicture shot;
    // The walls show once the scene has drawn its first frames.
    const bool walls = WaitFor(
        [&] {
          shot = CaptureScreenArea(all[i]);
          return SceneShowsDesktop(shot, own);
        },
        15s);
    SaveForPeople(shot, i);
    ASSERT_TRUE(walls) << "monitor " << i << "'s walls do not show its own desktop";
    leftColourOnTheRight.push_back(PresenceOf(shot, own.left).rightHalf);
    const bool oneSided = leftColourOnTheRight.back() < 0.3 || leftColourOnTheRight.back() > 0.7;
    EXPECT_TRUE(oneSided) << "monitor " << i << ": " << leftColourOnTheRight.back();
    EXPECT_EQ(leftColourOnTheRight.back() > 0.5, leftColourOnTheRight.front() > 0.5) << "monitor " << i;
    for (size_t j = 0; j < all.size(); ++j) {
      if (j == i) continue;
      EXPECT_LT(PresenceOf(shot, kMonitorPatterns[j].left).share, 0.01) << "monitor " << j << "'s desktop on " << i;
      EXPECT_LT(PresenceOf(shot, kMonitorPatterns[j].right).share, 0.01) << "monitor " << j << "'s desktop on " << i;
    }
  }
  EXPECT_TRUE(WindowsOfProcess(saver_.processId()).empty()) << "a cover shows over the scene";
  EndWithEscOnTheScene();
  ExpectDesktopsBack();
  for (size_t i = 0; i < all.size(); ++i)
    EXPECT_EQ(GetFileAttributesW(RoomPictureIn(RunPictureFolder(), i).c_str()), INVALID_FILE_ATTRIBUTES)
        << "desktop copy " << i << " outlived the run";
}

TEST_F(EveryMonitorTest, TheUsersPictureOnEveryMonitorAndAClickThenEscEndsTheRun) {
  if (!HaveTwoMonitors()) GTEST_SKIP() << "needs a second monitor";
  const std::string picture = Installed("green and blue.bmp");
  ASSERT_TRUE(WriteBmpFile(picture, 320, 240, [](int x, int) { return x < 160 ? Rgb{0, 200, 0} : Rgb{0, 0, 200}; }));
  WriteSetting(settings::kKeyPictureKind, "1");
  WriteSetting(settings::kKeyPictureFile, picture);
  StartRun();
  const std::vector<RECT> all = AllMonitors(monitors_);
  for (size_t i = 0; i < all.size(); ++i) {
    ScreenPicture shot;
    EXPECT_TRUE(WaitFor(
        [&] {
          shot = CaptureScreenArea(all[i]);
          return PresenceOf(shot, {0, 200, 0}).share > 0.05 && PresenceOf(shot, {0, 0, 200}).share > 0.05;
        },
        15s))
        << "monitor " << i << " does not show the picture";
    EXPECT_LT(PresenceOf(shot, kMonitorPatterns[i].left).share, 0.01) << "monitor " << i << " shows its desktop";
  }
  // A click on another monitor is on the scene too: it takes nothing away.
  // Not waited for with --sync: an earlier test may have left the pointer
  // just there, and xdotool would wait for a move that never comes.
  const RECT& second = all[1];
  ASSERT_TRUE(Xdotool("mousemove " + std::to_string((second.left + second.right) / 2 + 7) + " " +
                      std::to_string((second.top + second.bottom) / 2 + 5) + " sleep 0.3 click 1"))
      << "xdotool cannot click";
  EXPECT_TRUE(saver_.running()) << "the click ended the run";
  EndWithEscOnTheScene();
  ExpectDesktopsBack();
}

// The monitors change under a run (pushed aside here, as if they had); the
// display change message makes the scene lay itself over them again.
TEST_F(EveryMonitorTest, SceneFollowsADisplayChange) {
  if (!HaveTwoMonitors()) GTEST_SKIP() << "needs a second monitor";
  StartRun();
  ASSERT_TRUE(WaitFor([&] { return SameRect(WindowRect(scene_), VirtualScreen()); }, 5s));
  SetWindowPos(scene_, nullptr, 100, 100, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(WaitFor([&] { return !SameRect(WindowRect(scene_), VirtualScreen()); }, 5s));
  SendMessageA(scene_, WM_DISPLAYCHANGE, 32, MAKELPARAM(1920, 1080));
  EXPECT_TRUE(WaitFor([&] { return SameRect(WindowRect(scene_), VirtualScreen()); }, 5s)) << "the scene stayed aside";
  const std::vector<RECT> all = AllMonitors(monitors_);
  for (size_t i = 0; i < all.size(); ++i)
    EXPECT_TRUE(WaitFor([&] { return SceneShowsDesktop(CaptureScreenArea(all[i]), kMonitorPatterns[i]); }, 10s))
        << "monitor " << i << " shows no scene after the change";
  PostMessageA(scene_, WM_CLOSE, 0, 0);
  ExpectRunEnds();
}

TEST_F(EveryMonitorTest, MainMonitorOnlyLeavesTheOthersDark) {
  if (!HaveTwoMonitors()) GTEST_SKIP() << "needs a second monitor";
  WriteSetting(settings::kKeyMonitors, "1");
  StartRun();
  EXPECT_TRUE(SameRect(WindowRect(scene_), monitors_.primary)) << "the scene fills the main monitor";
  EXPECT_TRUE(WaitFor([&] { return SceneShowsDesktop(CaptureScreenArea(monitors_.primary), kMonitorPatterns[0]); }, 15s))
      << "the main monitor's walls do not show its desktop";
  for (size_t i = 0; i < monitors_.others.size(); ++i)
    EXPECT_TRUE(WaitFor([&] { return AllBlack(CaptureScreenArea(monitors_.others[i])); }, 5s))
        << "monitor " << i + 1 << " is not dark";
  EndWithEscOnTheScene();
  ExpectDesktopsBack();
}

}  // namespace
}  // namespace ventalune::wine_test
