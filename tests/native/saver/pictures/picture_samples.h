#pragma once
// The first bytes of pictures, made by hand: just what a header reader or
// the route looks at, with the sizes a test names.
#include <cstdint>
#include <vector>

namespace ventalune::pictures::samples {

using Bytes = std::vector<uint8_t>;

inline Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

inline const Bytes kStartOfImage = {0xff, 0xd8};
// An APP0 segment of 16 bytes (JFIF), skipped on the way to the frame header.
inline const Bytes kApp0 = {0xff, 0xe0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};

// A JPEG frame header: marker, length 17, precision 8, height, width, 3 components.
inline Bytes JpegFrame(uint8_t marker, uint16_t width, uint16_t height) {
  return {0xff, marker, 0x00, 0x11, 8, static_cast<uint8_t>(height >> 8), static_cast<uint8_t>(height),
          static_cast<uint8_t>(width >> 8), static_cast<uint8_t>(width), 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1};
}

// A PNG's signature and header chunk declaring width × height (the
// chunk's checksum is the decoder's to judge).
inline Bytes Png(uint32_t width, uint32_t height) {
  Bytes bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  for (const uint32_t value : {width, height})
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<uint8_t>(value >> shift));
  return bytes + Bytes{8, 2, 0, 0, 0, 0, 0, 0, 0};
}

// A GIF's header with the logical screen given, no colour table, and one
// image of `frameWidth` × 1 pixels at `left` with a local two-colour table.
inline Bytes Gif(uint16_t screenWidth, uint16_t screenHeight, uint16_t left = 0, uint16_t frameWidth = 1) {
  const auto le = [](uint16_t value) { return Bytes{static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)}; };
  return Bytes{'G', 'I', 'F', '8', '9', 'a'} + le(screenWidth) + le(screenHeight) + Bytes{0, 0, 0} +
         Bytes{0x2c} + le(left) + le(0) + le(frameWidth) + le(1) + Bytes{0x80, 0, 0, 0, 255, 255, 255} +
         Bytes{2, 2, 0x4c, 0x01, 0, 0x3b};
}

}  // namespace ventalune::pictures::samples
