#include "saver/toolkit/parent_background.h"

namespace ventalune::toolkit {

void PaintParentBackground(HWND child, HDC target, const RECT& area) {
  FillRect(target, &area, GetSysColorBrush(COLOR_BTNFACE));
  HWND parent = GetParent(child);
  if (!parent) return;
  POINT origin{0, 0};
  MapWindowPoints(child, parent, &origin, 1);
  POINT before{};
  OffsetViewportOrgEx(target, -origin.x, -origin.y, &before);
  SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(target), 0);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target), PRF_CLIENT);
  SetViewportOrgEx(target, before.x, before.y, nullptr);
}

}  // namespace ventalune::toolkit
