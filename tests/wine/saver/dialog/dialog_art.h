#pragma once
// The committed dialog artwork on hidden panels, as the dialog holds it, and
// pictures made for the preview.
#include <windows.h>

#include <string>

#include "control_art.h"
#include "saver/toolkit/picture_panel.h"
#include "support/bitmap_file.h"
#include "support/screen_capture.h"
#include "test_folders.h"

namespace ventalune::wine_test {

// A source picture's pixel, from its panel's image (blue, green, red, unused).
inline Rgb ImagePixel(const toolkit::PicturePanel& panel, int x, int y) {
  const auto pixels = panel.image()->pixels();
  const uint8_t* p = &pixels[(static_cast<size_t>(y) * panel.width() + x) * 4];
  return {p[2], p[1], p[0]};
}

inline bool Same(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// Hidden panels, sized to their pictures: the tile, the plate and its mask.
struct DialogArt {
  explicit DialogArt(HWND parent) {
    toolkit::PanelStyle hidden;
    hidden.visible = false;
    hidden.sizeToPicture = true;
    HMODULE self = GetModuleHandleA(nullptr);
    tile.Create(parent, -600, 0, 1, 1, hidden);
    plate.Create(parent, -600, 0, 1, 1, hidden);
    mask.Create(parent, -600, 0, 1, 1, hidden);
    loaded = tile.LoadPicture(self, IDR_TEST_TILE) && plate.LoadPicture(self, IDR_TEST_PLATE) &&
             mask.LoadPicture(self, IDR_TEST_MASK);
  }
  toolkit::PicturePanel tile, plate, mask;
  bool loaded = false;
};

// A BMP of the given size in the test data folder: red on the left half,
// blue on the right (all red when one pixel wide).
inline std::string MakeBmp(int width, int height) {
  const std::string path =
      TestDataFolder() + "\\preview-" + std::to_string(width) + "x" + std::to_string(height) + ".bmp";
  WriteBmpFile(path, width, height,
               [width](int x, int) { return x < width / 2 || width == 1 ? Rgb{255, 0, 0} : Rgb{0, 0, 255}; });
  return path;
}

}  // namespace ventalune::wine_test
