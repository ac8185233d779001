#include "saver/gif/lzw_decoder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace ventalune::gif {
namespace {

constexpr uint32_t kMaxCodes = 4096;
constexpr uint32_t kMaxWidth = 12;

// Reads `width` bits at `bitPos`, least significant bit first. The caller
// has checked that they lie within the data.
inline uint32_t PeekBits(const uint8_t* data, size_t size, uint64_t bitPos) {
  const size_t byte = static_cast<size_t>(bitPos >> 3);
  uint32_t window = 0;
  if (byte + 4 <= size) {
    std::memcpy(&window, data + byte, 4);
  } else {
    for (size_t i = 0; byte + i < size; ++i) window |= uint32_t{data[byte + i]} << (8 * i);
  }
  return window >> (bitPos & 7);
}

// Copies `length` bytes forwards, one at a time where source and
// destination overlap (the string that repeats its own first character).
inline void CopyString(uint8_t* out, size_t to, size_t from, size_t length) {
  if (to - from >= length) {
    std::memcpy(out + to, out + from, length);
  } else {
    for (size_t i = 0; i < length; ++i) out[to + i] = out[from + i];
  }
}

}  // namespace

LzwResult DecodeLzw(std::span<const uint8_t> codes, int minCodeSize, std::span<uint8_t> out) {
  if (minCodeSize < 1 || minCodeSize > 8) return {0, LzwStatus::kBadCodeSize};
  if (out.empty()) return {0, LzwStatus::kComplete};

  // Every table string is a stretch of the output already written: entry n
  // is the previous code's string plus the first byte that followed it. So an
  // entry is just where that stretch starts and how long it is.
  std::array<uint32_t, kMaxCodes> entryStart;
  std::array<uint16_t, kMaxCodes> entryLength;

  const uint32_t clearCode = 1u << minCodeSize;
  const uint32_t endCode = clearCode + 1;
  const uint32_t firstFree = clearCode + 2;
  uint32_t width = static_cast<uint32_t>(minCodeSize) + 1;
  uint32_t nextFree = firstFree;
  bool havePrevious = false;
  size_t previousStart = 0;
  size_t previousLength = 0;

  const uint8_t* data = codes.data();
  const size_t dataSize = codes.size();
  const uint64_t totalBits = uint64_t{dataSize} * 8;
  uint64_t bitPos = 0;
  uint8_t* pixels = out.data();
  // Table entries keep 32-bit output positions; frames are far smaller than
  // that under the strip ceiling, and anything beyond it stays untouched.
  const size_t capacity = std::min<size_t>(out.size(), UINT32_MAX);
  size_t written = 0;

  for (;;) {
    if (bitPos + width > totalBits) return {written, LzwStatus::kDataEnded};
    const uint32_t code = PeekBits(data, dataSize, bitPos) & ((1u << width) - 1);
    bitPos += width;

    if (code == clearCode) {
      width = static_cast<uint32_t>(minCodeSize) + 1;
      nextFree = firstFree;
      havePrevious = false;
      continue;
    }
    if (code == endCode) return {written, LzwStatus::kComplete};

    size_t length;
    if (code < clearCode) {
      if (havePrevious && nextFree < kMaxCodes) {
        entryStart[nextFree] = static_cast<uint32_t>(previousStart);
        entryLength[nextFree] = static_cast<uint16_t>(previousLength + 1);
        ++nextFree;
      }
      pixels[written] = static_cast<uint8_t>(code);
      length = 1;
    } else {
      if (code > nextFree || (code == nextFree && !havePrevious)) return {written, LzwStatus::kCorrupt};
      if (havePrevious && nextFree < kMaxCodes) {
        // When code == nextFree this is the entry being read: the previous
        // string followed by its own first byte.
        entryStart[nextFree] = static_cast<uint32_t>(previousStart);
        entryLength[nextFree] = static_cast<uint16_t>(previousLength + 1);
        ++nextFree;
      }
      length = entryLength[code];
      const size_t room = capacity - written;
      if (length >= room) {
        CopyString(pixels, written, entryStart[code], room);
        return {capacity, LzwStatus::kComplete};
      }
      CopyString(pixels, written, entryStart[code], length);
    }

    previousStart = written;
    previousLength = length;
    havePrevious = true;
    written += length;
    if (written == capacity) return {written, LzwStatus::kComplete};
    if (nextFree >= (1u << width) && width < kMaxWidth) ++width;
  }
}

}  // namespace ventalune::gif
