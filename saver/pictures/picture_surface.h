#pragma once
// The GDI end of the picture pipeline: a surface that keeps what is drawn
// into it, a 32-bit top-down section in its own memory device context,
// usable before (and without) any window showing it. It takes pictures as
// picture_loading decodes them, from files, bytes or the program's
// resources.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "common/dib_section.h"
#include "saver/pictures/picture_pixels.h"

namespace ventalune::pictures {

class PictureSurface {
 public:
  PictureSurface() = default;
  PictureSurface(const PictureSurface&) = delete;
  PictureSurface& operator=(const PictureSurface&) = delete;

  // A blank (black) image of width × height pixels; false (and the surface
  // as it was) if it cannot be made or is over kMaxHeldPixels.
  bool Resize(int32_t width, int32_t height);
  // Through the picture pipeline (see picture_loading.h): the user's
  // picture from a file or bytes, shown as a photo viewer shows it; the
  // program's own artwork as it is stored.
  bool LoadFile(const std::string& path);
  bool LoadBytes(std::span<const uint8_t> bytes);
  bool LoadResource(HMODULE module, int resourceId);

  // Writes the image as a 24-bit Windows bitmap file.
  bool SaveBitmapFile(const std::string& path) const;

  HDC dc() const { return canvas_.dc(); }
  int32_t width() const { return canvas_.width(); }
  int32_t height() const { return canvas_.height(); }
  // width × height pixels of blue, green, red, unused; top row first.
  std::span<const uint8_t> pixels() const { return canvas_.pixels(); }
  std::span<uint8_t> pixels() { return canvas_.pixels(); }

 private:
  // Takes the decoded picture and the size it has. For none, or one that
  // cannot be held, the surface keeps its size, is cleared and gives false.
  bool Adopt(std::optional<PicturePixels> picture);
  void Clear();

  MemoryCanvas canvas_;
};

}  // namespace ventalune::pictures
