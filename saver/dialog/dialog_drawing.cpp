#include "saver/dialog/dialog_drawing.h"

#include "saver/dialog/preview_fit.h"
#include "saver/settings/profile_file.h"

namespace ventalune::dialog {
namespace {

void EmptyPreview(toolkit::PicturePanel& display, int32_t side) {
  display.Clear();
  display.Resize(side, side);
  display.Refresh();
}

}  // namespace

void TileSurface(toolkit::PicturePanel& target, const toolkit::PicturePanel& tile) {
  HDC into = target.dc();
  HDC from = tile.dc();
  if (!into || !from) return;
  ForEachTilePosition(tile.width(), tile.height(), target.width(), target.height(), [&](int32_t x, int32_t y) {
    BitBlt(into, x, y, tile.width(), tile.height(), from, 0, 0, SRCCOPY);
  });
  target.InvalidateArea({0, 0, target.width(), target.height()});
}

void DrawFrameTitles(std::span<const FrameTitle> frames, const toolkit::PicturePanel& plate,
                     const toolkit::PicturePanel& mask, SIZE size) {
  for (const FrameTitle& title : frames) {
    if (!title.frame) continue;
    HDC into = title.frame->dc();
    if (!into) continue;
    const int x = title.at.x;
    const int y = title.at.y;
    if (mask.dc()) BitBlt(into, x, y, size.cx, size.cy, mask.dc(), 0, 0, SRCAND);
    if (plate.dc()) BitBlt(into, x, y, size.cx, size.cy, plate.dc(), 0, 0, SRCPAINT);
    title.frame->InvalidateArea({x, y, x + size.cx, y + size.cy});
  }
}

void ShowPreview(const std::string& path, toolkit::PicturePanel& display, toolkit::PicturePanel& scratch,
                 int32_t side) {
  if (path.empty() || !settings::FileExists(path)) {
    EmptyPreview(display, side);
    return;
  }
  // A file that is no picture shows nothing rather than the picture chosen
  // before it, which would pass for the new choice.
  if (!scratch.LoadPicture(path)) {
    EmptyPreview(display, side);
    return;
  }
  const PreviewSize preview = FitPreview(scratch.width(), scratch.height(), side);
  display.Resize(preview.width, preview.height);
  if (HDC into = display.dc(); into && scratch.dc()) {
    SetStretchBltMode(into, COLORONCOLOR);
    StretchBlt(into, 0, 0, preview.width, preview.height, scratch.dc(), 0, 0, scratch.width(), scratch.height(),
               SRCCOPY);
  }
  display.Refresh();
}

}  // namespace ventalune::dialog
