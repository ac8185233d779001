#pragma once
// What lies under a child window in its parent, painted into the child's
// device context: how a transparent panel or control lets its parent show
// through. A plain parent paints its class background on erasing; a panel
// parent draws its image and elements on printing.
#include <windows.h>

namespace ventalune::toolkit {

// Fills `area` (the child's client coordinates) with the button face, then
// has the parent paint itself there, shifted to the child's origin.
void PaintParentBackground(HWND child, HDC target, const RECT& area);

}  // namespace ventalune::toolkit
