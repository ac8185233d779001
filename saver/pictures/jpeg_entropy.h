#pragma once
// The Huffman-coded part of a sequential JPEG: code tables, the bit stream
// between markers, and one block's coefficients. Every block is decoded in
// full (the code leaves no other way to find the next one), but only the
// coefficients the caller keeps are dequantised and stored.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace ventalune::pictures::jpeg {

// The natural (row-major) position of the k-th coefficient in coded (zig-zag) order.
inline constexpr std::array<uint8_t, 64> kNaturalOrder = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

class HuffmanTable {
 public:
  // Codes up to this many bits are found with one look-up.
  static constexpr int kLookupBits = 9;

  // From the counts of codes of each length 1..16 and the symbols in code
  // order. False for a table whose codes do not fit their lengths.
  bool Build(std::span<const uint8_t, 16> counts, std::span<const uint8_t> symbols);
  bool defined() const { return defined_; }

 private:
  friend class EntropyReader;
  bool defined_ = false;
  // (length << 8) | symbol for every 9-bit prefix that starts with a short
  // code; 0 where the code is longer.
  std::array<uint16_t, 1 << kLookupBits> lookup_{};
  // For each length, the largest code (left-aligned to 16 bits, plus one;
  // 0 for no code of that length) and the index of its first symbol minus its first code.
  std::array<uint32_t, 17> limit_{};
  std::array<int32_t, 17> offset_{};
  std::array<uint8_t, 256> symbols_{};
  // For AC tables: where a 9-bit prefix holds a whole coefficient (its
  // code and its value bits), the value, the zeros before it and the bits
  // it takes; a length of 0 where it does not.
  struct Coefficient {
    int16_t value = 0;
    uint8_t run = 0;
    uint8_t length = 0;
  };
  std::array<Coefficient, 1 << kLookupBits> coefficients_{};
};

// What a block decode stores: the dequantised coefficients it keeps, in
// natural (row-major) order.
struct BlockTarget {
  const float* quant = nullptr;  // 64 factors, natural order
  const uint8_t* keep = nullptr;  // 64 flags, natural order: store this coefficient
  float* block = nullptr;         // 64 coefficients, natural order; kept ones written
  uint8_t rowMask = 0;            // out: bit r set when row r got a non-zero AC coefficient
};

class EntropyReader {
 public:
  // Reads the coded data that starts at `start`.
  EntropyReader(std::span<const uint8_t> bytes, size_t start);

  // One block: the DC difference is added to `predictor`. False for a code
  // the tables do not have, a coefficient past the block's end or a DC
  // value out of range.
  bool DecodeBlock(const HuffmanTable& dc, const HuffmanTable& ac, int32_t& predictor, BlockTarget& target);

  // True once a decode has used bits that are not in the data (it ended,
  // or a marker came, too early).
  bool overrun() const { return bits_ < padding_; }

  // Skips to the restart marker that must follow a restart interval and
  // reads past it. False when the next marker is not restart marker
  // `number` (0..7).
  bool Restart(int number);

 private:
  void Refill();
  uint32_t Take(int count) {
    const auto value = static_cast<uint32_t>(buffer_ >> (64 - count));
    buffer_ <<= count;
    bits_ -= count;
    return value;
  }
  int DecodeSymbol(const HuffmanTable& table);

  std::span<const uint8_t> bytes_;
  size_t at_;
  uint64_t buffer_ = 0;  // bits left-aligned
  int bits_ = 0;
  // Zero bits appended after the data ended or a marker came.
  int padding_ = 0;
  bool ended_ = false;
};

}  // namespace ventalune::pictures::jpeg
