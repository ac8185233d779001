#include "common/display_monitors.h"

#include <windows.h>

namespace ventalune {
namespace {

uint32_t RefreshOf(const wchar_t* device) {
  DEVMODEW mode{};
  mode.dmSize = sizeof(mode);
  if (!EnumDisplaySettingsW(device, ENUM_CURRENT_SETTINGS, &mode)) return 0;
  // 0 and 1 stand for the hardware's default rate, which says nothing.
  return mode.dmDisplayFrequency > 1 ? mode.dmDisplayFrequency : 0;
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFOEXW info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    reinterpret_cast<std::vector<DisplayMonitor>*>(list)->push_back(
        {{r.left, r.top, r.right, r.bottom}, (info.dwFlags & MONITORINFOF_PRIMARY) != 0, RefreshOf(info.szDevice)});
  }
  return TRUE;
}

}  // namespace

std::vector<DisplayMonitor> DisplayMonitors() {
  std::vector<DisplayMonitor> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

}  // namespace ventalune
