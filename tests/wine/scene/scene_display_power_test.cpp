// The scene's own frame, run inside the test, told that the display went
// off and on again as the system tells it: nothing is drawn meanwhile, and
// the scene's clock goes on.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "common/program_contract.h"
#include "scene/scene_frame.h"
#include "support/bitmap_file.h"
#include "support/program_driver.h"

namespace ventalune::wine_test {
namespace {

using namespace std::chrono_literals;

std::atomic<long> framesDrawn{0};
std::atomic<unsigned long long> stepsAtLastFrame{0};
std::atomic<HWND> sceneWindow{nullptr};

void CountFrame(scene::SceneFrame& frame) {
  if (!frame.contextHasAssets) return;
  stepsAtLastFrame = frame.motion->steps;
  ++framesDrawn;
  sceneWindow = frame.window->window;
}

// What the system sends the window at a change of the console display.
void SendDisplayState(HWND window, DWORD state) {
  std::vector<unsigned char> buffer(sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD));
  auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(buffer.data());
  setting->PowerSetting = GUID_CONSOLE_DISPLAY_STATE;
  setting->DataLength = sizeof(DWORD);
  std::memcpy(setting->Data, &state, sizeof(state));
  SendMessageW(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(setting));
}

TEST(SceneDisplayPowerTest, DrawsNothingWhileTheDisplayIsOffAndKeepsTheClock) {
  CreateDirectoryW(RunPictureFolder().c_str(), nullptr);
  ASSERT_TRUE(WriteBmpFile(RunPictures().room, 64, 64, [](int, int) { return Rgb{255, 0, 0}; }));
  ASSERT_TRUE(WriteBmpFile(RunPictures().ring, 64, 64, [](int, int) { return Rgb{0, 255, 0}; }));

  long framesBeforeOff = 0, framesWhileOff = 0, framesAfterOn = 0;
  unsigned long long stepsBeforeOff = 0, stepsAfterOn = 0;
  std::thread system([&] {
    while (framesDrawn < 10) std::this_thread::sleep_for(10ms);
    HWND window = sceneWindow;
    SendDisplayState(window, 0);
    framesBeforeOff = framesDrawn;
    stepsBeforeOff = stepsAtLastFrame;
    std::this_thread::sleep_for(1000ms);
    framesWhileOff = framesDrawn - framesBeforeOff;
    SendDisplayState(window, 2);  // dimmed still shows
    std::this_thread::sleep_for(500ms);
    framesAfterOn = framesDrawn - framesBeforeOff - framesWhileOff;
    stepsAfterOn = stepsAtLastFrame;
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  OleInitialize(nullptr);
  EXPECT_EQ(scene::RunSceneProgram(GetModuleHandleA(nullptr), CountFrame), 0);
  OleUninitialize();
  system.join();

  EXPECT_LE(framesWhileOff, 1) << "frames drawn for a display that is off";
  EXPECT_GE(framesAfterOn, 5) << "no frames once the display showed again";
  // 1.5 s of the clock; a clock that stood still while the display was off
  // would have taken half a second and a stall's catch-up.
  EXPECT_GE(stepsAfterOn - stepsBeforeOff, 75u);
  EXPECT_LE(stepsAfterOn - stepsBeforeOff, 100u);
}

}  // namespace
}  // namespace ventalune::wine_test
