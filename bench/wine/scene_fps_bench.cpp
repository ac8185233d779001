// Frames per second of the real scene frame on this screen under this
// machine's GL: the program's own loop, counted from outside, with the
// scene's steps per second of the clock (60 however fast it draws) and the
// CPU time it took. Not a test; tools/bench runs it and prints the result.
// Usage: scene_fps_bench [seconds] [uncapped | monitors]. The program paces
// itself to the display rate; "uncapped" draws as fast as the driver allows,
// which measures the cost of drawing itself; "monitors" gives every monitor
// a room picture of its own size, as a desktop run does, and reports each
// monitor's frames and the scene's memory.
#include <windows.h>
#include <ole2.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/display_monitors.h"
#include "common/program_contract.h"
#include "common/run_monitors.h"
#include "scene/scene_frame.h"
#include "support/bitmap_file.h"
#include "support/program_driver.h"


namespace {

DWORD measureMs = 5000;
LARGE_INTEGER programStart{};
double firstFrameMs = 0;
DWORD startTick = 0;
DWORD stopTick = 0;
long frames = 0;
uint64_t stepsAtStart = 0;
uint64_t stepsAtStop = 0;
LARGE_INTEGER counterAtStart{};
LARGE_INTEGER counterAtStop{};
double cpuStart = 0;
double cpuStop = 0;
std::vector<ventalune::scene::MonitorView> views;  // as the last measured frame drew them
PROCESS_MEMORY_COUNTERS memory{};

// Seconds of CPU time this process has used, in user and kernel mode.
double CpuSeconds() {
  FILETIME created, ended, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return 0;
  auto seconds = [](FILETIME t) {
    return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

void CountFrame(ventalune::scene::SceneFrame& frame) {
  // Frames before the textures are loaded are not the steady state, and
  // none after the measurement ended.
  if (!frame.contextHasAssets || stopTick != 0) return;
  const DWORD now = GetTickCount();
  if (frames++ == 0) {
    startTick = now;
    cpuStart = CpuSeconds();
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    firstFrameMs = 1000.0 * static_cast<double>(counter.QuadPart - programStart.QuadPart) /
                   static_cast<double>(frequency.QuadPart);
  }
  // Steps from the second frame on: the first frame's textures took time
  // the second one catches up.
  if (frames == 2) {
    stepsAtStart = frame.motion->steps;
    QueryPerformanceCounter(&counterAtStart);
  }
  if (now - startTick >= measureMs) {
    stopTick = now;
    cpuStop = CpuSeconds();
    stepsAtStop = frame.motion->steps;
    QueryPerformanceCounter(&counterAtStop);
    views = frame.window->views;
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    ventalune::scene::RequestQuit(*frame.window);
  }
}

}  // namespace

int main(int argc, char** argv) {
  using namespace ventalune::wine_test;
  if (argc > 1) measureMs = static_cast<DWORD>(std::atoi(argv[1])) * 1000;
  const bool uncapped = argc > 2 && std::strcmp(argv[2], "uncapped") == 0;
  const bool monitors = argc > 2 && std::strcmp(argv[2], "monitors") == 0;
  // A photo-sized room picture and a small ring picture, as the saver writes
  // them, in the user's folder as a run leaves them; named to the scene as
  // the saver names it.
  const std::wstring folder = RunPictureFolder();
  CreateDirectoryW(folder.c_str(), nullptr);
  SetEnvironmentVariableW(ventalune::kPictureFolderVariable, folder.c_str());
  const ventalune::PicturePaths pictures = RunPictures();
  WriteBmpFile(pictures.room, 1024, 768,
               [](int x, int y) { return Rgb{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 128}; });
  WriteBmpFile(pictures.ring, 256, 256,
               [](int x, int y) { return Rgb{64, static_cast<uint8_t>(x), static_cast<uint8_t>(y)}; });
  if (monitors) {
    ventalune::RunMonitors run;
    for (const ventalune::DisplayMonitor& m : ventalune::ShownMonitors(ventalune::DisplayMonitors(), false)) {
      WriteBmpFile(ventalune::RoomPictureIn(folder, run.rooms.size()), m.area.width(), m.area.height(),
                   [](int x, int y) { return Rgb{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 128}; });
      run.rooms.push_back(m.area);
    }
    SetEnvironmentVariableW(ventalune::kRunMonitorsVariable, ventalune::FormatRunMonitors(run).c_str());
  }
  OleInitialize(nullptr);
  QueryPerformanceCounter(&programStart);
  const int exitCode = ventalune::scene::RunSceneProgram(
      GetModuleHandleA(nullptr), CountFrame,
      uncapped ? ventalune::scene::FramePacing::kUncapped : ventalune::scene::FramePacing::kDisplayRate);

  OleUninitialize();
  const double seconds = (stopTick - startTick) / 1000.0;
  std::printf("window, GL context and both textures to the first frame: %.0f ms\n", firstFrameMs);
  std::printf("scene frames %ld in %.2f s: %.1f frames per second at %dx%d (%s)\n", frames, seconds,
              seconds > 0 ? frames / seconds : 0.0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
              uncapped ? "uncapped" : "paced to the display rate");
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  const double clockSeconds =
      static_cast<double>(counterAtStop.QuadPart - counterAtStart.QuadPart) / static_cast<double>(frequency.QuadPart);
  std::printf("scene steps %llu in %.2f s of the clock: %.2f steps per second\n",
              static_cast<unsigned long long>(stepsAtStop - stepsAtStart), clockSeconds,
              clockSeconds > 0 ? static_cast<double>(stepsAtStop - stepsAtStart) / clockSeconds : 0.0);
  std::printf("CPU time while measuring %.2f s: %.0f%% of one core\n", cpuStop - cpuStart,
              seconds > 0 ? 100.0 * (cpuStop - cpuStart) / seconds : 0.0);
  if (monitors) {
    // Every frame draws every monitor's view.
    for (size_t i = 0; i < views.size(); ++i)
      std::printf("monitor %zu, %dx%d at (%d,%d): %.1f frames per second\n", i + 1, views[i].monitor.width(),
                  views[i].monitor.height(), views[i].monitor.left, views[i].monitor.top,
                  seconds > 0 ? frames / seconds : 0.0);
    std::printf("scene memory with %zu monitors: %.0f MB working set (peak %.0f MB)\n", views.size(),
                memory.WorkingSetSize / 1048576.0,
                memory.PeakWorkingSetSize / 1048576.0);
  }
  return exitCode;
}
