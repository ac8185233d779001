// CPU time per frame change of the real control under Wine: each step
// composes the next frame (engine and bitmap conversion, outside GDI) and
// paints it (GDI). Not a test; tools/anigif-wine-bench runs it.
// anigif_frame_bench [--stretch N] GIF [GIF...]
// The control is 600 × 450 and takes the picture's own size (stretch 4)
// unless another stretch mode is given.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "saver/controls/anigif/anigif_control.h"
#include "saver/controls/anigif/frame_presenter.h"
#include "support/bitmap_file.h"
#include "support/program_driver.h"

namespace {

using ventalune::anigif::ucAniGIF;

// CPU time of this thread in microseconds (user and kernel).
double ThreadCpuMicroseconds() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto value = [](FILETIME t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return static_cast<double>(value(kernel) + value(user)) / 10.0;
}

double WallMicroseconds() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1e6 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Mean {
  double cpu = 0;   // this thread's CPU time
  double wall = 0;  // elapsed, which also holds the X server's drawing
  int count = 0;
};

// Repeats `step` until at least `minimumMs` of CPU time went by.
template <class Step>
Mean Measure(int minimumMs, Step step) {
  const double cpuStart = ThreadCpuMicroseconds();
  const double wallStart = WallMicroseconds();
  Mean mean;
  double now = cpuStart;
  while (now - cpuStart < minimumMs * 1000.0 || mean.count < 50) {
    step();
    ++mean.count;
    now = ThreadCpuMicroseconds();
  }
  mean.cpu = (now - cpuStart) / mean.count;
  mean.wall = (WallMicroseconds() - wallStart) / mean.count;
  return mean;
}

int Bench(HWND host, const std::string& path, int stretch) {
  const std::vector<uint8_t> bytes = ventalune::wine_test::ReadRawFile(path);
  ucAniGIF control;
  if (!control.Create(host, 0, 0, 600, 450)) return 1;
  control.SetStretch(stretch);
  control.SetDelayAnimation(2);  // built at once, not started: the steps drive it
  if (!control.LoadAnimatedGIF_Array(bytes)) {
    std::fprintf(stderr, "anigif_frame_bench: %s does not load\n", path.c_str());
    return 1;
  }
  ventalune::wine_test::WaitFor([&] { return control.AnimationState() == 0; }, std::chrono::seconds(5));
  const Mean change = Measure(2000, [&] { control.SetAction(ventalune::anigif::kActionStep); });

  // Loaded as the control loads it, at its working size.
  ventalune::gif::GifPicture picture;
  ventalune::gif::LoadOptions options;
  options.maxWorkingPixels = ventalune::anigif::kWorkingCanvasPixels;
  picture.Load(bytes, options);
  ventalune::anigif::FramePresenter presenter;
  size_t frame = 0;
  const Mean compose = Measure(2000, [&] {
    presenter.Show(picture, frame);
    frame = (frame + 1) % picture.builtFrames();
  });

  RECT area{};
  GetClientRect(control.window(), &area);
  std::printf("%s: %d frames %d x %d (composed at %d x %d), shown at %ld x %ld: %.0f us CPU per frame change "
              "(%d changes, %.0f us elapsed), %.0f us of it outside GDI (composition and conversion, %.0f%%)\n",
              path.c_str(), control.FrameCount(), picture.logicalWidth(), picture.logicalHeight(),
              picture.workingWidth(), picture.workingHeight(), area.right, area.bottom, change.cpu, change.count,
              change.wall, compose.cpu, 100.0 * compose.cpu / change.cpu);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1, stretch = 4;
  if (argc > 2 && std::string(argv[1]) == "--stretch") {
    stretch = std::atoi(argv[2]);
    first = 3;
  }
  if (argc <= first) {
    std::fputs("usage: anigif_frame_bench [--stretch N] GIF [GIF...]\n", stderr);
    return 2;
  }
  OleInitialize(nullptr);
  WNDCLASSA hostClass{};
  hostClass.lpfnWndProc = DefWindowProcA;
  hostClass.hInstance = GetModuleHandleA(nullptr);
  hostClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  hostClass.lpszClassName = "AniGifBenchHost";
  RegisterClassA(&hostClass);
  HWND host = CreateWindowExA(0, "AniGifBenchHost", "bench", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr,
                              hostClass.hInstance, nullptr);
  int status = 0;
  for (int i = first; i < argc; ++i) status |= Bench(host, argv[i], stretch);
  DestroyWindow(host);
  OleUninitialize();
  return status;
}
