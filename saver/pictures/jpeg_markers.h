#pragma once
// The segments of a JPEG up to its first scan: the frame, the tables and
// the scan header, read and checked so that decoding the scan needs no
// further checks of them. Only what the reduced decoder takes is accepted:
// one sequential Huffman-coded frame of 8-bit samples, grey or three
// components, sampling factors 1 or 2, all components in the one scan.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "saver/pictures/jpeg_entropy.h"

namespace ventalune::pictures::jpeg {

struct Component {
  uint8_t id = 0;
  int horizontal = 1;  // sampling factors, 1 or 2
  int vertical = 1;
  const std::array<float, 64>* quant = nullptr;  // natural order
  const HuffmanTable* dc = nullptr;
  const HuffmanTable* ac = nullptr;
};

enum class ColourSpace { kGrey, kYCbCr, kRgb };

struct JpegHeader {
  int32_t width = 0;
  int32_t height = 0;
  int componentCount = 0;
  // In the scan's order, which is the order of the blocks in each unit.
  std::array<Component, 3> components{};
  ColourSpace colour = ColourSpace::kGrey;
  uint16_t restartInterval = 0;  // units between restart markers, 0 for none
  size_t scanStart = 0;          // the first byte of the coded data

  // The tables the components point at.
  std::array<std::array<float, 64>, 4> quantTables{};
  std::array<HuffmanTable, 4> dcTables{};
  std::array<HuffmanTable, 4> acTables{};
};

// The header of a JPEG the reduced decoder can decode; nothing otherwise,
// also for a picture over kMaxDecodedPixels.
// The result points into itself: keep it where it was made.
bool ReadJpegHeader(std::span<const uint8_t> bytes, JpegHeader& header);

}  // namespace ventalune::pictures::jpeg
