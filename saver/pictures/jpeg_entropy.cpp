#include "saver/pictures/jpeg_entropy.h"

namespace ventalune::pictures::jpeg {
namespace {

// The value of `bits` read as a coefficient of `count` bits: the lower half
// of the range stands for the negative values.
int32_t Extend(uint32_t bits, int count) {
  const auto value = static_cast<int32_t>(bits);
  return value < (int32_t{1} << (count - 1)) ? value - (int32_t{1} << count) + 1 : value;
}

// The largest DC value a block of 8-bit samples can have is about 2^11;
// a predictor far beyond that means damaged data, and bounding it keeps
// the products with 16-bit quantisation factors within range.
constexpr int32_t kMaxPredictor = 32767;

}  // namespace

bool HuffmanTable::Build(std::span<const uint8_t, 16> counts, std::span<const uint8_t> symbols) {
  defined_ = false;
  lookup_.fill(0);
  limit_.fill(0);
  offset_.fill(0);
  uint32_t code = 0;
  size_t index = 0;
  for (int length = 1; length <= 16; ++length) {
    const uint8_t count = counts[static_cast<size_t>(length - 1)];
    if (index + count > symbols.size() || index + count > symbols_.size()) return false;
    offset_[static_cast<size_t>(length)] = static_cast<int32_t>(index) - static_cast<int32_t>(code);
    for (uint8_t i = 0; i < count; ++i, ++code, ++index) {
      symbols_[index] = symbols[index];
      if (length <= kLookupBits) {
        const uint32_t first = code << (kLookupBits - length);
        const uint32_t last = first + (uint32_t{1} << (kLookupBits - length));
        // A code that does not fit its length is caught below, before it could overrun here.
        if (last > lookup_.size()) return false;
        for (uint32_t prefix = first; prefix < last; ++prefix)
          lookup_[prefix] = static_cast<uint16_t>((length << 8) | symbols[index]);
      }
    }
    if (count > 0) limit_[static_cast<size_t>(length)] = code << (16 - length);
    // No code may be all ones, so the next one must still fit the length.
    if (code >= (uint32_t{1} << length)) return false;
    code <<= 1;
  }
  for (uint32_t prefix = 0; prefix < lookup_.size(); ++prefix) {
    const int length = lookup_[prefix] >> 8;
    const int symbol = lookup_[prefix] & 0xff;
    const int size = symbol & 15;
    Coefficient& coefficient = coefficients_[prefix];
    coefficient = Coefficient{};
    if (length == 0 || size == 0 || length + size > kLookupBits) continue;
    const uint32_t bits = (prefix >> (kLookupBits - length - size)) & ((1u << size) - 1);
    coefficient.value = static_cast<int16_t>(Extend(bits, size));
    coefficient.run = static_cast<uint8_t>(symbol >> 4);
    coefficient.length = static_cast<uint8_t>(length + size);
  }
  defined_ = true;
  return true;
}

EntropyReader::EntropyReader(std::span<const uint8_t> bytes, size_t start) : bytes_(bytes), at_(start) {}

void EntropyReader::Refill() {
  // Whole bytes at once while none of them is 0xff (a stuffed byte or a marker).
  if (!ended_ && at_ + 8 <= bytes_.size()) {
    uint64_t word = 0;
    for (size_t i = 0; i < 8; ++i) word = (word << 8) | bytes_[at_ + i];
    const int count = (64 - bits_) / 8;
    const int taken = 8 * count;
    // A byte of ~word is zero where the data has 0xff; the test may also
    // flag a byte above such a one, which only sends us the slow way.
    constexpr uint64_t kOnes = 0x0101010101010101;
    constexpr uint64_t kHighs = 0x8080808080808080;
    const uint64_t inverted = ~word;
    const uint64_t flagged = (inverted - kOnes) & ~inverted & kHighs;
    if ((flagged >> (64 - taken)) == 0) {
      buffer_ |= (word >> (64 - taken)) << (64 - bits_ - taken);
      bits_ += taken;
      at_ += static_cast<size_t>(count);
      return;
    }
  }
  while (bits_ <= 56) {
    uint64_t byte = 0;
    if (!ended_) {
      if (at_ >= bytes_.size()) {
        ended_ = true;
      } else if (bytes_[at_] != 0xff) {
        byte = bytes_[at_++];
      } else if (at_ + 1 < bytes_.size() && bytes_[at_ + 1] == 0) {
        // A coded 0xff byte is followed by a zero so that it is not taken for a marker.
        byte = 0xff;
        at_ += 2;
      } else {
        ended_ = true;  // a marker: the coded data ends here
      }
    }
    if (ended_) padding_ += 8;
    buffer_ |= byte << (56 - bits_);
    bits_ += 8;
  }
}

int EntropyReader::DecodeSymbol(const HuffmanTable& table) {
  const uint16_t entry = table.lookup_[static_cast<size_t>(buffer_ >> (64 - HuffmanTable::kLookupBits))];
  if (entry != 0) {
    Take(entry >> 8);
    return entry & 0xff;
  }
  const auto code = static_cast<uint32_t>(buffer_ >> 48);
  for (int length = HuffmanTable::kLookupBits + 1; length <= 16; ++length) {
    if (code < table.limit_[static_cast<size_t>(length)]) {
      const int32_t index = table.offset_[static_cast<size_t>(length)] + static_cast<int32_t>(code >> (16 - length));
      if (index < 0 || index >= static_cast<int32_t>(table.symbols_.size())) return -1;
      Take(length);
      return table.symbols_[static_cast<size_t>(index)];
    }
  }
  return -1;
}

bool EntropyReader::DecodeBlock(const HuffmanTable& dc, const HuffmanTable& ac, int32_t& predictor,
                                BlockTarget& target) {
  // A refill leaves at least 57 bits: room for a code of up to 16 bits and
  // its value of up to 15.
  if (bits_ < 32) Refill();
  const int category = DecodeSymbol(dc);
  if (category < 0 || category > 11) return false;
  if (category > 0) predictor += Extend(Take(category), category);
  if (predictor > kMaxPredictor || predictor < -kMaxPredictor) return false;
  target.block[0] = static_cast<float>(predictor) * target.quant[0];
  target.rowMask = 0;
  for (int k = 1; k < 64;) {
    if (bits_ < 32) Refill();
    // Most coefficients of a photo are short enough to be read in one look-up.
    const HuffmanTable::Coefficient& fast =
        ac.coefficients_[static_cast<size_t>(buffer_ >> (64 - HuffmanTable::kLookupBits))];
    if (fast.length != 0) {
      k += fast.run;
      if (k > 63) return false;
      buffer_ <<= fast.length;
      bits_ -= fast.length;
      const uint8_t at = kNaturalOrder[static_cast<size_t>(k)];
      if (target.keep[at] != 0) {
        target.block[at] = static_cast<float>(fast.value) * target.quant[at];
        target.rowMask = static_cast<uint8_t>(target.rowMask | (1u << (at >> 3)));
      }
      ++k;
      continue;
    }
    const int symbol = DecodeSymbol(ac);
    if (symbol < 0) return false;
    const int run = symbol >> 4;
    const int size = symbol & 15;
    if (size == 0) {
      if (run != 15) break;  // end of block
      k += 16;               // sixteen zeros
      if (k > 64) return false;
      continue;
    }
    k += run;
    if (k > 63) return false;
    const int32_t value = Extend(Take(size), size);
    const uint8_t at = kNaturalOrder[static_cast<size_t>(k)];
    if (target.keep[at] != 0) {
      target.block[at] = static_cast<float>(value) * target.quant[at];
      target.rowMask = static_cast<uint8_t>(target.rowMask | (1u << (at >> 3)));
    }
    ++k;
  }
  return true;
}

bool EntropyReader::Restart(int number) {
  buffer_ = 0;
  bits_ = 0;
  padding_ = 0;
  ended_ = false;
  // Whatever coded bytes are left of the interval are passed over.
  while (at_ + 1 < bytes_.size()) {
    if (bytes_[at_] != 0xff) {
      ++at_;
      continue;
    }
    const uint8_t next = bytes_[at_ + 1];
    if (next == 0xff) {  // a fill byte before the marker
      ++at_;
      continue;
    }
    at_ += 2;
    if (next != 0) return next == 0xd0 + number;
  }
  return false;
}

}  // namespace ventalune::pictures::jpeg
