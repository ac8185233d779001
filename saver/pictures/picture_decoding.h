#pragma once
// Which decoder a picture's bytes reach, and whether any does: decided here
// before a single pixel is decoded. The route and the declared size come
// from our own header readers (picture_route); where they know no size, the
// imaging component reads the picture's header, and a picture whose size is
// over a ceiling (WithinDecodeCeilings), or cannot be told at all, reaches
// no decoder. The decoders are a port: picture_loading binds the platform's
// (the OLE loader, the imaging component) and our reduced JPEG decoder; a
// test gives its own and learns which of them a picture reached.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "saver/pictures/picture_header.h"
#include "saver/pictures/picture_pixels.h"
#include "saver/pictures/picture_reduction.h"

namespace ventalune::pictures {

enum class PictureUse {
  kPhoto,    // the user's picture: turned upright as its EXIF orientation says
  kArtwork,  // the program's own: drawn the way it is stored
};

// How a picture that may be transparent comes out: as if it were opaque
// (for the formats that are), or composited on black, the walls' own
// background, its alpha then 0.
enum class Transparency { kOpaque, kOnBlack };

// The first frame of a picture the imaging component has opened: its
// header read, no pixel decoded before one of the decodes is asked for.
class ImagingFrame {
 public:
  virtual ~ImagingFrame() = default;

  virtual PictureSize size() const = 0;
  // Every pixel at the picture's own size.
  virtual std::optional<PicturePixels> DecodeWhole(Transparency transparency) const = 0;
  // The picture halved `reduction.shift` times (see ReduceToFit), each
  // output pixel the average of the block it stands for.
  virtual std::optional<PicturePixels> DecodeHalved(const Reduction& reduction, Transparency transparency) const = 0;
};

class PictureDecoders {
 public:
  virtual ~PictureDecoders() = default;

  // The imaging component's first frame; nothing when it does not read the
  // bytes as a picture. The bytes outlive the frame.
  virtual std::unique_ptr<ImagingFrame> OpenImaging(std::span<const uint8_t> bytes) = 0;
  // The OLE loader: the whole picture, drawn at the screen's resolution.
  virtual std::optional<PicturePixels> DecodeOle(std::span<const uint8_t> bytes) = 0;
  // Our own decoder of sequential JPEGs (see DecodeJpegReduced).
  virtual std::optional<PicturePixels> DecodeJpeg(std::span<const uint8_t> bytes, int shift) = 0;
};

// The picture in the bytes as LoadPicture gives it (see picture_loading.h),
// through `decoders`; nothing, before any decoder is asked, for a picture
// the route refuses, one over a ceiling, or one whose size neither our
// header readers nor the imaging component can tell.
std::optional<PicturePixels> DecodePicture(std::span<const uint8_t> bytes, PictureUse use,
                                           PictureDecoders& decoders);

}  // namespace ventalune::pictures
