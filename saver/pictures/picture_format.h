#pragma once
// A picture file's format, told by its first bytes, never by its name: a
// photo renamed by hand, or saved by a program that picks the wrong
// extension, still reaches the decoder that reads it.
#include <cstdint>
#include <span>

namespace ventalune::pictures {

enum class PictureFormat : uint8_t {
  kBitmap,  // "BM"
  kJpeg,    // FF D8 FF: the start-of-image marker and the next marker's lead byte
  kPng,     // the eight-byte PNG signature
  kOther,   // GIF, icon, metafile, or no picture at all
};

PictureFormat RecognizePictureFormat(std::span<const uint8_t> bytes);

}  // namespace ventalune::pictures
