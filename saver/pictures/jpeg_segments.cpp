#include "saver/pictures/jpeg_segments.h"

namespace ventalune::pictures {

std::optional<JpegSegment> JpegSegmentWalk::Next() {
  // Bytes that are no marker, left between segments by some writers, are
  // stepped over up to the next 0xFF, as the platform's decoders step over
  // them: the segment after them is the one those decoders read.
  while (at_ < bytes_.size() && bytes_[at_] != 0xff) ++at_;
  // Any number of fill bytes may stand before a marker.
  while (at_ < bytes_.size() && bytes_[at_] == 0xff) ++at_;
  if (at_ >= bytes_.size()) return std::nullopt;
  JpegSegment segment;
  segment.marker = bytes_[at_++];
  const uint8_t m = segment.marker;
  if (m == 0x00 || m == 0x01 || (m >= 0xd0 && m <= 0xd9)) {
    segment.standsAlone = true;
    return segment;
  }
  if (bytes_.size() - at_ < 2) return std::nullopt;
  const size_t length = (size_t{bytes_[at_]} << 8) | bytes_[at_ + 1];
  if (length < 2 || length > bytes_.size() - at_) return std::nullopt;
  segment.body = bytes_.subspan(at_ + 2, length - 2);
  at_ += length;
  return segment;
}

}  // namespace ventalune::pictures
