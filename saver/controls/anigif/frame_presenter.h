#pragma once
// Puts the control's current frame on screen with GDI. The engine composes
// the frame at the picture's logical size; this keeps the result as a colour
// bitmap (black where the background shows) and a one-bit mask (white where
// it shows), and paints them with AND and OR over whatever the target
// already holds, so transparent pixels show the parent's background.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "common/dib_section.h"
#include "common/handles.h"
#include "saver/gif/gif_picture.h"
#include "saver/gif/surface.h"

namespace ventalune::anigif {

class FramePresenter {
 public:
  FramePresenter() = default;
  ~FramePresenter() { Release(); }
  FramePresenter(const FramePresenter&) = delete;
  FramePresenter& operator=(const FramePresenter&) = delete;

  // Composes frame `index` (0 = frame 1) and keeps it. False when the
  // picture has no such built frame or the bitmaps cannot be made; the
  // kept picture is then empty.
  bool Show(gif::GifPicture& picture, size_t index);
  // Flips the kept picture by the bits of `change` (1 horizontal, 2 vertical).
  void Mirror(int32_t change);
  void Release();

  // Paints the kept picture into the rectangle, stretched (halftone) when
  // its size differs from the picture's.
  void Paint(HDC target, int x, int y, int width, int height) const;

  bool empty() const { return dc_ == nullptr; }
  const gif::Surface& surface() const { return surface_; }

 private:
  bool MakeBitmaps(int32_t width, int32_t height);
  void Convert();

  gif::Surface surface_;
  OwnedDc dc_;
  DibSection colour_;
  DibSection mask_;
  HGDIOBJ previous_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  bool anyTransparent_ = false;
};

}  // namespace ventalune::anigif
