#pragma once
// A picture surface that keeps what is drawn into it: a 32-bit top-down DIB
// selected into its own memory device context, usable before (and without)
// any window showing it. Pictures are decoded by the platform's OLE picture
// loader (BMP, JPEG, and what else it reads) or, for PNG, by the Windows
// Imaging Component, from files or from the program's resources.
#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "saver/pictures/exif_orientation.h"
#include "saver/pictures/large_picture_decoder.h"

namespace ventalune::pictures {

// Picture files larger than this are refused unread: well above the largest
// picture the decoders accept (a 24-bit bitmap of the most pixels allowed
// stays under 200 MiB), so no picture that could show is lost.
inline constexpr uint64_t kMaxPictureFileBytes = uint64_t{512} << 20;

class PictureSurface {
 public:
  PictureSurface() = default;
  PictureSurface(const PictureSurface&) = delete;
  PictureSurface& operator=(const PictureSurface&) = delete;
  ~PictureSurface();

  // A blank (black) image of width × height pixels; false if it cannot be made.
  bool Resize(int32_t width, int32_t height);
  // Decodes the picture and sizes the surface to it; a picture longer than
  // kLongestSideKept on either side is reduced to kReducedLongestSide (see
  // ReducedPictureSize). A photo is turned upright as its EXIF orientation
  // says, so it shows as a photo viewer shows it; a transparent picture
  // shows on black. On failure the surface keeps its size and is cleared.
  bool LoadFile(const std::string& path);
  bool LoadBytes(std::span<const uint8_t> bytes);
  // The program's own artwork, as it is stored.
  bool LoadResource(HMODULE module, int resourceId);

  // Writes the image as a 24-bit Windows bitmap file.
  bool SaveBitmapFile(const std::string& path) const;

  HDC dc() const { return dc_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  // width × height pixels of blue, green, red, unused; top row first.
  std::span<const uint8_t> pixels() const;
  std::span<uint8_t> pixels();

 private:
  void Release();
  void Clear();
  bool Load(std::span<const uint8_t> bytes, Orientation orientation);
  // Takes a decoded picture, or clears the surface for one not decoded.
  bool Adopt(LargePicture&& decoded);
  bool TurnUprightInPlace(Orientation orientation);

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  void* bits_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

}  // namespace ventalune::pictures
