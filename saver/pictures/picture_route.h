#pragma once
// Which way a picture's bytes go to be decoded, decided before any pixel is:
// the format by its first bytes, the size where the header declares one
// (held against the ceilings), and whether a bitmap's pixel data is all
// there.
//
// Windows' OLE picture loader reads bitmaps, JPEGs, GIFs, icons and
// metafiles, but not PNG on every Windows (some builds refuse it); PNGs go
// to the Windows Imaging Component, which reads them everywhere, with their
// transparency, 16-bit channels, palettes and interlacing. Pictures whose
// header declares more than kLongestSideKept on a side are decoded reduced.
#include <cstdint>
#include <optional>
#include <span>

#include "saver/pictures/picture_format.h"
#include "saver/pictures/picture_header.h"

namespace ventalune::pictures {

enum class PictureRoute : uint8_t {
  kRefused,     // no bytes, a bitmap cut short, or a size declared over a
                // ceiling (WithinDecodeCeilings): no decoder sees them
  kImaging,     // PNG: the imaging component, at its own size or reduced
  kReduced,     // declared larger than kept: our JPEG decoder or the imaging
                // component reduces it; one that neither takes goes as kOlePicture
  kOlePicture,  // the rest, unknown bytes among them: the OLE loader judges
                // them, once their size is known (see picture_decoding.h)
};

struct PicturePlan {
  PictureFormat format = PictureFormat::kOther;
  PictureRoute route = PictureRoute::kRefused;
  std::optional<PictureSize> declared;  // what the header says (see DeclaredPictureSize)
};

PicturePlan PlanPicture(std::span<const uint8_t> bytes);

}  // namespace ventalune::pictures
