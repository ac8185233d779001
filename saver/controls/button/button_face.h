#pragma once
// Where the button's face is drawn, in pixels: the eight border pieces cut
// from a 64 × 25 skin, the two gradient colours and the caption's line.
#include <array>
#include <cstdint>
#include <vector>

namespace ventalune::button {

inline constexpr int32_t kSkinWidth = 64;
inline constexpr int32_t kSkinHeight = 25;
// The frame of every skin: four pixels (60 twips at 96 dpi) on each side.
inline constexpr int32_t kSkinBorder = 4;

struct PixelRect {
  int32_t x = 0, y = 0, width = 0, height = 0;
  bool operator==(const PixelRect&) const = default;
};

struct BorderPiece {
  PixelRect destination;
  PixelRect source;
};

// The pieces of a skin that frame a face of width × height pixels: corners
// at their own size, edges stretched along the face. The skin's middle is
// never used; the gradient shows through. Pieces that would have no area on
// a face too small for them are left out.
std::vector<BorderPiece> BorderPieces(int32_t width, int32_t height);

// A gradient colour as the platform's gradient vertex takes it: each
// component is the colour byte times 256.
struct GradientColour {
  uint16_t red = 0, green = 0, blue = 0;
  bool operator==(const GradientColour&) const = default;
};
inline constexpr GradientColour kFaceLight{0xFF00, 0xFF00, 0xFF00};  // &HFFFFFF
inline constexpr GradientColour kFaceShade{0xC600, 0xC500, 0xD700};  // &HC6C5D7

// Top and bottom colour of the face: white above lavender, the hot face the
// other way round.
struct FaceGradient {
  GradientColour top, bottom;
};
FaceGradient FaceGradientFor(bool hotFace);

// The caption's top edge: the label sits 20 twips above the face's vertical
// middle. Heights in pixels, `dpi` the screen's vertical resolution.
int32_t CaptionTop(int32_t faceHeight, int32_t labelHeight, int32_t dpi);

}  // namespace ventalune::button
