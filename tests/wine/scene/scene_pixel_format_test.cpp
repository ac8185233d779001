// The scene's own frame, run inside the test, so that the pixel format its
// window got can be read (Wine answers that only to the window's process).
// The output names the format; the checks hold on any driver.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

#include <cstdio>

#include "common/program_contract.h"
#include "scene/scene_frame.h"
#include "support/bitmap_file.h"
#include "support/program_driver.h"

namespace ventalune::wine_test {
namespace {

struct Observed {
  int index = 0;
  int count = 0;
  int desktopBits = 0;
  PIXELFORMATDESCRIPTOR format{};
  bool acceleratedOffered = false;  // a format the scene could use that is not the software one
};
Observed observed;

bool Software(const PIXELFORMATDESCRIPTOR& format) {
  return (format.dwFlags & PFD_GENERIC_FORMAT) && !(format.dwFlags & PFD_GENERIC_ACCELERATED);
}

bool Usable(const PIXELFORMATDESCRIPTOR& format) {
  constexpr DWORD kNeeded = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  return (format.dwFlags & kNeeded) == kNeeded && format.iPixelType == PFD_TYPE_RGBA && format.cDepthBits > 0;
}

void ReadFormatAndEnd(scene::SceneFrame& frame) {
  HDC dc = frame.window->dc;
  observed.index = GetPixelFormat(dc);
  observed.desktopBits = GetDeviceCaps(dc, BITSPIXEL);
  PIXELFORMATDESCRIPTOR format{};
  observed.count = DescribePixelFormat(dc, 1, sizeof(format), &format);
  for (int index = 1; index <= observed.count; ++index)
    if (DescribePixelFormat(dc, index, sizeof(format), &format) && Usable(format) && !Software(format))
      observed.acceleratedOffered = true;
  if (observed.index) DescribePixelFormat(dc, observed.index, sizeof(observed.format), &observed.format);
  scene::RequestQuit(*frame.window);
}

TEST(ScenePixelFormatTest, TakesAnAcceleratedFormatOfTheDesktopsDepth) {
  CreateDirectoryW(RunPictureFolder().c_str(), nullptr);
  ASSERT_TRUE(WriteBmpFile(RunPictures().room, 64, 64, [](int, int) { return Rgb{255, 0, 0}; }));
  ASSERT_TRUE(WriteBmpFile(RunPictures().ring, 64, 64, [](int, int) { return Rgb{0, 255, 0}; }));
  OleInitialize(nullptr);
  EXPECT_EQ(scene::RunSceneProgram(GetModuleHandleA(nullptr), ReadFormatAndEnd), 0);
  OleUninitialize();

  const PIXELFORMATDESCRIPTOR& format = observed.format;
  std::printf("desktop %d bits; pixel format %d of %d: %d colour bits, %d depth bits, %s\n", observed.desktopBits,
              observed.index, observed.count, format.cColorBits, format.cDepthBits,
              Software(format) ? "generic (software)" : "accelerated");
  ASSERT_NE(observed.index, 0) << "no frame was drawn";
  EXPECT_TRUE(Usable(format));
  if (observed.acceleratedOffered) {
    EXPECT_FALSE(Software(format)) << "the software format, with an accelerated one offered";
  }
  // The switched mode's 16 bits, or today's desktop colour (24 or 32
  // counted, as drivers differ) and a depth buffer of at least 24 bits.
  if (observed.desktopBits > 16) {
    EXPECT_GE(format.cColorBits, 24);
    EXPECT_GE(format.cDepthBits, 24);
  }
}

}  // namespace
}  // namespace ventalune::wine_test
