#include "saver/controls/button/button_face.h"

#include "saver/toolkit/twips.h"

namespace ventalune::button {
namespace {

constexpr int32_t kCaptionRaiseTwips = 20;

}  // namespace

std::vector<BorderPiece> BorderPieces(int32_t width, int32_t height) {
  constexpr int32_t b = kSkinBorder;
  constexpr int32_t middleWidth = kSkinWidth - 2 * b;
  constexpr int32_t middleHeight = kSkinHeight - 2 * b;
  constexpr int32_t right = kSkinWidth - b;
  constexpr int32_t bottom = kSkinHeight - b;
  // Widened so a face of any size gives sound coordinates.
  const int64_t w = width;
  const int64_t h = height;
  const auto at = [](int64_t x, int64_t y, int64_t pw, int64_t ph) {
    return PixelRect{static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(pw),
                     static_cast<int32_t>(ph)};
  };
  const std::array<BorderPiece, 8> all{{
      {at(0, 0, b, b), {0, 0, b, b}},                           // top-left corner
      {at(b, 0, w - 2 * b, b), {b, 0, middleWidth, b}},         // top edge
      {at(w - b, 0, b, b), {right, 0, b, b}},                   // top-right corner
      {at(w - b, b, b, h - 2 * b), {right, b, b, middleHeight}},  // right edge
      {at(w - b, h - b, b, b), {right, bottom, b, b}},          // bottom-right corner
      {at(b, h - b, w - 2 * b, b), {b, bottom, middleWidth, b}},  // bottom edge
      {at(0, h - b, b, b), {0, bottom, b, b}},                  // bottom-left corner
      {at(0, b, b, h - 2 * b), {0, b, b, middleHeight}},        // left edge
  }};
  std::vector<BorderPiece> pieces;
  if (width <= 0 || height <= 0) return pieces;
  for (const BorderPiece& piece : all)
    if (piece.destination.width > 0 && piece.destination.height > 0) pieces.push_back(piece);
  return pieces;
}

FaceGradient FaceGradientFor(bool hotFace) {
  return hotFace ? FaceGradient{kFaceShade, kFaceLight} : FaceGradient{kFaceLight, kFaceShade};
}

int32_t CaptionTop(int32_t faceHeight, int32_t labelHeight, int32_t dpi) {
  const int64_t freeTwips =
      toolkit::PixelsToTwips(faceHeight, dpi) - toolkit::PixelsToTwips(labelHeight, dpi) - kCaptionRaiseTwips;
  return toolkit::TwipsToPixels(freeTwips / 2, dpi);
}

}  // namespace ventalune::button
