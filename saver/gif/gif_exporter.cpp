#include "saver/gif/gif_exporter.h"

#include <algorithm>
#include <string_view>

#include "saver/gif/lzw_encoder.h"

namespace ventalune::gif {
namespace {

constexpr std::string_view kSignature = "GIF89a";
constexpr uint8_t kGlobalTable256 = 0x87;
constexpr uint8_t kMinCodeSize = 8;

void PutWord(std::vector<uint8_t>& out, int32_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

}  // namespace

std::vector<uint8_t> ExportFrame(const FrameStrip& strip, const FrameRecord& frame, const Palette& palette) {
  // Only what the strip really holds is read; a frame that does not fit is
  // exported as far as it does (the rest index 0).
  const int32_t width = std::max(frame.width, 0);
  const int32_t height = std::max(frame.height, 0);
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  const int64_t columns = std::clamp<int64_t>(int64_t{strip.width} - frame.stripOffset, 0, width);
  const int32_t rows = std::min(height, strip.height);
  if (frame.stripOffset >= 0) {
    for (int32_t y = 0; y < rows; ++y)
      std::copy_n(strip.Row(y) + frame.stripOffset, columns, pixels.begin() + static_cast<ptrdiff_t>(y) * width);
  }

  std::vector<uint8_t> out;
  out.reserve(pixels.size() + 800);
  out.insert(out.end(), kSignature.begin(), kSignature.end());
  PutWord(out, width);
  PutWord(out, height);
  out.push_back(kGlobalTable256);
  out.push_back(0);  // background index
  out.push_back(0);  // aspect ratio
  for (const Colour entry : palette) {
    out.push_back(RedOf(entry));
    out.push_back(GreenOf(entry));
    out.push_back(BlueOf(entry));
  }
  if (frame.transparent) {
    const uint8_t control[] = {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, frame.transparentIndex, 0x00};
    out.insert(out.end(), std::begin(control), std::end(control));
  }
  out.push_back(0x2C);
  PutWord(out, 0);
  PutWord(out, 0);
  PutWord(out, width);
  PutWord(out, height);
  out.push_back(0);  // no local table, not interlaced
  out.push_back(kMinCodeSize);
  EncodeLzw8(pixels, out);
  out.push_back(0);     // block terminator
  out.push_back(0x3B);  // trailer
  return out;
}

}  // namespace ventalune::gif
