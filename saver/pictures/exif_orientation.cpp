#include "saver/pictures/exif_orientation.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "saver/pictures/jpeg_segments.h"

namespace ventalune::pictures {
namespace {

constexpr uint8_t kStartOfImage = 0xd8;
constexpr uint8_t kStartOfScan = 0xda;
constexpr uint8_t kApp1 = 0xe1;
constexpr std::string_view kExifHeader("Exif\0\0", 6);

constexpr size_t kTiffHeaderBytes = 8;
constexpr size_t kIfdEntryBytes = 12;
constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kShortType = 3;

// Reads the TIFF block's numbers in the byte order its header names. Every
// caller has checked that the bytes read lie inside the block.
class TiffReader {
 public:
  TiffReader(std::span<const uint8_t> tiff, bool bigEndian) : tiff_(tiff), bigEndian_(bigEndian) {}

  uint16_t U16(uint64_t at) const {
    const uint8_t a = tiff_[at], b = tiff_[at + 1];
    return static_cast<uint16_t>(bigEndian_ ? (a << 8) | b : (b << 8) | a);
  }
  uint32_t U32(uint64_t at) const {
    const uint32_t high = U16(at), low = U16(at + 2);
    return bigEndian_ ? (high << 16) | low : (low << 16) | high;
  }

 private:
  std::span<const uint8_t> tiff_;
  bool bigEndian_;
};

Orientation ReadTiffOrientation(std::span<const uint8_t> tiff) {
  if (tiff.size() < kTiffHeaderBytes) return Orientation::kAsStored;
  bool bigEndian = false;
  if (tiff[0] == 'I' && tiff[1] == 'I' && tiff[2] == 0x2a && tiff[3] == 0) {
    bigEndian = false;
  } else if (tiff[0] == 'M' && tiff[1] == 'M' && tiff[2] == 0 && tiff[3] == 0x2a) {
    bigEndian = true;
  } else {
    return Orientation::kAsStored;
  }
  const TiffReader reader(tiff, bigEndian);
  // In 64 bits, so an offset near 4 GiB plus what follows it cannot wrap.
  const uint64_t size = tiff.size();
  const uint64_t ifd = reader.U32(4);
  if (ifd < kTiffHeaderBytes || ifd + 2 > size) return Orientation::kAsStored;
  const uint64_t entryCount = reader.U16(ifd);
  const uint64_t entries = ifd + 2;
  if (entryCount * kIfdEntryBytes > size - entries) return Orientation::kAsStored;
  for (uint64_t i = 0; i < entryCount; ++i) {
    const uint64_t entry = entries + i * kIfdEntryBytes;
    if (reader.U16(entry) != kOrientationTag) continue;
    // A SHORT that fits the value field sits in its first two bytes.
    const uint16_t value = reader.U16(entry + 8);
    if (reader.U16(entry + 2) != kShortType || reader.U32(entry + 4) != 1 || value < 1 || value > 8) {
      return Orientation::kAsStored;
    }
    return static_cast<Orientation>(value);
  }
  return Orientation::kAsStored;
}

}  // namespace

Orientation ReadExifOrientation(std::span<const uint8_t> bytes) {
  if (bytes.size() < 2 || bytes[0] != 0xff || bytes[1] != kStartOfImage) return Orientation::kAsStored;
  JpegSegmentWalk walk(bytes);
  while (const std::optional<JpegSegment> segment = walk.Next()) {
    // Markers that stand alone have no place before the scan: without a
    // length there is no telling where the next segment starts.
    if (segment->standsAlone || segment->marker == kStartOfScan) return Orientation::kAsStored;
    const std::span<const uint8_t> body = segment->body;
    if (segment->marker == kApp1 && body.size() >= kExifHeader.size() &&
        std::equal(kExifHeader.begin(), kExifHeader.end(), body.begin())) {
      return ReadTiffOrientation(body.subspan(kExifHeader.size()));
    }
  }
  return Orientation::kAsStored;
}

}  // namespace ventalune::pictures
