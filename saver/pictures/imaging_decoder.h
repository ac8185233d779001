#pragma once
// Pictures decoded by the Windows Imaging Component: PNG, which only it
// reads everywhere, at any size within the ceilings; and large pictures our
// own JPEG decoder does not take, a few rows at a time averaged down (or by
// the component's own scaling where it has it), so the full-size pixels are
// never all held. Its reading of a header also tells the size of pictures
// our own header readers do not know, before the OLE loader decodes them.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "saver/pictures/picture_decoding.h"
#include "saver/pictures/picture_pixels.h"
#include "saver/pictures/picture_reduction.h"

namespace ventalune::pictures {

// The first frame of a picture the component reads, with COM held for as
// long as it is open. Opening reads the header only (the frame's size):
// no pixel is decoded before one of the decodes is asked for.
class ImagingPicture final : public ImagingFrame {
 public:
  // Nothing when the component does not read the bytes as a picture. The
  // bytes must outlive the picture.
  static std::unique_ptr<ImagingPicture> Open(std::span<const uint8_t> bytes);
  ~ImagingPicture() override;
  ImagingPicture(const ImagingPicture&) = delete;
  ImagingPicture& operator=(const ImagingPicture&) = delete;

  PictureSize size() const override;

  std::optional<PicturePixels> DecodeWhole(Transparency transparency) const override;
  // Nothing when the reduction does not fit the picture or the decode fails
  // part way.
  std::optional<PicturePixels> DecodeHalved(const Reduction& reduction, Transparency transparency) const override;

 private:
  struct Parts;
  explicit ImagingPicture(std::unique_ptr<Parts> parts);
  std::unique_ptr<Parts> parts_;
};

}  // namespace ventalune::pictures
