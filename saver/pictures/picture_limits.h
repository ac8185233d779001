#pragma once
// Every ceiling a picture from outside is held against, and the sizes large
// pictures are kept at. A picture file is chosen by the user or named by the
// settings file, and a header of a few bytes may declare any size, so each
// allocation and each decode is bounded here before it happens. A picture
// beyond a ceiling, or one whose size cannot be told before it is decoded,
// is refused whole: the dialog shows no preview, the run a blank wall.
#include <cstdint>

namespace ventalune::pictures {

// Picture files larger than this are refused unread: well above the largest
// picture the decoders accept (a 24-bit bitmap of the most pixels held
// stays under 200 MiB), so no picture that could show is lost.
inline constexpr uint64_t kMaxPictureFileBytes = uint64_t{512} << 20;

// The most pixels held whole at four bytes each, 8192 × 8192 (256 MiB): a
// picture surface, what the reduced JPEG decoder gives (the largest JPEG
// there can be, 65535 on a side, at an eighth), a picture while it is turned
// upright (which holds it twice), and a picture the OLE loader is asked for,
// since it decodes and holds every pixel at once.
inline constexpr uint64_t kMaxHeldPixels = uint64_t{8192} * 8192;

// The most pixels a decoder is asked to decode, held or not: beyond this a
// decode takes longer than anyone waits for a screen saver.
inline constexpr uint64_t kMaxDecodedPixels = uint64_t{1} << 28;

// The longest side a decoder is asked to decode, whatever the pixels: a
// decoder works a row at a time, and the rows of a PNG of 2^28 × 1 pixels
// are a gigabyte each. 65535 is the most a JPEG or a GIF can declare; a row
// of it at four bytes a pixel is a quarter of a megabyte.
inline constexpr uint32_t kMaxDecodedSide = 65535;

// Pictures up to this many pixels on their longer side are kept as they are.
inline constexpr int32_t kLongestSideKept = 4096;

// The longer side of a reduced picture. The walls enlarge a picture side
// to the nearest power of two, so a reduced picture becomes a texture of
// this size: a quarter of the texels of the next size up, which a wall
// spanning a few screen widths does not miss, and a start-up that is not
// spent on drawing and uploading them.
inline constexpr int32_t kReducedLongestSide = 2048;

}  // namespace ventalune::pictures
