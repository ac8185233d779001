#include "saver/pictures/picture_format.h"

#include <algorithm>
#include <array>

namespace ventalune::pictures {
namespace {

constexpr std::array<uint8_t, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr std::array<uint8_t, 3> kJpegStart{0xff, 0xd8, 0xff};
constexpr std::array<uint8_t, 2> kBitmapStart{'B', 'M'};

template <size_t N>
bool StartsWith(std::span<const uint8_t> bytes, const std::array<uint8_t, N>& start) {
  return bytes.size() >= N && std::equal(start.begin(), start.end(), bytes.begin());
}

}  // namespace

PictureFormat RecognizePictureFormat(std::span<const uint8_t> bytes) {
  if (StartsWith(bytes, kPngSignature)) return PictureFormat::kPng;
  if (StartsWith(bytes, kJpegStart)) return PictureFormat::kJpeg;
  if (StartsWith(bytes, kBitmapStart)) return PictureFormat::kBitmap;
  return PictureFormat::kOther;
}

}  // namespace ventalune::pictures
