// How long a saver run takes from its start to the scene's window, and where
// the time goes: the desktop copy, the two picture files, the scene program's
// start. Not a test; tools/bench runs it and prints the result.
#include <windows.h>
#include <ole2.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "assets/saver_resources.h"
#include "saver/toolkit/mirror.h"
#include "saver/toolkit/picture_surface.h"
#include "support/program_driver.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace ventalune;
using namespace ventalune::wine_test;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The run's own steps, done here the same way and timed one by one.
void TimeLoadSteps(HMODULE saver) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  toolkit::PictureSurface display, worldMap;
  auto start = Clock::now();
  display.Resize(width, height);
  HDC screen = GetDC(GetDesktopWindow());
  BitBlt(display.dc(), 0, 0, width, height, screen, 0, 0, SRCCOPY);
  ReleaseDC(GetDesktopWindow(), screen);
  toolkit::MirrorLeftRight(display.pixels(), width, height);
  std::printf("capture (copy and mirror %dx%d): %.1f ms\n", width, height, MsSince(start));
  start = Clock::now();
  worldMap.LoadResource(saver, IDR_WORLD_MAP);
  std::printf("world map decode: %.1f ms\n", MsSince(start));
  start = Clock::now();
  display.SaveBitmapFile("C:\\q_sarn\\bench1.bmp");
  worldMap.SaveBitmapFile("C:\\q_sarn\\bench2.bmp");
  std::printf("file writes (both bitmaps): %.1f ms\n", MsSince(start));
  DeleteFileA("C:\\q_sarn\\bench1.bmp");
  DeleteFileA("C:\\q_sarn\\bench2.bmp");
}

}  // namespace

int main() {
  OleInitialize(nullptr);
  CreateDirectoryA("C:\\q_sarn", nullptr);
  const std::string saverPath = ProductPath("Ventalune.scr");
  HMODULE saver = LoadLibraryExA(saverPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  TimeLoadSteps(saver);
  FreeLibrary(saver);

  // The whole run as the host starts it, up to the scene's window. Its
  // first frame follows after the texture load, which scene_fps_bench times.
  RunningProgram run;
  const auto start = Clock::now();
  run.Start(saverPath, "/s");
  WaitFor([] { return FindWindowA(nullptr, "Nubivola_VC") != nullptr; }, 20s);
  std::printf("saver start to scene window (capture, files, process start, GL window): %.0f ms\n", MsSince(start));
  if (HWND scene = FindWindowA(nullptr, "Nubivola_VC")) PostMessageA(scene, WM_CLOSE, 0, 0);
  run.WaitForExit(10s);
  OleUninitialize();
  return 0;
}
