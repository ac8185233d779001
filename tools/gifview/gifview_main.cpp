// gifview [options] FILE-OR-URL: one animated-picture control in a window,
// to look at it by hand and to record it (--capture). Events and shots are
// reported on standard output, one line each.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "common/dib_section.h"
#include "common/handles.h"
#include "common/wide_text.h"
#include "common/window_of.h"
#include "saver/controls/anigif/anigif_control.h"
#include "saver/pictures/bitmap_file.h"
#include "tools/gifview/gifview_options.h"

namespace ventalune::gifview {
namespace {

using anigif::ucAniGIF;

constexpr wchar_t kHostClass[] = L"VentaluneGifview";
constexpr UINT_PTR kExitTimer = 1;
// Posted when a download has been accepted: it arrives after the control has
// loaded the data, which resets the loop count to the file's.
constexpr UINT kApplyLoops = WM_APP + 1;

void Say(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vprintf(format, arguments);
  va_end(arguments);
  std::fflush(stdout);
}

// The window the control lives in, and what it is asked to do later.
struct Host {
  ucAniGIF* control = nullptr;
  std::optional<int32_t> loopsWanted;

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_TIMER:
        if (wParam == kExitTimer) PostQuitMessage(0);
        return 0;
      case kApplyLoops:
        if (control && loopsWanted) control->SetLoops(*loopsWanted);
        return 0;
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
      default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
  }
};

class Recorder {
 public:
  Recorder(std::wstring folder, const ucAniGIF& control) : folder_(std::move(folder)), control_(control) {
    QueryPerformanceFrequency(&frequency_);
    QueryPerformanceCounter(&start_);
  }
  void Shot(HDC dc, int width, int height) {
    if (width <= 0 || height <= 0) return;
    HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
    BITMAPINFO info = ColourBitmapInfo(width, height, RowOrder::kTopDown);
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    if (!bitmap || GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS) == 0)
      return;
    const std::vector<uint8_t> file = pictures::EncodeBitmapFile(pixels, width, height);
    ++count_;
    wchar_t name[32];
    swprintf(name, 32, L"\\shot-%04d.bmp", count_);
    const std::wstring path = folder_ + name;
    const OwnedFile out(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (out) {
      DWORD written = 0;
      WriteFile(out.get(), file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
    }
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const long long ms = (now.QuadPart - start_.QuadPart) * 1000 / frequency_.QuadPart;
    Say("shot %d frame %d at %lld ms\n", count_, control_.currentFrame(), ms);
  }

 private:
  std::wstring folder_;
  const ucAniGIF& control_;
  LARGE_INTEGER frequency_{}, start_{};
  int count_ = 0;
};

int Run(const GifviewOptions& options) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const uint32_t rgb = options.background;
  // The class keeps its brush for the program's life.
  const OwnedBrush background(CreateSolidBrush(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF)));
  Host hostState;
  RegisterWindowClass({kHostClass, instance, WindowProcOf<Host>, 0, ArrowCursor(), background.get()});
  RECT frame{0, 0, options.width, options.height};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  AdjustWindowRect(&frame, style, FALSE);
  HWND host = CreateWindowExW(0, kHostClass, L"gifview", style, 0, 0, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, instance, &hostState);
  if (!host) return 1;
  ShowWindow(host, SW_SHOW);
  UpdateWindow(host);

  toolkit::AmbientProperties ambient;
  ambient.userMode = !options.design;
  ucAniGIF shown;
  hostState.control = &shown;
  hostState.loopsWanted = options.loops;
  if (!shown.Create(host, 0, 0, options.width, options.height, ambient)) return 1;
  if (options.stretch) shown.SetStretch(*options.stretch);
  if (options.mirror) shown.SetMirrored(*options.mirror);
  if (options.minDelay) shown.SetMinFrameDelay(*options.minDelay);
  if (options.delayMode) shown.SetDelayAnimation(*options.delayMode);

  std::unique_ptr<Recorder> recorder;
  if (!options.captureDir.empty()) {
    const std::wstring folder = WideFromUtf8(options.captureDir);
    CreateDirectoryW(folder.c_str(), nullptr);
    recorder = std::make_unique<Recorder>(folder, shown);
    shown.Painted = [&recorder](HDC dc, int width, int height) { recorder->Shot(dc, width, height); };
  }
  shown.Click = [] { Say("Click\n"); };
  shown.LoopsEnded = [] { Say("LoopsEnded\n"); };
  shown.RemoteLoadFailure = [] { Say("RemoteLoadFailure\n"); };
  const bool cancelRemote = options.cancelRemote;
  shown.RemoteLoadComplete = [cancelRemote, host](float width, float height, bool& cancel) {
    Say("RemoteLoadComplete %.0f %.0f\n", width, height);
    cancel = cancelRemote;
    if (!cancel) PostMessageW(host, kApplyLoops, 0, 0);
  };

  if (IsRemoteSource(options.source)) {
    shown.LoadAnimatedGIF_Remote(WideFromUtf8(options.source));
  } else {
    const std::wstring file = WideFromUtf8(options.source);
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      std::fprintf(stderr, "gifview: cannot read %s\n", options.source.c_str());
      return 1;
    }
    if (!shown.LoadAnimatedGIF_File(file)) {
      std::fprintf(stderr, "gifview: %s is not a GIF\n", options.source.c_str());
      return 1;
    }
  }
  if (options.loops) shown.SetLoops(*options.loops);
  if (options.exitAfterMs) SetTimer(host, kExitTimer, static_cast<UINT>(std::min<int64_t>(*options.exitAfterMs, 0x7FFFFFFF)), nullptr);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  shown.Painted = nullptr;
  shown.Destroy();
  hostState.control = nullptr;
  return 0;
}

}  // namespace
}  // namespace ventalune::gifview

int main() {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; wide && i < count; ++i) arguments.push_back(ventalune::Utf8FromWide(wide[i]));
  if (wide) LocalFree(wide);
  const auto options = ventalune::gifview::ParseGifviewOptions(arguments);
  if (!options) {
    std::fputs(ventalune::gifview::kGifviewUsage, stderr);
    return 2;
  }
  OleInitialize(nullptr);
  const int status = ventalune::gifview::Run(*options);
  OleUninitialize();
  return status;
}
