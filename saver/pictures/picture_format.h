#pragma once
// Which decoder a picture file goes to, told by its first bytes, never by
// its name: a photo renamed by hand, or saved by a program that picks the
// wrong extension, still reaches the decoder that reads it.
//
// Windows' OLE picture loader reads bitmaps, JPEGs, GIFs, icons and
// metafiles, but not PNG on every Windows (some builds refuse it); PNGs go
// to the Windows Imaging Component, which reads them everywhere, with
// their transparency, 16-bit channels, palettes and interlacing.
#include <cstdint>
#include <span>

namespace ventalune::pictures {

enum class PictureFormat : uint8_t {
  kBitmap,  // "BM"
  kJpeg,    // FF D8 FF: the start-of-image marker and the next marker's lead byte
  kPng,     // the eight-byte PNG signature
  kOther,   // GIF, icon, metafile, or no picture at all
};

enum class PictureLoader : uint8_t {
  kOlePicture,  // OleLoadPicture: every format the saver has always read
  kImaging,     // the Windows Imaging Component
};

PictureFormat RecognizePictureFormat(std::span<const uint8_t> bytes);

// The loader for a picture's bytes: PNG to the imaging component, all the
// rest, unknown bytes among them, to the OLE loader, which judges them as
// it always has.
PictureLoader ChoosePictureLoader(std::span<const uint8_t> bytes);

}  // namespace ventalune::pictures
