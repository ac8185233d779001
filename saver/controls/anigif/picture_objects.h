#pragma once
// The picture objects the animated-picture control hands out and takes:
// a GIF picture that keeps its file's own bytes (what `AnimatedGIF` reads
// and writes), and a cursor picture for `MouseIcon`.
#include <windows.h>
#include <olectl.h>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "common/handles.h"
#include "common/ole_picture.h"

namespace ventalune::anigif {

// A GIF file decoded by the platform's picture loader, with the file's bytes
// kept alongside, so giving it to another control loads the very same GIF.
class GifPictureObject {
 public:
  // Null when the platform loader does not take the bytes as a picture.
  static std::shared_ptr<GifPictureObject> FromBytes(std::span<const uint8_t> gifFile);
  GifPictureObject(const GifPictureObject&) = delete;
  GifPictureObject& operator=(const GifPictureObject&) = delete;

  const std::vector<uint8_t>& bytes() const { return bytes_; }
  // The platform's picture; owned by this object.
  IPicture* picture() const { return picture_.get(); }
  // Size in pixels as the loader sees it.
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }

 private:
  GifPictureObject() = default;
  std::vector<uint8_t> bytes_;
  ComPtr<IPicture> picture_;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

// A mouse cursor. One made from a cursor or icon file keeps the file's bytes
// so the control can save it; one wrapping a system cursor (the pointing
// hand, say) is shown but not saved.
class CursorPicture {
 public:
  // From .cur or .ico bytes (the first image); null when they are not one.
  static std::shared_ptr<CursorPicture> FromFileBytes(std::span<const uint8_t> file);
  // A shared system cursor such as IDC_HAND; null if the system has none.
  static std::shared_ptr<CursorPicture> FromSystem(LPCWSTR id);
  // The same for the IDC_ names, which are integer ids spelt as narrow text.
  static std::shared_ptr<CursorPicture> FromSystem(LPCSTR id) { return FromSystem(reinterpret_cast<LPCWSTR>(id)); }
  CursorPicture(const CursorPicture&) = delete;
  CursorPicture& operator=(const CursorPicture&) = delete;

  HCURSOR cursor() const { return cursor_; }
  // The file's bytes; empty for a system cursor.
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  CursorPicture() = default;
  HCURSOR cursor_ = nullptr;
  OwnedCursor owned_;  // the cursor, when it is one of ours
  std::vector<uint8_t> bytes_;
};

}  // namespace ventalune::anigif
