#include "saver/pictures/upright.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "saver/pictures/mirror.h"
#include "saver/pictures/picture_limits.h"

namespace ventalune::pictures {
namespace {

constexpr size_t kBytesPerPixel = 4;
// A quarter turn reads the stored picture down its columns. Writing the
// upright picture in tiles of this many pixels a side keeps the stored rows
// a tile reads in the cache until the tile is done, where a whole upright
// row at a time would fetch every stored row again for every column.
constexpr int32_t kTile = 64;

Orientation Known(Orientation orientation) {
  const int value = static_cast<int>(orientation);
  return value >= 1 && value <= 8 ? orientation : Orientation::kAsStored;
}

bool SwapsSides(Orientation orientation) {
  return orientation == Orientation::kTranspose || orientation == Orientation::kQuarterTurnClockwise ||
         orientation == Orientation::kTransverse || orientation == Orientation::kQuarterTurnCounterClockwise;
}

void MirrorTopBottom(std::vector<uint8_t>& pixels, int32_t width, int32_t height) {
  const size_t rowBytes = static_cast<size_t>(width) * kBytesPerPixel;
  for (int32_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
    const auto topRow = pixels.begin() + static_cast<ptrdiff_t>(static_cast<size_t>(top) * rowBytes);
    const auto bottomRow = pixels.begin() + static_cast<ptrdiff_t>(static_cast<size_t>(bottom) * rowBytes);
    std::swap_ranges(topRow, topRow + static_cast<ptrdiff_t>(rowBytes), bottomRow);
  }
}

// Where the stored pixel of upright (0, 0) is, and how far a step right and
// a step down in the upright picture move in the stored one, in pixels.
struct Walk {
  int64_t start = 0;
  int64_t right = 0;
  int64_t down = 0;
};

Walk QuarterWalk(Orientation orientation, int64_t width, int64_t height) {
  switch (orientation) {
    case Orientation::kTranspose:  // the stored left column becomes the top row
      return {0, width, 1};
    case Orientation::kQuarterTurnClockwise:  // the stored bottom-left corner goes to the top left
      return {(height - 1) * width, -width, 1};
    case Orientation::kTransverse:  // the stored bottom-right corner goes to the top left
      return {width * height - 1, -width, -1};
    default:  // a quarter turn counter-clockwise: the stored top-right corner goes to the top left
      return {width - 1, width, -1};
  }
}

std::vector<uint8_t> TurnQuarter(const std::vector<uint8_t>& stored, int32_t width, int32_t height,
                                 Orientation orientation) {
  const int32_t uprightWidth = height, uprightHeight = width;
  const Walk walk = QuarterWalk(orientation, width, height);
  std::vector<uint8_t> upright(stored.size());
  for (int32_t tileTop = 0; tileTop < uprightHeight; tileTop += kTile) {
    const int32_t tileBottom = tileTop + std::min(kTile, uprightHeight - tileTop);
    for (int32_t tileLeft = 0; tileLeft < uprightWidth; tileLeft += kTile) {
      const int32_t tileRight = tileLeft + std::min(kTile, uprightWidth - tileLeft);
      for (int32_t y = tileTop; y < tileBottom; ++y) {
        int64_t from = walk.start + y * walk.down + tileLeft * walk.right;
        uint8_t* to = upright.data() +
                      (static_cast<size_t>(y) * static_cast<size_t>(uprightWidth) + static_cast<size_t>(tileLeft)) *
                          kBytesPerPixel;
        for (int32_t x = tileLeft; x < tileRight; ++x, from += walk.right, to += kBytesPerPixel)
          std::memcpy(to, stored.data() + static_cast<size_t>(from) * kBytesPerPixel, kBytesPerPixel);
      }
    }
  }
  return upright;
}

}  // namespace

UprightSize UprightPictureSize(int32_t width, int32_t height, Orientation orientation) {
  return SwapsSides(Known(orientation)) ? UprightSize{height, width} : UprightSize{width, height};
}

std::optional<PicturePixels> TurnUpright(int32_t width, int32_t height, std::vector<uint8_t> pixels,
                                          Orientation orientation) {
  if (width <= 0 || height <= 0) return std::nullopt;
  // Each side below 2^31, so the product fits 64 bits; the ceiling keeps
  // every index below it within size_t and int64_t.
  const uint64_t count = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  if (count > kMaxHeldPixels || pixels.size() != count * kBytesPerPixel) return std::nullopt;
  switch (Known(orientation)) {
    case Orientation::kAsStored:
      break;
    case Orientation::kMirrorLeftRight:
      MirrorLeftRight(pixels, width, height);
      break;
    case Orientation::kHalfTurn:
      MirrorLeftRight(pixels, width, height);
      MirrorTopBottom(pixels, width, height);
      break;
    case Orientation::kMirrorTopBottom:
      MirrorTopBottom(pixels, width, height);
      break;
    default:
      return PicturePixels{height, width, TurnQuarter(pixels, width, height, orientation)};
  }
  return PicturePixels{width, height, std::move(pixels)};
}

}  // namespace ventalune::pictures
