#pragma once
// The dialog's portable drawing rules: how a chosen picture fits the 80 × 80
// preview, and where copies of the background tile go.
#include <cstdint>
#include <functional>

namespace ventalune::dialog {

inline constexpr int32_t kPreviewSide = 80;

struct PreviewSize {
  int32_t width = 0, height = 0;
  bool operator==(const PreviewSize&) const = default;
};

// The longer side becomes 80 pixels (`side` on a screen of another
// resolution) and the other keeps the proportions, rounded to whole pixels
// with halves to the even neighbour; a square takes 80 × 80. Small pictures
// are enlarged. A picture without area gives 0 × 0.
PreviewSize FitPreview(int32_t pictureWidth, int32_t pictureHeight, int32_t side = kPreviewSide);

// Calls `place(x, y)` for each copy of a tile that paves a target, column by
// column from the top-left corner, each column from top to bottom. A column
// goes on while its last copy started at or above the target's height, and
// the columns while the last one started at or left of its width, so one
// more row and column start at or beyond the edges. A tile without area
// places nothing.
void ForEachTilePosition(int32_t tileWidth, int32_t tileHeight, int32_t targetWidth, int32_t targetHeight,
                         const std::function<void(int32_t x, int32_t y)>& place);

}  // namespace ventalune::dialog
