// A saver run where one of the two programs is killed from outside (a task
// manager, a crash): the other must still end cleanly. When the scene goes,
// the saver notices at its next watch, stops the music and shows the cursor;
// when the saver goes, the scene still ends on Esc and puts the display mode
// and the cursor back.
//
// Run by hear_killed_runs.sh, which records the sound meanwhile and checks
// that the music stopped with the run; the tone file comes in
// VENTALUNE_RUN_TONE_WAV (without it the runs have no music).
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <string>

#include "common/program_contract.h"
#include "saver/launcher/saver_run.h"
#include "saver/settings/settings_keys.h"
#include "run_start.h"
#include "support/program_driver.h"

namespace ventalune::wine_test {
namespace {

constexpr char kInstallFolder[] = "C:\\Program Files\\Ventalune Killed";
// The saver looks for the scene window this often.
constexpr auto kWatchPeriod = 500ms;

std::string Installed(const char* file) { return std::string(kInstallFolder) + "\\" + file; }

bool CursorShowing() {
  CURSORINFO info{};
  info.cbSize = sizeof(info);
  return GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING) != 0;
}

struct DisplayMode {
  DWORD width = 0, height = 0, bits = 0;
  bool operator==(const DisplayMode&) const = default;
};

DisplayMode CurrentDisplayMode() {
  DEVMODEA mode{};
  mode.dmSize = sizeof(mode);
  EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
  return {mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel};
}

// Kills a process as a task manager would, and waits until it has gone.
bool Kill(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
  if (!process) return false;
  const bool killed = TerminateProcess(process, 1) && WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
  CloseHandle(process);
  return killed;
}

// Stops every thread of a process, as a hung program stands still.
void SuspendProcess(DWORD processId) {
  HANDLE threads = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  ASSERT_NE(threads, INVALID_HANDLE_VALUE);
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Thread32First(threads, &entry); more; more = Thread32Next(threads, &entry)) {
    if (entry.th32OwnerProcessID != processId) continue;
    if (HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) {
      SuspendThread(thread);
      CloseHandle(thread);
    }
  }
  CloseHandle(threads);
}

class KilledRunTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(PrepareRun(kInstallFolder));
    displayBefore_ = CurrentDisplayMode();
    const char* tone = std::getenv("VENTALUNE_RUN_TONE_WAV");
    const std::string ini = Installed("Ventalune.ini");
    using namespace settings;
    WritePrivateProfileStringA(kSettingsSection, kKeyPictureKind, "0", ini.c_str());
    WritePrivateProfileStringA(kSettingsSection, kKeyPictureFile, "", ini.c_str());
    WritePrivateProfileStringA(kSettingsSection, kKeyBgmKind, tone ? "2" : "0", ini.c_str());
    WritePrivateProfileStringA(kSettingsSection, kKeyBgmRepeatTrack, "0", ini.c_str());
    WritePrivateProfileStringA(kSettingsSection, kKeyBgmFile, tone ? tone : "", ini.c_str());

    ASSERT_TRUE(saver_.Start(Installed("Ventalune.scr"), "/s"));
    scene_ = WaitForTopLevelWindow(kSceneWindowTitle, 15s);
    ASSERT_NE(scene_, nullptr);
    GetWindowThreadProcessId(scene_, &sceneProcess_);
    // Let the run settle: pictures on the walls, music playing.
    WaitFor([] { return false; }, 2s);
  }

  void TearDown() override {
    if (HWND scene = FindTopLevelWindow(kSceneWindowTitle)) {
      DWORD process = 0;
      GetWindowThreadProcessId(scene, &process);
      Kill(process);
    }
    saver_.WaitForExit(5s);
    // Quiet for the recording, whatever the test did.
    WaitFor([] { return false; }, 2s);
  }

  RunningProgram saver_;
  HWND scene_ = nullptr;
  DWORD sceneProcess_ = 0;
  DisplayMode displayBefore_;
};

TEST_F(KilledRunTest, SaverEndsWithinAWatchWhenTheSceneIsKilled) {
  ASSERT_TRUE(Kill(sceneProcess_));
  EXPECT_EQ(FindTopLevelWindow(kSceneWindowTitle), nullptr);
  // One watch period, and as much again for a machine under load.
  DWORD exitCode = 99;
  ASSERT_TRUE(saver_.WaitForExit(kWatchPeriod * 4, &exitCode)) << "the saver did not notice the scene had gone";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(FindTopLevelWindow(launcher::kRunWindowTitle), nullptr);
  EXPECT_TRUE(WaitFor(CursorShowing, 2s)) << "the cursor is back after the run";
}

TEST_F(KilledRunTest, SceneStillEndsOnEscapeWhenTheSaverIsKilled) {
  ASSERT_TRUE(Kill(saver_.processId()));
  // The scene goes on by itself, full screen, until the user ends it.
  EXPECT_FALSE(WaitFor([] { return FindTopLevelWindow(kSceneWindowTitle) == nullptr; }, 1500ms));

  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, sceneProcess_);
  ASSERT_NE(process, nullptr);
  ASSERT_TRUE(WaitFor([&] { SetForegroundWindow(scene_); return GetForegroundWindow() == scene_; }, 5s));
  KeyDown(VK_ESCAPE);
  const bool ended = WaitFor([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, 10s);
  KeyUp(VK_ESCAPE);
  CloseHandle(process);
  ASSERT_TRUE(ended) << "the scene did not end on Esc";
  // (Wine on a virtual display keeps its depth while the scene asks for 16
  // bits, so there this holds throughout; on a real display it is the
  // scene's teardown that brings it back.)
  EXPECT_EQ(CurrentDisplayMode(), displayBefore_) << "the display mode is not back";
  EXPECT_TRUE(WaitFor(CursorShowing, 2s)) << "the cursor is back after the run";
}

// A scene that stops answering covers the screen and takes no Esc: the run
// ends it after 10 s of silence, and everything of ours goes with it.
TEST_F(KilledRunTest, SaverEndsAHungScene) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, sceneProcess_);
  ASSERT_NE(process, nullptr);
  SuspendProcess(sceneProcess_);
  const bool sceneEnded = WaitForSingleObject(process, 20000) == WAIT_OBJECT_0;
  CloseHandle(process);
  ASSERT_TRUE(sceneEnded) << "the hung scene is still there after 20 s";
  DWORD exitCode = 99;
  ASSERT_TRUE(saver_.WaitForExit(5s, &exitCode)) << "the saver did not end with the hung scene";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(FindTopLevelWindow(kSceneWindowTitle), nullptr);
  EXPECT_EQ(CurrentDisplayMode(), displayBefore_) << "the display mode is not back";
  EXPECT_TRUE(WaitFor(CursorShowing, 2s)) << "the cursor is back after the run";
}

}  // namespace
}  // namespace ventalune::wine_test
