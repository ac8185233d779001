#include "saver/gif/frame_decoder.h"

#include <algorithm>
#include <cstring>

namespace ventalune::gif {
namespace {

constexpr int64_t kPackedOffset = 9;  // 0x2C, left, top, width, height, then the packed byte
constexpr uint8_t kLocalTableFlag = 0x80;
constexpr uint8_t kInterlacedFlag = 0x40;

// Joins the data sub-blocks that start at `at` until a zero-size block or
// `end`, keeping only bytes that exist.
void JoinSubBlocks(std::span<const uint8_t> file, int64_t at, int64_t end, std::vector<uint8_t>& codes) {
  codes.clear();
  while (at < end) {
    const int64_t size = file[static_cast<size_t>(at)];
    if (size == 0) break;
    const int64_t first = at + 1;
    const int64_t last = std::min(first + size, end);
    if (first < last) codes.insert(codes.end(), file.begin() + first, file.begin() + last);
    at = first + size;
  }
}

}  // namespace

int32_t InterlacedRow(int32_t index, int32_t height) {
  // Pass 1 every 8th row from 0, pass 2 every 8th from 4, pass 3 every 4th
  // from 2, pass 4 the odd rows.
  const int32_t pass1 = (height + 7) / 8;
  if (index < pass1) return index * 8;
  index -= pass1;
  const int32_t pass2 = (height + 3) / 8;
  if (index < pass2) return 4 + index * 8;
  index -= pass2;
  const int32_t pass3 = (height + 1) / 4;
  if (index < pass3) return 2 + index * 4;
  index -= pass3;
  return 1 + index * 2;
}

LzwStatus DecodeFrame(std::span<const uint8_t> file, const FramePosition& position, const FrameRecord& frame,
                      FrameStrip& strip, DecodeScratch& scratch) {
  return DecodeFrame(file, position, frame, frame, 1, strip, scratch);
}

LzwStatus DecodeFrame(std::span<const uint8_t> file, const FramePosition& position, const FrameRecord& declared,
                      const FrameRecord& working, int32_t reduction, FrameStrip& strip, DecodeScratch& scratch) {
  const int64_t fileSize = static_cast<int64_t>(file.size());
  const int64_t end = std::min(position.start + position.length, fileSize);
  int64_t at = position.start + kPackedOffset;
  if (at >= end) return LzwStatus::kDataEnded;
  const uint8_t packed = file[static_cast<size_t>(at)];
  at += 1;
  if (packed & kLocalTableFlag) at += 3 * (int64_t{1} << ((packed & 7) + 1));
  if (at >= end) return LzwStatus::kDataEnded;
  const int minCodeSize = file[static_cast<size_t>(at)];
  JoinSubBlocks(file, at + 1, end, scratch.codes);

  const int32_t width = declared.width;
  const int32_t height = declared.height;
  if (width <= 0 || height <= 0 || working.width <= 0 || working.height <= 0 || reduction < 1)
    return LzwStatus::kComplete;
  // The strip is laid out from the frames, so each frame fits its columns;
  // a frame that does not is left blank rather than written out of place.
  if (working.stripOffset < 0 || int64_t{working.stripOffset} + working.width > strip.width ||
      working.height > strip.height)
    return LzwStatus::kComplete;

  const size_t area = static_cast<size_t>(width) * static_cast<size_t>(height);
  if (scratch.pixels.size() < area) scratch.pixels.resize(area);
  const LzwResult result = DecodeLzw(scratch.codes, minCodeSize, std::span<uint8_t>(scratch.pixels.data(), area));

  // Rows the data reached go into the strip; a row cut short ends in index 0.
  const size_t rowsReached = std::min<size_t>(static_cast<size_t>(height), (result.pixels + width - 1) / width);
  const size_t reachedEnd = rowsReached * static_cast<size_t>(width);
  std::fill(scratch.pixels.begin() + static_cast<std::ptrdiff_t>(result.pixels),
            scratch.pixels.begin() + static_cast<std::ptrdiff_t>(reachedEnd), uint8_t{0});
  const bool interlaced = (packed & kInterlacedFlag) != 0;
  // The declared column of the frame that working column 0 samples.
  const int64_t firstColumn = int64_t{working.left} * reduction - declared.left;
  if (firstColumn < 0 || firstColumn + int64_t{working.width - 1} * reduction >= width) return LzwStatus::kComplete;
  for (size_t row = 0; row < rowsReached; ++row) {
    const int32_t y = interlaced ? InterlacedRow(static_cast<int32_t>(row), height) : static_cast<int32_t>(row);
    const uint8_t* source = scratch.pixels.data() + row * static_cast<size_t>(width);
    if (reduction == 1) {
      std::memcpy(strip.Row(y) + working.stripOffset, source, static_cast<size_t>(width));
      continue;
    }
    const int64_t canvasRow = int64_t{declared.top} + y;
    if (canvasRow % reduction != 0) continue;
    const int64_t workingRow = canvasRow / reduction - working.top;
    if (workingRow < 0 || workingRow >= working.height) continue;
    uint8_t* target = strip.Row(static_cast<int32_t>(workingRow)) + working.stripOffset;
    for (int32_t x = 0; x < working.width; ++x) target[x] = source[firstColumn + int64_t{x} * reduction];
  }
  return result.status;
}

int32_t WorkingReduction(int32_t logicalWidth, int32_t logicalHeight, int64_t maxPixels) {
  if (maxPixels <= 0 || logicalWidth <= 0 || logicalHeight <= 0) return 1;
  int32_t reduction = 1;
  while (int64_t{Reduced(logicalWidth, reduction)} * Reduced(logicalHeight, reduction) > maxPixels) ++reduction;
  return reduction;
}

FrameRecord ReduceFrame(const FrameRecord& declared, int32_t reduction) {
  FrameRecord working = declared;
  if (reduction <= 1) return working;
  working.left = Reduced(declared.left, reduction);
  working.top = Reduced(declared.top, reduction);
  working.width = Reduced(int64_t{declared.left} + declared.width, reduction) - working.left;
  working.height = Reduced(int64_t{declared.top} + declared.height, reduction) - working.top;
  return working;
}

}  // namespace ventalune::gif
