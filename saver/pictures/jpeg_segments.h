#pragma once
// Walks the markers of a JPEG from after its start-of-image marker, as the
// readers of its header, its size and its EXIF block all need: stray bytes
// between segments and fill bytes before a marker stepped over, each
// segment's length checked against the bytes there are. What a marker means is left to the caller.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace ventalune::pictures {

struct JpegSegment {
  uint8_t marker = 0;
  // Markers that carry no length (the restart markers, TEM, the image's
  // start and end, and a stuffed zero where a marker should be) have no
  // body, and the walk goes on right after them.
  bool standsAlone = false;
  std::span<const uint8_t> body;  // after the two length bytes
};

class JpegSegmentWalk {
 public:
  // The caller has checked that the bytes begin with the start-of-image marker.
  explicit JpegSegmentWalk(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  // The next marker and its segment; nothing when the bytes end before one,
  // or give a length below 2 or past the end.
  std::optional<JpegSegment> Next();
  // Where the walk stands: just after the segment last returned.
  size_t offset() const { return at_; }

 private:
  std::span<const uint8_t> bytes_;
  size_t at_ = 2;
};

}  // namespace ventalune::pictures
