#include "saver/pictures/jpeg_markers.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "saver/pictures/jpeg_segments.h"
#include "saver/pictures/picture_limits.h"

namespace ventalune::pictures::jpeg {
namespace {

constexpr uint8_t kBaselineFrame = 0xc0;
constexpr uint8_t kExtendedFrame = 0xc1;
constexpr uint8_t kHuffmanTables = 0xc4;
constexpr uint8_t kStartOfScan = 0xda;
constexpr uint8_t kQuantTables = 0xdb;
constexpr uint8_t kRestartInterval = 0xdd;
constexpr uint8_t kJfif = 0xe0;
constexpr uint8_t kAdobe = 0xee;
constexpr uint8_t kComment = 0xfe;

uint32_t BigEndian16(std::span<const uint8_t> bytes, size_t at) { return (uint32_t{bytes[at]} << 8) | bytes[at + 1]; }

bool StartsWith(std::span<const uint8_t> segment, std::string_view text) {
  return segment.size() >= text.size() && std::equal(text.begin(), text.end(), segment.begin());
}

class HeaderReader {
 public:
  explicit HeaderReader(JpegHeader& header) : header_(header) {}

  bool Read(std::span<const uint8_t> bytes);

 private:
  struct FrameComponent {
    uint8_t id = 0;
    int horizontal = 1;
    int vertical = 1;
    uint8_t quant = 0;
  };

  bool ReadFrame(std::span<const uint8_t> segment);
  bool ReadHuffmanTables(std::span<const uint8_t> segment);
  bool ReadQuantTables(std::span<const uint8_t> segment);
  bool ReadScan(std::span<const uint8_t> segment);
  ColourSpace Colour() const;

  JpegHeader& header_;
  bool frameRead_ = false;
  int componentCount_ = 0;
  std::array<FrameComponent, 3> frame_{};
  std::array<bool, 4> quantDefined_{};
  bool jfif_ = false;
  int adobeTransform_ = -1;  // none seen
};

bool HeaderReader::Read(std::span<const uint8_t> bytes) {
  if (bytes.size() < 2 || bytes[0] != 0xff || bytes[1] != 0xd8) return false;
  JpegSegmentWalk walk(bytes);
  while (const std::optional<JpegSegment> next = walk.Next()) {
    // Markers without a segment have no place before the scan, nor does the end of the image.
    if (next->standsAlone) return false;
    const uint8_t marker = next->marker;
    const std::span<const uint8_t> segment = next->body;
    bool ok = true;
    if (marker == kBaselineFrame || marker == kExtendedFrame) {
      ok = !frameRead_ && ReadFrame(segment);
    } else if (marker == kHuffmanTables) {
      ok = ReadHuffmanTables(segment);
    } else if (marker == kQuantTables) {
      ok = ReadQuantTables(segment);
    } else if (marker == kRestartInterval) {
      ok = segment.size() == 2;
      if (ok) header_.restartInterval = static_cast<uint16_t>(BigEndian16(segment, 0));
    } else if (marker == kStartOfScan) {
      header_.scanStart = walk.offset();
      return ReadScan(segment);
    } else if (marker == kJfif) {
      jfif_ = jfif_ || StartsWith(segment, std::string_view("JFIF\0", 5));
    } else if (marker == kAdobe) {
      // "Adobe", version, two flag words, then the colour transform.
      if (StartsWith(segment, "Adobe") && segment.size() >= 12) adobeTransform_ = segment[11];
    } else if ((marker > kJfif && marker < kAdobe) || marker == 0xef || marker == kComment) {
      // Other application segments (EXIF with its thumbnail among them) and comments.
    } else {
      // Other frame kinds (progressive, lossless, hierarchical, arithmetic
      // coding), their tables, a height given after the scan, and the
      // reserved markers.
      ok = false;
    }
    if (!ok) return false;
  }
  return false;
}

bool HeaderReader::ReadFrame(std::span<const uint8_t> segment) {
  if (segment.size() < 6 || segment[0] != 8) return false;  // 8-bit samples only
  const uint32_t height = BigEndian16(segment, 1);
  const uint32_t width = BigEndian16(segment, 3);
  const int count = segment[5];
  // A height of 0 would be given after the scan.
  if (width == 0 || height == 0 || uint64_t{width} * height > kMaxDecodedPixels) return false;
  if ((count != 1 && count != 3) || segment.size() != 6 + 3 * static_cast<size_t>(count)) return false;
  for (int i = 0; i < count; ++i) {
    const size_t at = 6 + 3 * static_cast<size_t>(i);
    FrameComponent& component = frame_[static_cast<size_t>(i)];
    component.id = segment[at];
    component.horizontal = segment[at + 1] >> 4;
    component.vertical = segment[at + 1] & 15;
    component.quant = segment[at + 2];
    if (component.horizontal < 1 || component.horizontal > 2 || component.vertical < 1 || component.vertical > 2 ||
        component.quant > 3) {
      return false;
    }
    for (int j = 0; j < i; ++j)
      if (frame_[static_cast<size_t>(j)].id == component.id) return false;
  }
  // A lone component is coded block by block, whatever its factors say.
  if (count == 1) frame_[0].horizontal = frame_[0].vertical = 1;
  header_.width = static_cast<int32_t>(width);
  header_.height = static_cast<int32_t>(height);
  componentCount_ = count;
  frameRead_ = true;
  return true;
}

bool HeaderReader::ReadHuffmanTables(std::span<const uint8_t> segment) {
  size_t at = 0;
  while (at < segment.size()) {
    if (at + 17 > segment.size()) return false;
    const int kind = segment[at] >> 4;  // 0 DC, 1 AC
    const size_t slot = segment[at] & 15;
    if (kind > 1 || slot > 3) return false;
    const std::span<const uint8_t, 16> counts = segment.subspan(at + 1).first<16>();
    size_t total = 0;
    for (const uint8_t count : counts) total += count;
    at += 17;
    if (total > 256 || at + total > segment.size()) return false;
    HuffmanTable& table = kind == 0 ? header_.dcTables[slot] : header_.acTables[slot];
    if (!table.Build(counts, segment.subspan(at, total))) return false;
    at += total;
  }
  return true;
}

bool HeaderReader::ReadQuantTables(std::span<const uint8_t> segment) {
  size_t at = 0;
  while (at < segment.size()) {
    const int precision = segment[at] >> 4;  // 0: 8-bit values, 1: 16-bit
    const size_t slot = segment[at] & 15;
    if (precision > 1 || slot > 3) return false;
    ++at;
    const size_t bytes = precision == 0 ? 64 : 128;
    if (at + bytes > segment.size()) return false;
    for (size_t k = 0; k < 64; ++k) {
      const uint32_t value = precision == 0 ? segment[at + k] : BigEndian16(segment, at + 2 * k);
      header_.quantTables[slot][kNaturalOrder[k]] = static_cast<float>(value);
    }
    quantDefined_[slot] = true;
    at += bytes;
  }
  return true;
}

bool HeaderReader::ReadScan(std::span<const uint8_t> segment) {
  if (!frameRead_ || segment.empty()) return false;
  // Every component in this one scan: a picture coded in several scans
  // would need whole planes held until the last.
  const int count = segment[0];
  if (count != componentCount_ || segment.size() != 4 + 2 * static_cast<size_t>(count)) return false;
  std::array<bool, 3> used{};
  for (int i = 0; i < count; ++i) {
    const uint8_t id = segment[1 + 2 * static_cast<size_t>(i)];
    const uint8_t tables = segment[2 + 2 * static_cast<size_t>(i)];
    const size_t dc = tables >> 4;
    const size_t ac = tables & 15;
    int found = -1;
    for (int j = 0; j < componentCount_; ++j)
      if (frame_[static_cast<size_t>(j)].id == id && !used[static_cast<size_t>(j)]) found = j;
    if (found < 0 || dc > 3 || ac > 3) return false;
    used[static_cast<size_t>(found)] = true;
    const FrameComponent& source = frame_[static_cast<size_t>(found)];
    if (!header_.dcTables[dc].defined() || !header_.acTables[ac].defined() || !quantDefined_[source.quant]) return false;
    Component& component = header_.components[static_cast<size_t>(i)];
    component.id = source.id;
    component.horizontal = source.horizontal;
    component.vertical = source.vertical;
    component.quant = &header_.quantTables[source.quant];
    component.dc = &header_.dcTables[dc];
    component.ac = &header_.acTables[ac];
  }
  // Sequential coding: all 64 coefficients at full precision in one go.
  const size_t rest = 1 + 2 * static_cast<size_t>(count);
  if (segment[rest] != 0 || segment[rest + 1] != 63 || segment[rest + 2] != 0) return false;
  header_.componentCount = count;
  header_.colour = Colour();
  return true;
}

ColourSpace HeaderReader::Colour() const {
  if (componentCount_ == 1) return ColourSpace::kGrey;
  // Adobe's marker says outright; without it, JFIF and cameras mean YCbCr,
  // and components named R, G and B mean what they say.
  if (adobeTransform_ >= 0) return adobeTransform_ == 0 ? ColourSpace::kRgb : ColourSpace::kYCbCr;
  if (!jfif_ && frame_[0].id == 'R' && frame_[1].id == 'G' && frame_[2].id == 'B') return ColourSpace::kRgb;
  return ColourSpace::kYCbCr;
}

}  // namespace

bool ReadJpegHeader(std::span<const uint8_t> bytes, JpegHeader& header) {
  header = JpegHeader{};
  return HeaderReader(header).Read(bytes);
}

}  // namespace ventalune::pictures::jpeg
