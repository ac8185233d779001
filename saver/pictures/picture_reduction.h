#pragma once
// Large pictures are reduced before they are kept: the scene's walls never
// show more than one texture of the graphics card's size, and a camera photo
// at full size costs a second of start-up and a bitmap file of tens of
// megabytes. The reduction first halves the picture (rounding up) until its
// longer side fits, which is the scale a JPEG decoder can reach on its own
// (the averaging here does the same for decoders that cannot), then
// resamples it by area to its final size.
#include <cstdint>
#include <span>
#include <vector>

#include "saver/pictures/picture_limits.h"

namespace ventalune::pictures {

struct Reduction {
  int32_t width = 0;
  int32_t height = 0;
  // The number of halvings: each output pixel stands for a block of
  // 2^shift × 2^shift picture pixels. 0 keeps the picture unchanged.
  int shift = 0;
  bool operator==(const Reduction&) const = default;
};

// The picture halved, rounding up, until its longer side is at most
// `longestSide` (which lands it above half of that). Sizes that are not
// positive, and a `longestSide` below 1, give the size unchanged.
Reduction ReduceToFit(int32_t width, int32_t height, int32_t longestSide = kLongestSideKept);

struct ReducedSize {
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const ReducedSize&) const = default;
};

// The size a picture over kLongestSideKept is kept at: its longer side
// kReducedLongestSide, the shorter in proportion (rounded, at least one
// pixel). Other sizes are kept as they are.
ReducedSize ReducedPictureSize(int32_t width, int32_t height);

// Averages blocks of 2^shift × 2^shift pixels of a picture fed a few rows at
// a time, so the full-size picture is never held whole. Source pixels are
// three bytes (blue, green, red) or four (and one unused), rows packed
// without padding, top row first; target pixels are four bytes. The blocks
// at the right and bottom edges average only the pixels they cover.
class BlockAverager {
 public:
  // `target` receives the reduced picture: reduction.width × height pixels.
  BlockAverager(int32_t sourceWidth, int32_t sourceHeight, int sourceBytesPerPixel, const Reduction& reduction,
                std::span<uint8_t> target);

  // The next whole rows of the picture (a multiple of sourceWidth × bytes a pixel).
  // False, and nothing taken, when the rows do not fit the picture or the
  // sizes given at construction do not match.
  bool AddRows(std::span<const uint8_t> rows);
  // True once every row of the picture has been added.
  bool complete() const { return valid_ && nextRow_ == sourceHeight_; }

 private:
  void FinishTargetRow();

  int32_t sourceWidth_;
  int32_t sourceHeight_;
  int sourceBytesPerPixel_;
  Reduction reduction_;
  std::span<uint8_t> target_;
  bool valid_ = false;
  int32_t nextRow_ = 0;
  int32_t rowsInBlock_ = 0;
  std::vector<uint64_t> sums_;  // blue, green, red per target column
};

}  // namespace ventalune::pictures
