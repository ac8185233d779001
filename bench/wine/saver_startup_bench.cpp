// How long a saver run takes from its start to the scene's window, and where
// the time goes: the desktop copy, the two picture files, the scene program's
// start. Not a test; tools/bench runs it and prints the result.
#include <windows.h>
#include <ole2.h>

#include <chrono>
#include <cstdio>
#include <string>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

#include "assets/saver_resources.h"
#include "common/program_contract.h"
#include "saver/pictures/mirror.h"
#include "saver/pictures/picture_surface.h"
#include "saver/settings/settings_keys.h"
#include "support/program_driver.h"
#include "support/screen_capture.h"

using ventalune::kSceneWindowTitle;

namespace {

// Files of its own in the temporary folder: only the timing matters.
std::string TemporaryFile(const char* name) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}
const std::string kBenchRoomFile = TemporaryFile("ventalune-bench1.bmp");
const std::string kBenchRingFile = TemporaryFile("ventalune-bench2.bmp");

using Clock = std::chrono::steady_clock;
using namespace ventalune;
using namespace ventalune::wine_test;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The run's own steps, done here the same way and timed one by one.
void TimeLoadSteps(HMODULE saver, bool chosenPictures) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  pictures::PictureSurface display, worldMap;
  auto start = Clock::now();
  display.Resize(width, height);
  HDC screen = GetDC(GetDesktopWindow());
  BitBlt(display.dc(), 0, 0, width, height, screen, 0, 0, SRCCOPY);
  ReleaseDC(GetDesktopWindow(), screen);
  pictures::MirrorLeftRight(display.pixels(), width, height);
  std::printf("capture (copy and mirror %dx%d): %.1f ms\n", width, height, MsSince(start));
  start = Clock::now();
  worldMap.LoadResource(saver, IDR_WORLD_MAP);
  std::printf("world map decode: %.1f ms\n", MsSince(start));
  start = Clock::now();
  display.SaveBitmapFile(kBenchRoomFile.c_str());
  worldMap.SaveBitmapFile(kBenchRingFile.c_str());
  std::printf("file writes (both bitmaps): %.1f ms\n", MsSince(start));
  DeleteFileA(kBenchRoomFile.c_str());
  DeleteFileA(kBenchRingFile.c_str());
  if (!chosenPictures) return;

  // The chosen picture's decode (reduced above 4096 pixels) and its file.
  for (const char* picture :
       {"large-1024x768.jpg", "large-6000x4000.jpg", "large-6000x4000-orientation6.jpg", "large-12000x6000.jpg"}) {
    const std::string path = ProductFolder() + "\\..\\tests-bin\\data\\" + picture;
    std::vector<double> decodes, writes;
    int chosenWidth = 0, chosenHeight = 0;
    for (int round = 0; round < 3; ++round) {
      pictures::PictureSurface chosen;
      start = Clock::now();
      chosen.LoadFile(path);
      decodes.push_back(MsSince(start));
      start = Clock::now();
      chosen.SaveBitmapFile(kBenchRoomFile.c_str());
      writes.push_back(MsSince(start));
      chosenWidth = chosen.width();
      chosenHeight = chosen.height();
    }
    std::sort(decodes.begin(), decodes.end());
    std::sort(writes.begin(), writes.end());
    std::printf("chosen picture %s: decode to %dx%d %.1f ms, file write %.1f ms (medians of 3)\n", picture,
                chosenWidth, chosenHeight, decodes[1], writes[1]);
  }
  DeleteFileA(kBenchRoomFile.c_str());
}

// The settings beside the product belong to whoever put them there: a
// bench that changes them puts them back as it found them.
class KeptFile {
 public:
  explicit KeptFile(std::string path) : path_(std::move(path)) {
    std::ifstream kept(path_, std::ios::binary);
    if (kept) before_ = std::string(std::istreambuf_iterator<char>(kept), {});
  }
  ~KeptFile() {
    if (before_) {
      std::ofstream(path_, std::ios::binary) << *before_;
    } else {
      DeleteFileA(path_.c_str());
    }
  }

 private:
  std::string path_;
  std::optional<std::string> before_;
};

std::string SettingsFileBeside(const std::string& saverPath) {
  return saverPath.substr(0, saverPath.find_last_of('\\')) + settings::kSettingsFileName;
}

// The test photos are red on their left half; the walls show that unlit.
bool IsRed(Rgb c) { return c.r > 200 && c.g < 60 && c.b < 60; }

// One run with the picture chosen: from "/s" to the first screen on which
// the walls show it. Nothing when it does not show within the time-out.
std::optional<double> MsToPictureOnWalls(const std::string& saverPath) {
  RunningProgram run;
  const auto start = Clock::now();
  if (!run.Start(saverPath, "/s")) return std::nullopt;
  const bool shown = WaitFor([] { return CaptureScreen().Count(IsRed) > 10000; }, 30s);
  const double ms = MsSince(start);
  WaitFor([] { return FindWindowA(nullptr, kSceneWindowTitle) != nullptr; }, 10s);
  if (HWND scene = FindWindowA(nullptr, kSceneWindowTitle)) PostMessageA(scene, WM_CLOSE, 0, 0);
  run.WaitForExit(10s);
  if (!shown) return std::nullopt;
  return ms;
}

// Camera-sized photos as the chosen picture, warm (one run first that is
// not counted), each size five times in turn; the median is reported.
void TimePictureRuns(const std::string& saverPath) {
  const std::string ini = SettingsFileBeside(saverPath);
  const KeptFile kept(ini);

  // The same camera photo untagged and tagged to be turned a quarter: what
  // turning it upright adds to the start.
  const char* pictures[] = {"large-1024x768.jpg", "large-6000x4000.jpg", "large-12000x6000.jpg",
                            "large-6000x4000-orientation6.jpg"};
  constexpr int kPictures = static_cast<int>(std::size(pictures));
  const auto choose = [&](const char* picture) {
    const std::string path = ProductFolder() + "\\..\\tests-bin\\data\\" + picture;
    WritePrivateProfileStringA(settings::kSettingsSection, settings::kKeyPictureKind, "1", ini.c_str());
    WritePrivateProfileStringA(settings::kSettingsSection, settings::kKeyPictureFile, path.c_str(), ini.c_str());
  };
  choose(pictures[0]);
  MsToPictureOnWalls(saverPath);
  std::vector<double> times[kPictures];
  bool neverShown[kPictures] = {};
  for (int round = 0; round < 5; ++round) {
    for (int i = 0; i < kPictures; ++i) {
      if (neverShown[i]) continue;
      choose(pictures[i]);
      if (const auto ms = MsToPictureOnWalls(saverPath)) {
        times[i].push_back(*ms);
      } else {
        neverShown[i] = true;
      }
    }
  }
  double medians[kPictures] = {};
  for (int i = 0; i < kPictures; ++i) {
    std::sort(times[i].begin(), times[i].end());
    medians[i] = times[i].empty() ? 0 : times[i][times[i].size() / 2];
    if (neverShown[i]) std::printf("%s: a run did not show the picture within 30 s\n", pictures[i]);
    std::printf("saver start to picture on the walls, %s: median %.0f ms of %zu runs (", pictures[i], medians[i],
                times[i].size());
    for (double ms : times[i]) std::printf(" %.0f", ms);
    std::printf(" )\n");
  }
  if (medians[0] > 0) {
    std::printf("picture on the walls, 6000x4000 / 1024x768: %.2f; 12000x6000 / 1024x768: %.2f\n",
                medians[1] / medians[0], medians[2] / medians[0]);
  }
  if (medians[1] > 0 && medians[3] > 0) {
    std::printf("picture on the walls, 6000x4000 tagged orientation 6 / untagged: %.2f (%+.0f ms)\n",
                medians[3] / medians[1], medians[3] - medians[1]);
  }

}

// A full-screen window of one colour standing in for the user's desktop.
class ColourDesktop {
 public:
  explicit ColourDesktop(COLORREF colour) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = CreateSolidBrush(colour);
    const std::string name = "VentaluneBenchDesktop" + std::to_string(colour);
    windowClass.lpszClassName = name.c_str();
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, name.c_str(), "desktop", WS_POPUP | WS_VISIBLE, 0, 0,
                              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                              windowClass.hInstance, nullptr);
    UpdateWindow(window_);
    PumpMessages();
  }
  ~ColourDesktop() { DestroyWindow(window_); }

 private:
  HWND window_ = nullptr;
};

// One run of the desktop copy at this screen's size, as the host starts it:
// from "/s" to the scene's window and to the first screen whose walls show
// the copy. The desktop is red until the run has copied it (its picture
// file appears), blue afterwards, so red on the screen is the walls.
void TimeDesktopRunAtThisSize(const std::string& saverPath) {
  const std::string ini = SettingsFileBeside(saverPath);
  const KeptFile kept(ini);
  WritePrivateProfileStringA(settings::kSettingsSection, settings::kKeyPictureKind, "0", ini.c_str());
  const std::wstring roomCopy = ventalune::wine_test::RunPictures().room;
  DeleteFileW(roomCopy.c_str());

  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  std::optional<double> windowMs, wallsMs;
  {
    auto red = std::make_unique<ColourDesktop>(RGB(255, 0, 0));
    RunningProgram run;
    const auto start = Clock::now();
    if (run.Start(saverPath, "/s")) {
      const bool copied =
          WaitFor([&] { return GetFileAttributesW(roomCopy.c_str()) != INVALID_FILE_ATTRIBUTES; }, 20s);
      ColourDesktop blue(RGB(0, 0, 255));
      red.reset();
      if (copied && WaitFor([] { return FindWindowA(nullptr, kSceneWindowTitle) != nullptr; }, 20s)) {
        windowMs = MsSince(start);
        if (WaitFor([] { return CaptureScreen().Count(IsRed) > 10000; }, 30s)) wallsMs = MsSince(start);
      }
      if (HWND scene = FindWindowA(nullptr, kSceneWindowTitle)) PostMessageA(scene, WM_CLOSE, 0, 0);
      run.WaitForExit(10s);
    }
  }
  if (windowMs) std::printf("desktop run %dx%d, saver start to scene window: %.0f ms\n", width, height, *windowMs);
  if (wallsMs) {
    std::printf("desktop run %dx%d, saver start to walls: %.0f ms\n", width, height, *wallsMs);
    std::printf("desktop run %dx%d, scene window to walls (texture load and upload, first frame): %.0f ms\n", width,
                height, *wallsMs - *windowMs);
  } else {
    std::printf("desktop run %dx%d: the walls did not show the copy within 30 s\n", width, height);
  }

}

}  // namespace

// "--desktop-run" times only a desktop-copy run at this screen's size (with
// the copy's own steps); tools/bench runs it on screens of several sizes.
// An optional argument names another Ventalune.scr (with its Ventalune.dll
// beside it) to time instead of the one built here, for comparisons.
int main(int argc, char** argv) {
  OleInitialize(nullptr);
  const bool desktopRunOnly = argc > 1 && std::string(argv[1]) == "--desktop-run";
  if (desktopRunOnly) --argc, ++argv;
  const std::string saverPath = argc > 1 ? argv[1] : ProductPath("Ventalune.scr");
  HMODULE saver = LoadLibraryExA(saverPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  TimeLoadSteps(saver, !desktopRunOnly);
  FreeLibrary(saver);
  if (desktopRunOnly) {
    TimeDesktopRunAtThisSize(saverPath);
    OleUninitialize();
    return 0;
  }

  // The whole run as the host starts it, up to the scene's window. Its
  // first frame follows after the texture load, which scene_fps_bench times.
  RunningProgram run;
  const auto start = Clock::now();
  run.Start(saverPath, "/s");
  WaitFor([] { return FindWindowA(nullptr, kSceneWindowTitle) != nullptr; }, 20s);
  std::printf("saver start to scene window (capture, files, process start, GL window): %.0f ms\n", MsSince(start));
  if (HWND scene = FindWindowA(nullptr, kSceneWindowTitle)) PostMessageA(scene, WM_CLOSE, 0, 0);
  run.WaitForExit(10s);
  TimePictureRuns(saverPath);
  OleUninitialize();
  return 0;
}
