#pragma once
// What the block scan learns about a GIF file, before any pixel is decoded.
#include <array>
#include <cstdint>
#include <vector>

namespace ventalune::gif {

// A colour as a device-independent bitmap's colour table holds it:
// red × 65536 + green × 256 + blue (bytes blue, green, red, 0).
using Colour = uint32_t;

// Entries beyond a table's declared size stay black.
using Palette = std::array<Colour, 256>;

inline constexpr Colour MakeColour(uint8_t red, uint8_t green, uint8_t blue) {
  return (Colour{red} << 16) | (Colour{green} << 8) | Colour{blue};
}
inline constexpr uint8_t RedOf(Colour c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }
inline constexpr uint8_t GreenOf(Colour c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
inline constexpr uint8_t BlueOf(Colour c) { return static_cast<uint8_t>(c & 0xFF); }

// What becomes of a frame's area before the next frame is drawn.
enum class Disposal : uint8_t {
  kUnspecified = 0,        // left as it is, as kKeep
  kKeep = 1,               // left as it is
  kRestoreBackground = 2,  // cleared to the background
  kRestorePrevious = 3,    // given back what it held before the frame
};

struct FrameRecord {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t delayMs = 0;       // the file's hundredths × 10; the minimum delay applies later
  int32_t palette = 0;       // 0 = global table, p = the p-th local table in file order
  int32_t stripOffset = 0;   // first column of the frame in the frame strip
  uint8_t transparentIndex = 0;
  bool transparent = false;
  Disposal disposal = Disposal::kUnspecified;
};

// Where a frame's bytes lie: from its image descriptor's 0x2C through the
// terminator of its image data. A frame whose data is cut off by the end of
// the file has a length that reaches past the end.
struct FramePosition {
  int64_t start = 0;  // 0-based offset of the 0x2C introducer
  int64_t length = 0;
};

struct GifScan {
  std::vector<FrameRecord> frames;
  std::vector<FramePosition> positions;  // one per frame
  std::vector<Palette> palettes;         // palette 0 is the global table (black if there is none)
  int32_t logicalWidth = 0;              // largest left + width over the frames
  int32_t logicalHeight = 0;             // largest top + height
  int32_t loopCount = 0;                 // 0 unless a NETSCAPE2.0 block sets it
  bool hasGlobalTable = false;
};

}  // namespace ventalune::gif
