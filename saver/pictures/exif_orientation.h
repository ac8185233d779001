#pragma once
// Which way up a photo is meant to be seen. Phones and cameras keep the
// sensor's landscape pixels and say in their EXIF block how a viewer must
// turn them; a portrait photo shown as stored lies on its side.
//
// Takes a JPEG (the start-of-image marker first) whose segments before the
// first scan include an APP1 segment beginning "Exif\0\0", followed by a
// TIFF header in either byte order ("II*\0" or "MM\0*") whose first IFD
// lies inside the segment, past the header, with all its 12-byte entries
// inside the segment too; the orientation tag (0x0112) there as one SHORT
// of value 1..8. The first such segment decides; other APP1 segments (XMP
// among them) and every other segment before the scan are stepped over by
// their lengths, fill bytes before a marker allowed.
//
// Anything else reads as kAsStored: no EXIF segment before the scan (one
// after it is never looked at), a walk that meets a segment length below 2
// or past the end of the file, a marker without a length (or a byte that
// is no marker) where a segment should start, a file ending inside the
// TIFF header, an unknown byte-order mark, an IFD offset inside the header
// or past the segment, entries overrunning the segment, no orientation tag,
// or one of another type, a count other than 1 or a value outside 1..8.
// Offsets are 32-bit in the file and added in 64 bits, so no offset can
// wrap round into the segment.
#include <cstdint>
#include <span>

namespace ventalune::pictures {

// The stored orientation, by its EXIF value, named for what a viewer does to
// the stored pixels to show the photo upright.
enum class Orientation : uint8_t {
  kAsStored = 1,
  kMirrorLeftRight = 2,
  kHalfTurn = 3,
  kMirrorTopBottom = 4,
  kTranspose = 5,  // mirrored across the top-left to bottom-right diagonal
  kQuarterTurnClockwise = 6,
  kTransverse = 7,  // mirrored across the top-right to bottom-left diagonal
  kQuarterTurnCounterClockwise = 8,
};

// The orientation a JPEG file's EXIF block states; kAsStored for a file
// without one or with a malformed one.
Orientation ReadExifOrientation(std::span<const uint8_t> jpegBytes);

}  // namespace ventalune::pictures
