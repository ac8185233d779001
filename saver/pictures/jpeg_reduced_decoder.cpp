#include "saver/pictures/jpeg_reduced_decoder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "saver/pictures/jpeg_entropy.h"
#include "saver/pictures/jpeg_markers.h"
#include "saver/pictures/jpeg_reduced_idct.h"
#include "saver/pictures/picture_limits.h"

namespace ventalune::pictures {
namespace {

using jpeg::ColourSpace;
using jpeg::JpegHeader;

constexpr size_t kBytesPerPixel = 4;

int32_t ReducedSide(int32_t side, int shift) { return static_cast<int32_t>((int64_t{side} + (1 << shift) - 1) >> shift); }

// YCbCr to RGB as JFIF defines it, in 16-bit fixed point, a table per term.
struct ColourTables {
  ColourTables() {
    for (int i = 0; i < 256; ++i) {
      const double chroma = i - 128;
      redFromCr[i] = static_cast<int32_t>(std::lround(1.402 * chroma));
      blueFromCb[i] = static_cast<int32_t>(std::lround(1.772 * chroma));
      greenFromCb[i] = static_cast<int32_t>(std::lround(-0.344136 * 65536.0 * chroma));
      greenFromCr[i] = static_cast<int32_t>(std::lround(-0.714136 * 65536.0 * chroma)) + 32768;
    }
  }
  std::array<int32_t, 256> redFromCr{}, blueFromCb{}, greenFromCb{}, greenFromCr{};
};

uint8_t Clamped(int32_t value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

// Decodes the scan one row of units at a time into reduced samples per
// component, and turns each such row into output pixels before the next.
class ScanDecoder {
 public:
  ScanDecoder(const JpegHeader& header, int shift) : header_(header), shift_(shift) {}

  std::optional<PicturePixels> Decode(std::span<const uint8_t> bytes);

 private:
  struct Plane {
    // A component with half the picture's resolution in a direction is
    // reduced one step less in it, so its samples land at the output's size;
    // only at full size are they repeated.
    jpeg::ReducedIdct idct{0, 0};
    std::array<uint8_t, 64> kept{};
    std::vector<uint8_t> samples;  // one row of units, reduced
    size_t stride = 0;
    int columnShift = 0;  // 1 where each sample stands for two output columns
    int rowShift = 0;     // 1 where it stands for two output rows
    int32_t predictor = 0;
  };

  bool DecodeUnit(jpeg::EntropyReader& reader, int32_t unitColumn);
  void OutputRows(int32_t unitRow, PicturePixels& picture) const;

  const JpegHeader& header_;
  int shift_;
  int maxHorizontal_ = 1;
  int maxVertical_ = 1;
  std::array<Plane, 3> planes_{};
  alignas(16) std::array<float, 64> block_{};
  ColourTables colour_;
};

std::optional<PicturePixels> ScanDecoder::Decode(std::span<const uint8_t> bytes) {
  const int count = header_.componentCount;
  for (int i = 0; i < count; ++i) {
    maxHorizontal_ = std::max(maxHorizontal_, header_.components[static_cast<size_t>(i)].horizontal);
    maxVertical_ = std::max(maxVertical_, header_.components[static_cast<size_t>(i)].vertical);
  }
  const int32_t unitColumns = (header_.width + 8 * maxHorizontal_ - 1) / (8 * maxHorizontal_);
  const int32_t unitRows = (header_.height + 8 * maxVertical_ - 1) / (8 * maxVertical_);
  uint64_t blocksPerUnit = 0;
  for (int i = 0; i < count; ++i) {
    const jpeg::Component& component = header_.components[static_cast<size_t>(i)];
    blocksPerUnit += static_cast<uint64_t>(component.horizontal * component.vertical);
  }
  // Every block takes at least two bits (its DC and end-of-block codes): a
  // file too short for its declared size is refused before its pixels are allocated.
  const uint64_t blocks = uint64_t(unitColumns) * uint64_t(unitRows) * blocksPerUnit;
  if (blocks > 4 * uint64_t(bytes.size() - header_.scanStart)) return std::nullopt;

  for (int i = 0; i < count; ++i) {
    const jpeg::Component& component = header_.components[static_cast<size_t>(i)];
    Plane& plane = planes_[static_cast<size_t>(i)];
    const bool halfColumns = component.horizontal < maxHorizontal_;
    const bool halfRows = component.vertical < maxVertical_;
    plane.idct = jpeg::ReducedIdct(std::max(shift_ - halfColumns, 0), std::max(shift_ - halfRows, 0));
    plane.kept = plane.idct.KeptCoefficients();
    plane.columnShift = halfColumns && shift_ == 0 ? 1 : 0;
    plane.rowShift = halfRows && shift_ == 0 ? 1 : 0;
    plane.stride = static_cast<size_t>(unitColumns) * static_cast<size_t>(component.horizontal * plane.idct.columns());
    plane.samples.assign(plane.stride * static_cast<size_t>(component.vertical * plane.idct.rows()), 0);
  }

  PicturePixels picture;
  picture.width = ReducedSide(header_.width, shift_);
  picture.height = ReducedSide(header_.height, shift_);
  picture.pixels.assign(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * kBytesPerPixel, 0);

  jpeg::EntropyReader reader(bytes, header_.scanStart);
  const uint32_t interval = header_.restartInterval;
  uint32_t unitsLeft = interval;
  int restart = 0;
  for (int32_t row = 0; row < unitRows; ++row) {
    for (int32_t column = 0; column < unitColumns; ++column) {
      if (interval != 0) {
        if (unitsLeft == 0) {
          if (!reader.Restart(restart)) return std::nullopt;
          restart = (restart + 1) & 7;
          unitsLeft = interval;
          for (Plane& plane : planes_) plane.predictor = 0;
        }
        --unitsLeft;
      }
      if (!DecodeUnit(reader, column) || reader.overrun()) return std::nullopt;
    }
    OutputRows(row, picture);
  }
  return picture;
}

bool ScanDecoder::DecodeUnit(jpeg::EntropyReader& reader, int32_t unitColumn) {
  for (int i = 0; i < header_.componentCount; ++i) {
    const jpeg::Component& component = header_.components[static_cast<size_t>(i)];
    Plane& plane = planes_[static_cast<size_t>(i)];
    jpeg::BlockTarget target{component.quant->data(), plane.kept.data(), block_.data()};
    const int columns = plane.idct.columns();
    const int rows = plane.idct.rows();
    for (int y = 0; y < component.vertical; ++y) {
      for (int x = 0; x < component.horizontal; ++x) {
        if (!reader.DecodeBlock(*component.dc, *component.ac, plane.predictor, target)) return false;
        const size_t sampleColumn = (static_cast<size_t>(unitColumn) * static_cast<size_t>(component.horizontal) +
                                     static_cast<size_t>(x)) * static_cast<size_t>(columns);
        uint8_t* out = plane.samples.data() + static_cast<size_t>(y * rows) * plane.stride + sampleColumn;
        plane.idct.Transform(block_.data(), target.rowMask, out, static_cast<ptrdiff_t>(plane.stride));
        // Leave the block empty for the next one: only kept rows were written.
        block_[0] = 0.0f;
        for (int r = 0; r < rows; ++r)
          if ((target.rowMask >> r) & 1) std::fill_n(block_.data() + r * 8, columns, 0.0f);
      }
    }
  }
  return true;
}

void ScanDecoder::OutputRows(int32_t unitRow, PicturePixels& picture) const {
  const int n = 8 >> shift_;
  const int32_t firstRow = unitRow * maxVertical_ * n;
  const int32_t rows = std::min(maxVertical_ * n, picture.height - firstRow);
  const auto width = static_cast<size_t>(picture.width);
  for (int32_t r = 0; r < rows; ++r) {
    std::array<const uint8_t*, 3> source{};
    for (int i = 0; i < header_.componentCount; ++i) {
      const Plane& plane = planes_[static_cast<size_t>(i)];
      source[static_cast<size_t>(i)] = plane.samples.data() + static_cast<size_t>(r >> plane.rowShift) * plane.stride;
    }
    uint8_t* out = picture.pixels.data() + static_cast<size_t>(firstRow + r) * width * kBytesPerPixel;
    if (header_.colour == ColourSpace::kGrey) {
      for (size_t x = 0; x < width; ++x, out += kBytesPerPixel) out[0] = out[1] = out[2] = source[0][x];
      continue;
    }
    const int s0 = planes_[0].columnShift, s1 = planes_[1].columnShift, s2 = planes_[2].columnShift;
    if (header_.colour == ColourSpace::kRgb) {
      for (size_t x = 0; x < width; ++x, out += kBytesPerPixel) {
        out[0] = source[2][x >> s2];
        out[1] = source[1][x >> s1];
        out[2] = source[0][x >> s0];
      }
      continue;
    }
    for (size_t x = 0; x < width; ++x, out += kBytesPerPixel) {
      const int32_t luma = source[0][x >> s0];
      const uint8_t cb = source[1][x >> s1];
      const uint8_t cr = source[2][x >> s2];
      out[0] = Clamped(luma + colour_.blueFromCb[cb]);
      out[1] = Clamped(luma + ((colour_.greenFromCb[cb] + colour_.greenFromCr[cr]) >> 16));
      out[2] = Clamped(luma + colour_.redFromCr[cr]);
    }
  }
}

}  // namespace

std::optional<PicturePixels> DecodeJpegReduced(std::span<const uint8_t> bytes, int shift) {
  if (shift < 0 || shift > kMaxJpegShift) return std::nullopt;
  // The header's tables are large and the decoder's planes grow with the picture: neither lives on the stack.
  auto header = std::make_unique<JpegHeader>();
  if (!jpeg::ReadJpegHeader(bytes, *header)) return std::nullopt;
  const uint64_t pixels = static_cast<uint64_t>(ReducedSide(header->width, shift)) *
                          static_cast<uint64_t>(ReducedSide(header->height, shift));
  if (pixels > kMaxHeldPixels) return std::nullopt;
  return std::make_unique<ScanDecoder>(*header, shift)->Decode(bytes);
}

}  // namespace ventalune::pictures
