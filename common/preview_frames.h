#pragma once
// The live preview's shared memory. The saver's preview window makes it, with
// the two pictures the preview's room and rings carry, and starts the scene
// program on it; the scene draws each frame into it and tells the window,
// which paints the frame in its own process. Portable: both programs and
// their tests read the layout from here.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ventalune {

// The scene program's switch for the preview: "/p WINDOW MAPPING", the
// preview window's handle and the inherited handle of the shared memory,
// both in decimal.
inline constexpr char kPreviewSwitch[] = "/p";

struct PreviewArguments {
  uint64_t window = 0;
  uint64_t mapping = 0;
  bool operator==(const PreviewArguments&) const = default;
};
std::string FormatPreviewArguments(const PreviewArguments& arguments);
// Nothing unless the text is exactly the switch and two numbers.
std::optional<PreviewArguments> ParsePreviewArguments(std::string_view text);

// Sent to the preview window when a new frame is in the shared memory.
inline constexpr unsigned kPreviewFrameMessage = 0x8000 + 0x56;  // WM_APP + 'V'

// Both pictures are at most this many pixels on a side; frames too (a
// larger area shows a frame stretched up).
inline constexpr int32_t kPreviewPictureSide = 512;
inline constexpr int32_t kPreviewFrameSide = 1024;

inline constexpr uint32_t kPreviewMagic = 0x5650'4C56;  // "VLPV"

// 32-bit blue, green, red, unused pixels, bottom row first, as a Windows DIB
// and as OpenGL reads them back.
struct PreviewPicture {
  int32_t width = 0, height = 0;
  bool operator==(const PreviewPicture&) const = default;
};

struct PreviewHeader {
  uint32_t magic = kPreviewMagic;
  uint32_t size = sizeof(PreviewHeader);
  PreviewPicture room, ring;
  // Two frames, so the window paints one while the scene draws the other.
  PreviewPicture frames[2];
  int32_t latestFrame = -1;  // which of the two was finished last; -1 none yet
};

inline constexpr std::size_t kPreviewPictureBytes = std::size_t{kPreviewPictureSide} * kPreviewPictureSide * 4;
inline constexpr std::size_t kPreviewFrameBytes = std::size_t{kPreviewFrameSide} * kPreviewFrameSide * 4;
inline constexpr std::size_t kRoomOffset = 64;
inline constexpr std::size_t kRingOffset = kRoomOffset + kPreviewPictureBytes;
inline constexpr std::size_t kFrameOffset = kRingOffset + kPreviewPictureBytes;
inline constexpr std::size_t kPreviewMappingBytes = kFrameOffset + 2 * kPreviewFrameBytes;
static_assert(sizeof(PreviewHeader) <= kRoomOffset);

inline std::size_t FrameOffset(int index) { return kFrameOffset + static_cast<std::size_t>(index) * kPreviewFrameBytes; }

// Whether a picture's size fits its place: both sides 1 … `side`.
bool PreviewPictureFits(const PreviewPicture& picture, int32_t side);
// The header as the other program left it is only believed where it fits
// the mapping: the right mark and size, and pictures that fit their places.
bool PreviewHeaderValid(const PreviewHeader& header);

// The size a frame is drawn at for an area of width × height: the area's,
// scaled down with its shape kept to fit `side` (a picture's place uses the
// same rule), never below one pixel.
PreviewPicture PreviewFrameSize(int32_t width, int32_t height, int32_t side = kPreviewFrameSide);

}  // namespace ventalune
