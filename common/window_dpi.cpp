#include "common/window_dpi.h"

#include "common/screen_dpi.h"

namespace ventalune {
namespace {

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI: what the user's scale makes of the monitor

template <class Function>
Function Lookup(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

DpiLookups FindLookups() {
  DpiLookups lookups;
  lookups.forWindow = Lookup<decltype(lookups.forWindow)>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
  // Loaded once and kept: the pointer must stay good for the process's life.
  lookups.forMonitor = Lookup<decltype(lookups.forMonitor)>(LoadLibraryW(L"shcore.dll"), "GetDpiForMonitor");
  return lookups;
}

int FallbackDpi() {
  const int dpi = ReadScreenDpi().y;
  return dpi > 0 ? dpi : 96;
}

}  // namespace

const DpiLookups& SystemDpiLookups() {
  static const DpiLookups lookups = FindLookups();
  return lookups;
}

int ReadMonitorDpi(HMONITOR monitor, const DpiLookups& lookups) {
  UINT x = 0, y = 0;
  if (monitor && lookups.forMonitor && SUCCEEDED(lookups.forMonitor(monitor, kEffectiveDpi, &x, &y)) && y > 0)
    return static_cast<int>(y);
  return FallbackDpi();
}

int ReadWindowDpi(HWND window, const DpiLookups& lookups) {
  if (window && lookups.forWindow)
    if (const UINT dpi = lookups.forWindow(window); dpi > 0) return static_cast<int>(dpi);
  return ReadMonitorDpi(window ? MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY) : nullptr, lookups);
}

int ReadPrimaryMonitorDpi(const DpiLookups& lookups) {
  return ReadMonitorDpi(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), lookups);
}

}  // namespace ventalune
