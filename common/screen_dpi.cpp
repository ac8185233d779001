#include "common/screen_dpi.h"

#include <windows.h>

#include "common/handles.h"

namespace ventalune {

ScreenDpi ReadScreenDpi() {
  ScreenDpi dpi;
  if (const WindowDc screen; screen) {
    dpi.x = GetDeviceCaps(screen.get(), LOGPIXELSX);
    dpi.y = GetDeviceCaps(screen.get(), LOGPIXELSY);
  }
  return dpi;
}

}  // namespace ventalune
