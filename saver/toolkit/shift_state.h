#pragma once
// The Shift, Ctrl and Alt keys held during a mouse message, as the mouse
// events of our panels and controls report them: 1, 2 and 4 added up.
#include <windows.h>

#include "saver/toolkit/panel_elements.h"

namespace ventalune::toolkit {

inline int ShiftStateOf(WPARAM wParam) {
  int shift = 0;
  if (wParam & MK_SHIFT) shift |= kShiftKey;
  if (wParam & MK_CONTROL) shift |= kControlKey;
  // Alt travels in no mouse message; ask the keyboard.
  if (GetKeyState(VK_MENU) < 0) shift |= kAltKey;
  return shift;
}

}  // namespace ventalune::toolkit
