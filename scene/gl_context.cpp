#include "scene/gl_context.h"

#include <cstdio>
#include <vector>

#include "scene/pixel_format_choice.h"

namespace ventalune::scene {
namespace {

PixelFormatTraits TraitsOf(int32_t index, const PIXELFORMATDESCRIPTOR& format) {
  const DWORD flags = format.dwFlags;
  return {index,
          (flags & PFD_DRAW_TO_WINDOW) != 0,
          (flags & PFD_SUPPORT_OPENGL) != 0,
          (flags & PFD_DOUBLEBUFFER) != 0,
          format.iPixelType == PFD_TYPE_RGBA,
          (flags & PFD_GENERIC_FORMAT) != 0,
          (flags & PFD_GENERIC_ACCELERATED) != 0,
          format.cColorBits,
          format.cDepthBits};
}

// Our own choice among the formats the device describes; the system's
// when it describes none we can use.
int ChooseFormat(HDC dc, PIXELFORMATDESCRIPTOR& chosen) {
  const PixelFormatRequest request = PixelFormatRequestFor(GetDeviceCaps(dc, BITSPIXEL));
  PIXELFORMATDESCRIPTOR format{};
  const int count = DescribePixelFormat(dc, 1, sizeof(format), &format);
  std::vector<PixelFormatTraits> formats;
  for (int index = 1; index <= count; ++index)
    if (DescribePixelFormat(dc, index, sizeof(format), &format)) formats.push_back(TraitsOf(index, format));
  int index = ChooseScenePixelFormat(formats, request);
  if (index == 0) {
    PIXELFORMATDESCRIPTOR wanted{};
    wanted.nSize = sizeof(wanted);
    wanted.nVersion = 1;
    wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    wanted.iPixelType = PFD_TYPE_RGBA;
    wanted.cColorBits = static_cast<BYTE>(request.colorBits);
    wanted.cDepthBits = static_cast<BYTE>(request.depthBits);
    wanted.iLayerType = PFD_MAIN_PLANE;
    index = ChoosePixelFormat(dc, &wanted);
  }
  if (index == 0 || !DescribePixelFormat(dc, index, sizeof(chosen), &chosen)) return 0;
  // For a developer's debugger; nothing reaches the user.
  char line[128];
  std::snprintf(line, sizeof(line), "Ventalune scene: pixel format %d of %d, %d colour and %d depth bits, %s\n", index,
                count, chosen.cColorBits, chosen.cDepthBits,
                (chosen.dwFlags & PFD_GENERIC_FORMAT) && !(chosen.dwFlags & PFD_GENERIC_ACCELERATED)
                    ? "generic"
                    : "accelerated");
  OutputDebugStringA(line);
  return index;
}

}  // namespace

bool CreatePixelFormatAndContext(HDC dc, HGLRC& gl) {
  PIXELFORMATDESCRIPTOR format{};
  const int index = ChooseFormat(dc, format);
  if (index == 0 || !SetPixelFormat(dc, index, &format)) return false;
  gl = wglCreateContext(dc);
  if (!gl) return false;
  if (!wglMakeCurrent(dc, gl)) {
    wglDeleteContext(gl);
    gl = nullptr;
    return false;
  }
  return true;
}

}  // namespace ventalune::scene
