// Frames per second and CPU of the live preview under Wine: the preview
// hosted in this process, as the Screen Saver settings host it, the scene
// program drawing for it. Not a test; tools/bench runs it and prints the
// result. Usage: preview_fps_bench WIDTHxHEIGHT [seconds].
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/preview_frames.h"
#include "saver/launcher/preview_window.h"
#include "support/bitmap_file.h"
#include "support/program_driver.h"

namespace {

long frames = 0;

LRESULT CALLBACK CountFrames(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && message->message == ventalune::kPreviewFrameMessage) ++frames;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The scene program's process, once it runs.
HANDLE OpenScene() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  HANDLE scene = nullptr;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !scene; more = Process32NextW(snapshot, &entry))
    if (std::wstring(entry.szExeFile).ends_with(L"Ventalune.dll"))
      scene = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
  CloseHandle(snapshot);
  return scene;
}

double CpuSeconds(HANDLE process) {
  FILETIME created, ended, kernel, user;
  if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return 0;
  auto seconds = [](FILETIME t) {
    return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace ventalune::wine_test;
  int width = 152, height = 112;
  if (argc > 1) std::sscanf(argv[1], "%dx%d", &width, &height);
  const DWORD measureMs = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) * 1000 : 5000;

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "VentaluneBenchHost";
  RegisterClassA(&windowClass);
  HWND frame = CreateWindowExA(0, "VentaluneBenchHost", "Screen Saver Settings", WS_POPUP | WS_VISIBLE, 50, 50,
                               width + 80, height + 80, nullptr, nullptr, windowClass.hInstance, nullptr);
  HWND area = CreateWindowExA(0, "VentaluneBenchHost", "", WS_CHILD | WS_VISIBLE, 40, 40, width, height, frame,
                              nullptr, windowClass.hInstance, nullptr);
  HMODULE saver = LoadLibraryExA(ProductPath("Ventalune.scr").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  SetWindowsHookExA(WH_GETMESSAGE, CountFrames, nullptr, GetCurrentThreadId());
  const ventalune::launcher::LiveScene live{WidePath(ProductPath("Ventalune.dll")), {}};
  if (!saver || !ventalune::launcher::ShowPreview(GetModuleHandleA(nullptr), saver, area, live)) {
    std::printf("preview at %dx%d: could not be shown\n", width, height);
    return 1;
  }
  // The first second is the scene's start; the steady state after it.
  HANDLE scene = nullptr;
  WaitFor([&] { return (scene = OpenScene()) != nullptr && frames > 0; }, 10s);
  WaitFor([] { return false; }, 1s);
  if (!scene) {
    std::printf("preview at %dx%d: no scene\n", width, height);
    return 1;
  }
  const long framesAtStart = frames;
  const double sceneAtStart = CpuSeconds(scene), oursAtStart = CpuSeconds(GetCurrentProcess());
  const DWORD start = GetTickCount();
  WaitFor([&] { return GetTickCount() - start >= measureMs; }, std::chrono::milliseconds(measureMs + 1000));
  const double seconds = (GetTickCount() - start) / 1000.0;
  const double sceneCpu = CpuSeconds(scene) - sceneAtStart, oursCpu = CpuSeconds(GetCurrentProcess()) - oursAtStart;
  std::printf("preview at %dx%d: %.1f frames per second; CPU %.0f%% of one core in the scene, %.0f%% painting\n",
              width, height, (frames - framesAtStart) / seconds, 100.0 * sceneCpu / seconds,
              100.0 * oursCpu / seconds);
  DestroyWindow(frame);
  CloseHandle(scene);
  FreeLibrary(saver);
  return 0;
}
