#pragma once
// The dialog's artwork as the dialog holds it: loaded by its own loader from
// this program's resources (saver_art.rc, the saver's pictures under the
// saver's numbers) at 96 dpi and put on hidden panels the way the dialog
// does it; and pictures made for the preview.
#include <windows.h>

#include <string>

#include "saver/controls/button/button_state.h"
#include "saver/dialog/dialog_art.h"
#include "saver/dialog/dialog_layout.h"
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

// The whole artwork and hidden panels with the tile, the plate and its mask.
struct DialogArt {
  explicit DialogArt(HWND parent) {
    artwork.Load(GetModuleHandleA(nullptr), dialog::kLayoutDpi);
    dialog::DialogArtwork::FillHidden(tile, parent, artwork.tile.get());
    dialog::DialogArtwork::FillHidden(plate, parent, artwork.plate.get());
    dialog::DialogArtwork::FillHidden(mask, parent, artwork.mask.get());
    // The panels' pixels are read straight from their images below.
    GdiFlush();
    // A piece that does not load leaves the dialog drawing without it, so
    // only a check of every piece tells that the program carries them all.
    loaded = artwork.tile && artwork.plate && artwork.mask && artwork.optionOn && artwork.optionOff &&
             !artwork.banner.empty() && !artwork.handCursor.empty() && artwork.skins;
    for (int skin = 0; loaded && skin < button::kSkinCount; ++skin)
      loaded = (*artwork.skins)[static_cast<button::Skin>(skin)].width() > 0;
  }
  dialog::DialogArtwork artwork;
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
