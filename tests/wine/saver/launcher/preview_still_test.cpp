// The preview window hosted in this process (Wine draws no child window of
// another process), with the still from the real Ventalune.scr's resources:
// what a person sees in the settings page's little monitor.
#include <gtest/gtest.h>
#include <windows.h>

#include "preview_host.h"
#include "saver/launcher/preview_window.h"
#include "support/program_driver.h"
#include "support/screen_capture.h"

namespace ventalune::wine_test {
namespace {

TEST(PreviewStillTest, StillFillsTheHostArea) {
  HMODULE saver = LoadLibraryExA(ProductPath("Ventalune.scr").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(saver, nullptr);
  PreviewHost host;
  ASSERT_TRUE(launcher::ShowPreview(GetModuleHandleA(nullptr), saver, host.area()));
  HWND preview = FindWindowExA(host.area(), nullptr, nullptr, "Preview Window");
  ASSERT_NE(preview, nullptr);

  POINT origin{0, 0};
  ClientToScreen(host.area(), &origin);
  // The still is the scene in deep blues and teals: almost no pixel of the
  // area is left the host's white, and most are blue-dominant.
  ScreenPicture screen;
  int blue = 0, white = 0;
  const bool shown = WaitFor(
      [&] {
        screen = CaptureScreen();
        blue = white = 0;
        for (int y = 0; y < 112; ++y)
          for (int x = 0; x < 152; ++x) {
            const Rgb c = screen.at(origin.x + x, origin.y + y);
            if (c.r > 245 && c.g > 245 && c.b > 245) ++white;
            if (c.b > c.r + 20) ++blue;
          }
        return white < 152 * 112 / 50 && blue > 152 * 112 / 2;
      },
      5s);
  if (!shown) screen.SaveBmp("C:\\preview_still_failure.bmp");
  EXPECT_TRUE(shown) << white << " white and " << blue << " blue pixels";

  // A host that rescales its area (another DPI awareness than ours) gets a
  // preview of the new size at the next check.
  host.ResizeArea(228, 168);
  RECT client{};
  EXPECT_TRUE(WaitFor([&] { return GetClientRect(preview, &client) && client.right == 228 && client.bottom == 168; },
                      5s))
      << "the preview stayed " << client.right << " x " << client.bottom;

  // Taking the area away ends the preview.
  host.DestroyArea();
  EXPECT_FALSE(IsWindow(preview));
  FreeLibrary(saver);
}

}  // namespace
}  // namespace ventalune::wine_test
