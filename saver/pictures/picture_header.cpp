#include "saver/pictures/picture_header.h"

#include <algorithm>
#include <array>

#include "saver/gif/gif_scan.h"
#include "saver/pictures/jpeg_segments.h"
#include "saver/pictures/picture_format.h"
#include "saver/pictures/picture_limits.h"

namespace ventalune::pictures {
namespace {

uint32_t BigEndian16(std::span<const uint8_t> bytes, size_t at) {
  return (uint32_t{bytes[at]} << 8) | bytes[at + 1];
}

uint32_t BigEndian32(std::span<const uint8_t> bytes, size_t at) {
  return (BigEndian16(bytes, at) << 16) | BigEndian16(bytes, at + 2);
}

uint32_t LittleEndian32(std::span<const uint8_t> bytes, size_t at) {
  return uint32_t{bytes[at]} | (uint32_t{bytes[at + 1]} << 8) | (uint32_t{bytes[at + 2]} << 16) |
         (uint32_t{bytes[at + 3]} << 24);
}

// Frame headers: C0–CF except DHT (C4), JPG (C8) and DAC (CC).
bool IsStartOfFrame(uint8_t marker) {
  return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

std::optional<PictureSize> JpegSize(std::span<const uint8_t> bytes) {
  JpegSegmentWalk walk(bytes);
  while (const std::optional<JpegSegment> segment = walk.Next()) {
    const uint8_t marker = segment->marker;
    // TEM and the restart markers are stepped over; the image's end, a
    // stray start or a stuffed zero means there is no frame header.
    if (segment->standsAlone) {
      if (marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7)) continue;
      return std::nullopt;
    }
    if (IsStartOfFrame(marker)) {
      // Precision, height, width.
      const std::span<const uint8_t> body = segment->body;
      if (body.size() < 5) return std::nullopt;
      const uint32_t height = BigEndian16(body, 1);
      const uint32_t width = BigEndian16(body, 3);
      if (width == 0 || height == 0) return std::nullopt;
      return PictureSize{width, height};
    }
  }
  return std::nullopt;
}

std::optional<PictureSize> BitmapSize(std::span<const uint8_t> bytes) {
  constexpr size_t kInfoAt = 14;
  if (bytes.size() < kInfoAt + 4) return std::nullopt;
  const uint32_t infoSize = LittleEndian32(bytes, kInfoAt);
  if (infoSize == 12) {  // the old OS/2 core header: 16-bit sizes
    if (bytes.size() < kInfoAt + 12) return std::nullopt;
    const uint32_t width = bytes[18] | (uint32_t{bytes[19]} << 8);
    const uint32_t height = bytes[20] | (uint32_t{bytes[21]} << 8);
    if (width == 0 || height == 0) return std::nullopt;
    return PictureSize{width, height};
  }
  if (infoSize < 40 || bytes.size() < kInfoAt + 12) return std::nullopt;
  const auto width = static_cast<int32_t>(LittleEndian32(bytes, 18));
  const auto height = static_cast<int32_t>(LittleEndian32(bytes, 22));
  // A negative height marks rows stored top-down; the lowest value has no
  // positive counterpart and is no size at all.
  if (width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
  return PictureSize{static_cast<uint32_t>(width), static_cast<uint32_t>(height < 0 ? -height : height)};
}

// The header chunk comes first, right after the signature: its length (13),
// its type, then width and height.
std::optional<PictureSize> PngSize(std::span<const uint8_t> bytes) {
  constexpr std::array<uint8_t, 8> kHeaderChunk{0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  if (bytes.size() < 24 || !std::equal(kHeaderChunk.begin(), kHeaderChunk.end(), bytes.begin() + 8))
    return std::nullopt;
  const uint32_t width = BigEndian32(bytes, 16);
  const uint32_t height = BigEndian32(bytes, 20);
  if (width == 0 || height == 0) return std::nullopt;
  return PictureSize{width, height};
}

// The block scan decodes no pixel; it only steps from block to block.
std::optional<PictureSize> GifSize(std::span<const uint8_t> bytes) {
  const std::optional<gif::GifScreen> screen = gif::ReadGifHeader(bytes);
  if (!screen) return std::nullopt;
  const gif::GifScan scan = gif::ScanGif(bytes);
  const auto width = static_cast<uint32_t>(std::max(screen->width, scan.logicalWidth));
  const auto height = static_cast<uint32_t>(std::max(screen->height, scan.logicalHeight));
  if (width == 0 || height == 0) return std::nullopt;
  return PictureSize{width, height};
}

}  // namespace

std::optional<PictureSize> DeclaredPictureSize(std::span<const uint8_t> bytes) {
  if (bytes.size() >= 2 && bytes[0] == 0xff && bytes[1] == 0xd8) return JpegSize(bytes);
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return BitmapSize(bytes);
  if (RecognizePictureFormat(bytes) == PictureFormat::kPng) return PngSize(bytes);
  return GifSize(bytes);
}

bool WithinDecodeCeilings(PictureSize size) {
  return size.width <= kMaxDecodedSide && size.height <= kMaxDecodedSide &&
         uint64_t{size.width} * size.height <= kMaxDecodedPixels;
}

}  // namespace ventalune::pictures
