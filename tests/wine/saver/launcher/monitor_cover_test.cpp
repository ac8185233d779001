// A saver run on a machine with several monitors: the scene fills the
// primary, every other monitor shows a black window of the saver for as long
// as the run lasts, and nothing of the saver is left once it has ended. The
// two-monitor cases run on the nested two-head display that
// two_monitor_run.sh starts; on the usual one-monitor display they are
// skipped, and the one-monitor case checks that a run there opens no window
// of the saver's own.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/program_contract.h"
#include "saver/launcher/saver_run.h"
#include "saver/settings/settings_keys.h"
#include "run_start.h"
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

// A green window over one monitor: the desktop a person left showing there.
class GreenDesktop {
 public:
  explicit GreenDesktop(const RECT& area) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = CreateSolidBrush(RGB(0, 200, 0));
    windowClass.lpszClassName = "VentaluneTestGreen";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, "VentaluneTestGreen", "green", WS_POPUP | WS_VISIBLE, area.left,
                              area.top, area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
    UpdateWindow(window_);
  }
  ~GreenDesktop() { DestroyWindow(window_); }

 private:
  HWND window_ = nullptr;
};

class MonitorCoverTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(PrepareRun(kInstallFolder));
    // The desktop copy and no music: nothing but the windows matters here.
    const std::string ini = Installed("Ventalune.ini");
    using namespace settings;
    WritePrivateProfileStringA(kSettingsSection, kKeyPictureKind, "0", ini.c_str());
    WritePrivateProfileStringA(kSettingsSection, kKeyBgmKind, "0", ini.c_str());
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
  GreenDesktop desktop(second);
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

}  // namespace
}  // namespace ventalune::wine_test
