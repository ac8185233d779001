#include "gif_builder.h"

#include <algorithm>

namespace ventalune::gif::testing {

CodeStream& CodeStream::Put(uint32_t code, int width) {
  bits_ |= code << count_;
  count_ += width;
  while (count_ >= 8) {
    bytes_.push_back(static_cast<uint8_t>(bits_ & 0xFF));
    bits_ >>= 8;
    count_ -= 8;
  }
  return *this;
}

std::vector<uint8_t> CodeStream::Bytes() const {
  std::vector<uint8_t> out = bytes_;
  if (count_ > 0) out.push_back(static_cast<uint8_t>(bits_ & 0xFF));
  return out;
}

DecoderPacedCodes::DecoderPacedCodes(int minCodeSize)
    : minCodeSize_(minCodeSize), clear_(1u << minCodeSize), width_(minCodeSize + 1), nextFree_(clear_ + 2) {}

DecoderPacedCodes& DecoderPacedCodes::Put(uint32_t code) {
  stream_.Put(code, width_);
  if (code == clear_) {
    width_ = minCodeSize_ + 1;
    nextFree_ = clear_ + 2;
    first_ = true;
    return *this;
  }
  if (code == clear_ + 1) return *this;
  if (!first_ && nextFree_ < 4096) ++nextFree_;
  first_ = false;
  if (nextFree_ >= (1u << width_) && width_ < 12) ++width_;
  return *this;
}

std::vector<uint8_t> LiteralCodes(const std::vector<uint8_t>& pixels, int minCodeSize) {
  const uint32_t clear = 1u << minCodeSize;
  CodeStream codes;
  int width = minCodeSize + 1;
  uint32_t nextFree = clear + 2;
  bool first = true;
  codes.Put(clear, width);
  for (const uint8_t pixel : pixels) {
    // Clear before the table fills, so the width never needs more than 12 bits.
    if (nextFree >= 4095) {
      codes.Put(clear, width);
      width = minCodeSize + 1;
      nextFree = clear + 2;
      first = true;
    }
    codes.Put(pixel, width);
    if (!first) ++nextFree;
    first = false;
    if (nextFree >= (1u << width) && width < 12) ++width;
  }
  codes.Put(clear + 1, width);
  return codes.Bytes();
}

std::vector<uint8_t> SubBlocks(const std::vector<uint8_t>& data, size_t blockSize) {
  std::vector<uint8_t> out;
  for (size_t at = 0; at < data.size(); at += blockSize) {
    const size_t size = std::min(blockSize, data.size() - at);
    out.push_back(static_cast<uint8_t>(size));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at), data.begin() + static_cast<std::ptrdiff_t>(at + size));
  }
  out.push_back(0);
  return out;
}

GifBuilder::GifBuilder(const std::string& signature, int screenWidth, int screenHeight, int globalTableSizeCode,
                       const std::vector<uint8_t>& colours) {
  bytes_.assign(signature.begin(), signature.end());
  Word(screenWidth);
  Word(screenHeight);
  bytes_.push_back(globalTableSizeCode >= 0 ? static_cast<uint8_t>(0x80 | globalTableSizeCode) : 0);
  bytes_.push_back(0);
  bytes_.push_back(0);
  if (globalTableSizeCode < 0) return;
  const int entries = 1 << (globalTableSizeCode + 1);
  if (!colours.empty()) {
    bytes_.insert(bytes_.end(), colours.begin(), colours.end());
    return;
  }
  for (int i = 0; i < entries; ++i) {
    bytes_.push_back(static_cast<uint8_t>(i));
    bytes_.push_back(static_cast<uint8_t>(2 * i));
    bytes_.push_back(static_cast<uint8_t>(3 * i));
  }
}

GifBuilder& GifBuilder::Raw(std::initializer_list<uint8_t> bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

GifBuilder& GifBuilder::Raw(const std::vector<uint8_t>& bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

GifBuilder& GifBuilder::Control(int disposal, int delayHundredths, bool transparent, uint8_t transparentIndex) {
  Raw({0x21, 0xF9, 0x04, static_cast<uint8_t>((disposal << 2) | (transparent ? 1 : 0))});
  Word(delayHundredths);
  return Raw({transparentIndex, 0x00});
}

GifBuilder& GifBuilder::Loop(int count) {
  return Application("NETSCAPE2.0", {1, static_cast<uint8_t>(count & 0xFF), static_cast<uint8_t>(count >> 8)});
}

GifBuilder& GifBuilder::Application(const std::string& name, const std::vector<uint8_t>& subBlockData) {
  Raw({0x21, 0xFF, static_cast<uint8_t>(name.size())});
  bytes_.insert(bytes_.end(), name.begin(), name.end());
  return Raw(SubBlocks(subBlockData));
}

GifBuilder& GifBuilder::Comment(const std::string& text) {
  Raw({0x21, 0xFE});
  return Raw(SubBlocks(std::vector<uint8_t>(text.begin(), text.end())));
}

GifBuilder& GifBuilder::Descriptor(const ImageBlock& block) {
  bytes_.push_back(0x2C);
  Word(block.left);
  Word(block.top);
  Word(block.width);
  Word(block.height);
  uint8_t packed = block.interlaced ? 0x40 : 0;
  if (block.localTableSizeCode >= 0) packed |= static_cast<uint8_t>(0x80 | block.localTableSizeCode);
  bytes_.push_back(packed);
  if (block.localTableSizeCode >= 0) {
    for (int i = 0; i < (1 << (block.localTableSizeCode + 1)); ++i)
      Raw({static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i), 7});
  }
  bytes_.push_back(static_cast<uint8_t>(block.minCodeSize));
  return *this;
}

GifBuilder& GifBuilder::Image(const ImageBlock& block, const std::vector<uint8_t>& pixels) {
  Descriptor(block);
  return Raw(SubBlocks(LiteralCodes(pixels, block.minCodeSize)));
}

void GifBuilder::Word(int value) {
  bytes_.push_back(static_cast<uint8_t>(value & 0xFF));
  bytes_.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

std::vector<uint8_t> Ramp(int width, int height, int modulus) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i % static_cast<size_t>(modulus));
  return pixels;
}

}  // namespace ventalune::gif::testing
