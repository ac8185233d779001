#pragma once
// A rendering context on a window's device context: our own choice of pixel
// format among those the device describes (the system's where it describes
// none we can use), set on the DC, and a context made current on it.
#include <windows.h>

namespace ventalune::scene {

// False, with nothing current and `gl` null, when the device offers no
// format or context.
bool CreatePixelFormatAndContext(HDC dc, HGLRC& gl);

}  // namespace ventalune::scene
