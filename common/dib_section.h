#pragma once
// Bitmaps whose pixels the program reads and writes itself (device
// independent sections), and a drawing surface made of one: the section
// selected into a memory device context of its own, so GDI can draw into it
// at any time, before any window shows it.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <span>

#include "common/handles.h"

namespace ventalune {

// Which row comes first in memory: the top one (as pictures are read), or
// the bottom one (as the GL takes textures).
enum class RowOrder { kTopDown, kBottomUp };

// The header of a 32-bit picture of blue, green, red and an unused byte a
// pixel: for making a section, and for reading a bitmap's pixels out.
BITMAPINFO ColourBitmapInfo(int32_t width, int32_t height, RowOrder order);

struct DibSection {
  OwnedBitmap bitmap;
  void* bits = nullptr;
  explicit operator bool() const { return bitmap && bits; }
};

// 32 bits a pixel as ColourBitmapInfo describes; empty when the sizes are
// not positive or the system refuses.
DibSection MakeColourSection(int32_t width, int32_t height, RowOrder order);
// One bit a pixel, 0 black and 1 white, rows top-down, each padded to 32
// bits; empty when the system refuses.
DibSection MakeMaskSection(int32_t width, int32_t height);

class MemoryCanvas {
 public:
  MemoryCanvas() = default;
  MemoryCanvas(MemoryCanvas&& other) noexcept = default;
  MemoryCanvas& operator=(MemoryCanvas&& other) noexcept;
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;
  ~MemoryCanvas() { Release(); }

  // A black canvas of width × height pixels, 32 bits each; empty (and false)
  // when it cannot be made.
  static MemoryCanvas Make(int32_t width, int32_t height, RowOrder order = RowOrder::kTopDown);

  explicit operator bool() const { return dc_ != nullptr; }
  HDC dc() const { return dc_.get(); }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  // Four bytes a pixel, rows packed in the canvas's row order. Drawing GDI
  // may still be queued is flushed first.
  std::span<uint8_t> pixels() const;

 private:
  void Release();

  OwnedDc dc_;
  DibSection section_;
  HGDIOBJ previous_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

}  // namespace ventalune
