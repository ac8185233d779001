#include "saver/gif/lzw_encoder.h"

#include <array>

namespace ventalune::gif {
namespace {

constexpr int32_t kSlots = 5003;  // prime, so probing visits every slot
constexpr int32_t kClearCode = 256;
constexpr int32_t kEndCode = 257;
constexpr int32_t kFirstFree = 258;
constexpr int32_t kTableFull = 4096;
constexpr int32_t kStartWidth = 9;
constexpr size_t kBlockData = 254;

// Codes leave least significant bit first, and bytes leave in sub-blocks.
class CodeWriter {
 public:
  explicit CodeWriter(std::vector<uint8_t>& out) : out_(out) {}

  void Put(int32_t code, int32_t width) {
    bits_ |= static_cast<uint32_t>(code) << count_;
    count_ += width;
    while (count_ >= 8) {
      Byte(static_cast<uint8_t>(bits_ & 0xFF));
      bits_ >>= 8;
      count_ -= 8;
    }
  }

  void Flush() {
    if (count_ > 0) Byte(static_cast<uint8_t>(bits_ & 0xFF));
    bits_ = 0;
    count_ = 0;
    if (used_ > 0) Block();
  }

 private:
  void Byte(uint8_t value) {
    block_[used_++] = value;
    if (used_ == kBlockData) Block();
  }
  void Block() {
    out_.push_back(static_cast<uint8_t>(used_));
    out_.insert(out_.end(), block_.begin(), block_.begin() + static_cast<std::ptrdiff_t>(used_));
    used_ = 0;
  }

  std::vector<uint8_t>& out_;
  std::array<uint8_t, kBlockData> block_{};
  size_t used_ = 0;
  uint32_t bits_ = 0;
  int32_t count_ = 0;
};

}  // namespace

void EncodeLzw8(std::span<const uint8_t> pixels, std::vector<uint8_t>& out) {
  // Keys are pixel × 4096 + prefix; -1 marks an empty slot.
  std::array<int32_t, kSlots> keys;
  std::array<int32_t, kSlots> codes;
  keys.fill(-1);
  CodeWriter writer(out);
  int32_t width = kStartWidth;
  int32_t nextFree = kFirstFree;

  writer.Put(kClearCode, width);
  if (pixels.empty()) {
    writer.Put(kEndCode, width);
    writer.Flush();
    return;
  }
  int32_t prefix = pixels[0];
  for (size_t i = 1; i < pixels.size(); ++i) {
    const int32_t pixel = pixels[i];
    const int32_t key = (pixel << 12) + prefix;
    int32_t slot = (pixel << 4) ^ prefix;
    if (keys[static_cast<size_t>(slot)] == key) {
      prefix = codes[static_cast<size_t>(slot)];
      continue;
    }
    if (keys[static_cast<size_t>(slot)] >= 0) {
      const int32_t step = slot == 0 ? 1 : kSlots - slot;
      bool found = false;
      // A key of 0 (pixel 0 after prefix 0) ends the probe like an empty
      // slot does; that costs an entry now and then, never correctness.
      do {
        slot -= step;
        if (slot < 0) slot += kSlots;
        if (keys[static_cast<size_t>(slot)] == key) {
          found = true;
          break;
        }
      } while (keys[static_cast<size_t>(slot)] > 0);
      if (found) {
        prefix = codes[static_cast<size_t>(slot)];
        continue;
      }
    }
    writer.Put(prefix, width);
    const int32_t added = nextFree++;
    keys[static_cast<size_t>(slot)] = key;
    codes[static_cast<size_t>(slot)] = added;
    if (added > (1 << width) - 1) {
      if (added == kTableFull) {
        writer.Put(kClearCode, width);
        keys.fill(-1);
        nextFree = kFirstFree;
        width = kStartWidth;
      } else {
        ++width;
      }
    }
    prefix = pixel;
  }
  writer.Put(prefix, width);
  writer.Put(kEndCode, width);
  writer.Flush();
}

}  // namespace ventalune::gif
