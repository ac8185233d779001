#pragma once
// A JPEG decoded straight to a half, a quarter or an eighth of its size, as
// a camera photo is kept: the transform of each block gives only the
// reduced samples, colour is converted only for the output pixels, and the
// full-size picture is never held. Decoders that can only decode at full
// size take many times as long for such a picture.
//
// Takes what cameras and most programs write: sequential Huffman-coded
// frames (baseline and extended) of 8-bit samples, grey or three components
// (YCbCr, or RGB as Adobe's marker or the components' names say), sampling
// factors 1 or 2, restart intervals. Anything else (progressive, lossless,
// hierarchical, arithmetic coding, 12-bit samples, CMYK, a picture coded in
// several scans) is refused, as is a damaged file; the caller then uses
// another decoder.
#include <cstdint>
#include <optional>
#include <span>
#include "saver/pictures/picture_pixels.h"

namespace ventalune::pictures {

// The picture can be reduced at most to 1/2^kMaxJpegShift of its size.
inline constexpr int kMaxJpegShift = 3;

// The picture at 1/2^shift of its size (shift 0..kMaxJpegShift), each side
// rounded up: ceil(width / 2^shift) × ceil(height / 2^shift). Each pixel is
// close to the average of the 2^shift × 2^shift pixels it stands for.
// The unused byte is 0. Nothing for a file this decoder does not take, a
// damaged one (its coded data ending before the last block among others), a
// shift out of range, a picture over kMaxDecodedPixels, or an output over
// kMaxHeldPixels (refused before anything is allocated).
std::optional<PicturePixels> DecodeJpegReduced(std::span<const uint8_t> bytes, int shift);

}  // namespace ventalune::pictures
