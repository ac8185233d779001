#pragma once
// Builds small GIF files byte by byte inside the tests, so each case shows
// exactly which bytes it feeds the engine.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace ventalune::gif::testing {

// Packs codes least significant bit first, each at the width given.
class CodeStream {
 public:
  CodeStream& Put(uint32_t code, int width);
  std::vector<uint8_t> Bytes() const;

 private:
  std::vector<uint8_t> bytes_;
  uint32_t bits_ = 0;
  int count_ = 0;
};

// Packs codes at the width a decoder reads them with: it follows the table
// growth (one entry per code after the first since a clear, at most 4096)
// and the width steps, but not what the codes mean.
class DecoderPacedCodes {
 public:
  explicit DecoderPacedCodes(int minCodeSize);
  DecoderPacedCodes& Put(uint32_t code);
  DecoderPacedCodes& Clear() { return Put(clear_); }
  DecoderPacedCodes& End() { return Put(clear_ + 1); }
  uint32_t nextFree() const { return nextFree_; }
  std::vector<uint8_t> Bytes() const { return stream_.Bytes(); }

 private:
  CodeStream stream_;
  int minCodeSize_;
  uint32_t clear_;
  int width_;
  uint32_t nextFree_;
  bool first_ = true;
};

// A valid code stream that sends every pixel as its own literal code, with
// the code width growing as a decoder expects.
std::vector<uint8_t> LiteralCodes(const std::vector<uint8_t>& pixels, int minCodeSize);

// Cuts data into sub-blocks of at most `blockSize` bytes and adds the
// zero-size terminator.
std::vector<uint8_t> SubBlocks(const std::vector<uint8_t>& data, size_t blockSize = 255);

struct ImageBlock {
  int left = 0;
  int top = 0;
  int width = 1;
  int height = 1;
  int localTableSizeCode = -1;  // -1 none, else 0..7 (2 .. 256 entries)
  bool interlaced = false;
  int minCodeSize = 2;
};

class GifBuilder {
 public:
  // Header with an optional global table (size code 0..7, -1 for none); the
  // table's entry i is (i, 2i, 3i) unless colours are given.
  explicit GifBuilder(const std::string& signature = "GIF89a", int screenWidth = 16, int screenHeight = 16,
                      int globalTableSizeCode = 1, const std::vector<uint8_t>& colours = {});

  GifBuilder& Raw(std::initializer_list<uint8_t> bytes);
  GifBuilder& Raw(const std::vector<uint8_t>& bytes);
  GifBuilder& Control(int disposal, int delayHundredths = 0, bool transparent = false, uint8_t transparentIndex = 0);
  GifBuilder& Loop(int count);
  GifBuilder& Application(const std::string& name, const std::vector<uint8_t>& subBlockData);
  GifBuilder& Comment(const std::string& text);
  // Descriptor, local table (entry i is (255 − i, i, 7)), code size byte.
  GifBuilder& Descriptor(const ImageBlock& block);
  // A whole image: descriptor and the pixels as literal codes.
  GifBuilder& Image(const ImageBlock& block, const std::vector<uint8_t>& pixels);
  GifBuilder& Trailer() { return Raw({0x3B}); }

  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  void Word(int value);
  std::vector<uint8_t> bytes_;
};

// The pixels of a width × height frame numbered (x + y * width) mod modulus.
std::vector<uint8_t> Ramp(int width, int height, int modulus);

}  // namespace ventalune::gif::testing
