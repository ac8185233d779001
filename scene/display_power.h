#pragma once
// What the system says of the display in a power-setting notification
// (WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE) for GUID_CONSOLE_DISPLAY_STATE.
#include <windows.h>

#include <cstring>
#include <optional>

namespace ventalune::scene {

// True while the display is off, false when on or dimmed (still showing);
// nothing for a notification about something else.
inline std::optional<bool> DisplayOffIn(LPARAM notification) {
  const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(notification);
  if (!setting || !IsEqualGUID(setting->PowerSetting, GUID_CONSOLE_DISPLAY_STATE) ||
      setting->DataLength < sizeof(DWORD))
    return std::nullopt;
  // 0 off, 1 on, 2 dimmed.
  DWORD state = 0;
  std::memcpy(&state, setting->Data, sizeof(state));
  return state == 0;
}

}  // namespace ventalune::scene
