#include "tools/preview_still/ppm_image.h"

#include <cstddef>
#include <string>

namespace ventalune::preview {
namespace {

bool IsSpace(uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Walks the header: skips whitespace and '#' comments, reads one decimal
// field. Stops at the first byte that does not fit.
class HeaderReader {
 public:
  explicit HeaderReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  std::optional<int64_t> Number() {
    SkipSpaceAndComments();
    int64_t value = 0;
    size_t digits = 0;
    while (pos_ < bytes_.size() && bytes_[pos_] >= '0' && bytes_[pos_] <= '9') {
      // Anything with more digits than the ceiling needs is refused later
      // anyway; stopping here keeps the value from overflowing.
      if (++digits > 9) return std::nullopt;
      value = value * 10 + (bytes_[pos_++] - '0');
    }
    if (digits == 0) return std::nullopt;
    return value;
  }

  // The single whitespace byte that ends the header.
  bool EndOfHeader() {
    if (pos_ >= bytes_.size() || !IsSpace(bytes_[pos_])) return false;
    ++pos_;
    return true;
  }

  size_t Position() const { return pos_; }

 private:
  void SkipSpaceAndComments() {
    while (pos_ < bytes_.size()) {
      if (IsSpace(bytes_[pos_])) {
        ++pos_;
      } else if (bytes_[pos_] == '#') {
        while (pos_ < bytes_.size() && bytes_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
};

}  // namespace

std::optional<RgbImage> ParsePpm(std::span<const uint8_t> bytes) {
  if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '6') return std::nullopt;
  HeaderReader header(bytes.subspan(2));
  const auto width = header.Number();
  const auto height = header.Number();
  const auto maxValue = header.Number();
  if (!width || !height || !maxValue || !header.EndOfHeader()) return std::nullopt;
  if (*width < 1 || *height < 1 || *width > kLargestPpmSide || *height > kLargestPpmSide) return std::nullopt;
  if (*maxValue != 255) return std::nullopt;

  const size_t pixelBytes = static_cast<size_t>(*width) * static_cast<size_t>(*height) * 3;
  const size_t start = 2 + header.Position();
  if (bytes.size() - start < pixelBytes) return std::nullopt;
  RgbImage image;
  image.width = static_cast<int32_t>(*width);
  image.height = static_cast<int32_t>(*height);
  image.rgb.assign(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                   bytes.begin() + static_cast<std::ptrdiff_t>(start + pixelBytes));
  return image;
}

std::vector<uint8_t> PpmBytes(const RgbImage& image) {
  const std::string header =
      "P6\n" + std::to_string(image.width) + ' ' + std::to_string(image.height) + "\n255\n";
  std::vector<uint8_t> bytes(header.begin(), header.end());
  bytes.insert(bytes.end(), image.rgb.begin(), image.rgb.end());
  return bytes;
}

std::vector<uint8_t> DibPixels(const RgbImage& image) {
  const size_t width = static_cast<size_t>(image.width);
  const size_t height = static_cast<size_t>(image.height);
  std::vector<uint8_t> dib(width * height * 4);
  for (size_t row = 0; row < height; ++row) {
    const uint8_t* from = &image.rgb[row * width * 3];
    uint8_t* to = &dib[(height - 1 - row) * width * 4];
    for (size_t col = 0; col < width; ++col, from += 3, to += 4) {
      to[0] = from[2];
      to[1] = from[1];
      to[2] = from[0];
      to[3] = 0;
    }
  }
  return dib;
}

}  // namespace ventalune::preview
