#pragma once
// The settings dialog's drawing on its picture panels: the tiled background,
// the frame-title plates stamped through their mask, and the picture
// preview. Everything is drawn into the panels' persistent images, so it
// works while the dialog is still hidden and shows when it appears.
#include <windows.h>

#include <span>
#include <string>

#include "saver/dialog/preview_fit.h"
#include "saver/toolkit/picture_panel.h"

namespace ventalune::dialog {

inline constexpr int kPlateWidth = 95;
inline constexpr int kPlateHeight = 22;

// Paves the target with copies of the tile's image, column by column from
// the top-left corner (see ForEachTilePosition).
void TileSurface(toolkit::PicturePanel& target, const toolkit::PicturePanel& tile);

// Where a plate goes: a frame and the top-left corner in it (pixels).
struct FrameTitle {
  toolkit::PicturePanel* frame = nullptr;
  POINT at{};
};

// For each frame in turn: the mask ANDed in (black under the plate's shape,
// white round it), then the plate ORed over it, 95 × 22 pixels (`size` on a
// screen of another resolution), so the plate shows with its own outline
// over the tiles.
void DrawFrameTitles(std::span<const FrameTitle> frames, const toolkit::PicturePanel& plate,
                     const toolkit::PicturePanel& mask, SIZE size = {kPlateWidth, kPlateHeight});

// Shows the picture file at `path` in `display`, scaled to fit 80 × 80 with
// its proportions kept and its top-left corner where the display is. The
// picture is loaded into `scratch`, which takes the picture's size. An
// empty path, a missing file or one that is no picture empties the
// display at 80 × 80. `side` replaces the 80 on a screen of another
// resolution.
void ShowPreview(const std::string& path, toolkit::PicturePanel& display, toolkit::PicturePanel& scratch,
                 int32_t side = kPreviewSide);

}  // namespace ventalune::dialog
