#pragma once
// The resolution Windows scales a window by. A per-monitor-aware program
// reads LOGPIXELSY as the resolution of the moment the user signed in, which
// is wrong once the scale has been changed since, or on a monitor of another
// scale; the window's own (Windows 10) or its monitor's (Windows 8.1) is
// right. Both lookups are found at run time, and where neither exists the
// screen's LOGPIXELSY is all there is.
#include <windows.h>

namespace ventalune {

struct DpiLookups {
  UINT(WINAPI* forWindow)(HWND) = nullptr;                          // GetDpiForWindow
  HRESULT(WINAPI* forMonitor)(HMONITOR, int, UINT*, UINT*) = nullptr;  // GetDpiForMonitor
};

// Those this system has, looked up once.
const DpiLookups& SystemDpiLookups();

// Vertical dots per inch, always positive.
int ReadWindowDpi(HWND window, const DpiLookups& lookups = SystemDpiLookups());
int ReadMonitorDpi(HMONITOR monitor, const DpiLookups& lookups = SystemDpiLookups());
// The primary monitor's: where a window opens that has none yet.
int ReadPrimaryMonitorDpi(const DpiLookups& lookups = SystemDpiLookups());

}  // namespace ventalune
