#include "saver/pictures/large_picture_decoder.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "saver/pictures/area_resample.h"
#include "saver/pictures/jpeg_reduced_decoder.h"
#include "saver/pictures/picture_header.h"
#include "saver/pictures/picture_reduction.h"
#include "saver/pictures/upright.h"

// The decoder's own scaling interface, as Windows documents it; the
// MinGW-w64 headers lack it.
MIDL_INTERFACE("3B16811B-6A43-4ec9-B713-3D5A0C13B940")
IWICBitmapSourceTransform : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                               WICPixelFormatGUID* format, WICBitmapTransformOptions transform,
                                               UINT stride, UINT bufferSize, BYTE* buffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
  virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL* supported) = 0;
};
__CRT_UUID_DECL(IWICBitmapSourceTransform, 0x3b16811b, 0x6a43, 0x4ec9, 0xb7, 0x13, 0x3d, 0x5a, 0x0c, 0x13, 0xb9, 0x40)

namespace ventalune::pictures {
namespace {

// Decoding past this many pixels would take longer than anyone waits for a
// screen saver; such a picture (or a file claiming such a size) is refused.
constexpr uint64_t kMaxDecodedPixels = uint64_t{1} << 28;
// Rows are fetched in strips of about this many bytes.
constexpr uint64_t kStripBytes = uint64_t{4} << 20;

struct Releaser {
  void operator()(IUnknown* object) const { object->Release(); }
};
template <class T>
using ComPtr = std::unique_ptr<T, Releaser>;

template <class T>
ComPtr<T> QueryAs(IUnknown* object) {
  T* result = nullptr;
  if (FAILED(object->QueryInterface(__uuidof(T), reinterpret_cast<void**>(&result)))) return nullptr;
  return ComPtr<T>(result);
}

// COM for the duration of one decode, on whatever terms this thread has it.
class ComScope {
 public:
  ComScope() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (initialized_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool initialized_;
};

bool SameFormat(const WICPixelFormatGUID& a, const WICPixelFormatGUID& b) { return IsEqualGUID(a, b) != FALSE; }

// The first frame of a picture opened by the imaging component, with COM
// held for as long as the frame is in use.
class ImagingFrame {
 public:
  explicit ImagingFrame(std::span<const uint8_t> bytes) {
    IWICImagingFactory* rawFactory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&rawFactory)))) {
      return;
    }
    factory_.reset(rawFactory);
    IWICStream* rawStream = nullptr;
    if (FAILED(factory_->CreateStream(&rawStream))) return;
    stream_.reset(rawStream);
    // The stream only reads the bytes, which outlive this object.
    if (FAILED(stream_->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())))) {
      return;
    }
    IWICBitmapDecoder* rawDecoder = nullptr;
    if (FAILED(factory_->CreateDecoderFromStream(stream_.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                 &rawDecoder))) {
      return;
    }
    decoder_.reset(rawDecoder);
    IWICBitmapFrameDecode* rawFrame = nullptr;
    if (FAILED(decoder_->GetFrame(0, &rawFrame))) return;
    frame_.reset(rawFrame);
    if (FAILED(frame_->GetSize(&width_, &height_)) || width_ == 0 || height_ == 0) frame_.reset();
  }
  ImagingFrame(const ImagingFrame&) = delete;
  ImagingFrame& operator=(const ImagingFrame&) = delete;

  bool opened() const { return frame_ != nullptr; }
  IWICImagingFactory* factory() const { return factory_.get(); }
  IWICBitmapFrameDecode* frame() const { return frame_.get(); }
  UINT width() const { return width_; }
  UINT height() const { return height_; }

 private:
  ComScope com_;  // first made, last gone
  ComPtr<IWICImagingFactory> factory_;
  ComPtr<IWICStream> stream_;
  ComPtr<IWICBitmapDecoder> decoder_;
  ComPtr<IWICBitmapFrameDecode> frame_;
  UINT width_ = 0;
  UINT height_ = 0;
};

// What the pixels are converted to when the frame's own layout is not the
// one taken as it is. Pictures that may be transparent are taken
// premultiplied: their colour channels are then the picture composited on
// black, the walls' own background, and averaging them averages that.
struct Conversion {
  WICPixelFormatGUID format;
  bool premultiplied;
};
const Conversion kOpaque{GUID_WICPixelFormat32bppBGR, false};
const Conversion kOnBlack{GUID_WICPixelFormat32bppPBGRA, true};

LargePicture Undecodable() {
  LargePicture result;
  result.outcome = LargePicture::Outcome::kUndecodable;
  return result;
}

// The decoder scales while it decodes: only when it reaches exactly the
// reduced size, in a pixel layout we can take (straight alpha only where
// the alpha is not wanted).
bool DecodeByTransform(IWICBitmapFrameDecode* frame, const Reduction& reduction, const Conversion& conversion,
                       std::vector<uint8_t>& pixels) {
  ComPtr<IWICBitmapSourceTransform> transform = QueryAs<IWICBitmapSourceTransform>(frame);
  if (!transform) return false;
  UINT width = static_cast<UINT>(reduction.width);
  UINT height = static_cast<UINT>(reduction.height);
  if (FAILED(transform->GetClosestSize(&width, &height))) return false;
  if (width != static_cast<UINT>(reduction.width) || height != static_cast<UINT>(reduction.height)) return false;
  WICPixelFormatGUID format = conversion.format;
  if (FAILED(transform->GetClosestPixelFormat(&format))) return false;
  const size_t count = static_cast<size_t>(width) * height;
  if (SameFormat(format, GUID_WICPixelFormat32bppBGR) || SameFormat(format, conversion.format) ||
      (!conversion.premultiplied && SameFormat(format, GUID_WICPixelFormat32bppBGRA))) {
    return SUCCEEDED(transform->CopyPixels(nullptr, width, height, &format, WICBitmapTransformRotate0, width * 4,
                                           static_cast<UINT>(pixels.size()), pixels.data()));
  }
  if (!SameFormat(format, GUID_WICPixelFormat24bppBGR)) return false;
  const UINT stride = (width * 3 + 3) & ~3u;
  std::vector<uint8_t> rows(static_cast<size_t>(stride) * height);
  if (FAILED(transform->CopyPixels(nullptr, width, height, &format, WICBitmapTransformRotate0, stride,
                                   static_cast<UINT>(rows.size()), rows.data()))) {
    return false;
  }
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* from = &rows[(i / width) * stride + (i % width) * 3];
    std::copy(from, from + 3, &pixels[i * 4]);
  }
  return true;
}

// The frame's pixels as four bytes each, or as they are when they already
// are three bytes of blue, green and red (a JPEG's own rows); nothing when
// the converter refuses the frame.
IWICBitmapSource* PixelSource(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame,
                              const Conversion& conversion, ComPtr<IWICFormatConverter>& converter,
                              int& bytesPerPixel) {
  WICPixelFormatGUID format{};
  bytesPerPixel = 3;
  if (SUCCEEDED(frame->GetPixelFormat(&format)) && SameFormat(format, GUID_WICPixelFormat24bppBGR)) return frame;
  IWICFormatConverter* rawConverter = nullptr;
  if (FAILED(factory->CreateFormatConverter(&rawConverter))) return nullptr;
  converter.reset(rawConverter);
  if (FAILED(converter->Initialize(frame, conversion.format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    return nullptr;
  }
  bytesPerPixel = 4;
  return converter.get();
}

// Full-size rows, a strip at a time, averaged down in blocks.
bool DecodeByBlocks(const ImagingFrame& picture, const Reduction& reduction, const Conversion& conversion,
                    std::vector<uint8_t>& pixels) {
  ComPtr<IWICFormatConverter> converter;
  int bytesPerPixel = 0;
  IWICBitmapSource* source = PixelSource(picture.factory(), picture.frame(), conversion, converter, bytesPerPixel);
  if (!source) return false;
  const UINT width = picture.width(), height = picture.height();
  const uint64_t rowBytes = uint64_t{width} * static_cast<uint64_t>(bytesPerPixel);
  const UINT stripRows = static_cast<UINT>(std::clamp<uint64_t>(kStripBytes / rowBytes, 1, height));
  std::vector<uint8_t> strip(static_cast<size_t>(rowBytes * stripRows));
  BlockAverager averager(static_cast<int32_t>(width), static_cast<int32_t>(height), bytesPerPixel, reduction, pixels);
  for (UINT row = 0; row < height; row += stripRows) {
    const UINT rows = std::min(stripRows, height - row);
    const WICRect rect{0, static_cast<INT>(row), static_cast<INT>(width), static_cast<INT>(rows)};
    const UINT bytes = static_cast<UINT>(rowBytes * rows);
    if (FAILED(source->CopyPixels(&rect, static_cast<UINT>(rowBytes), bytes, strip.data()))) return false;
    if (!averager.AddRows(std::span(strip).first(bytes))) return false;
  }
  return averager.complete();
}

// A picture halved while it was decoded, resampled to the size its upright
// picture is kept at and turned upright. The size is decided on the
// upright picture, as the user sees it, and resampled to on the stored one
// with the same sides swapped back, so that no pixel is moved twice.
LargePicture Reduced(std::vector<uint8_t> halved, int32_t halvedWidth, int32_t halvedHeight, UINT width, UINT height,
                     Orientation orientation) {
  const UprightSize upright = UprightPictureSize(static_cast<int32_t>(width), static_cast<int32_t>(height), orientation);
  const ReducedSize kept = ReducedPictureSize(upright.width, upright.height);
  // Swapping the sides is its own inverse: the kept size as stored.
  const UprightSize stored = UprightPictureSize(kept.width, kept.height, orientation);
  LargePicture result = Undecodable();
  std::vector<uint8_t> resampled = ResampleByArea(halved, halvedWidth, halvedHeight, stored.width, stored.height);
  halved = {};
  if (resampled.empty()) return result;
  std::optional<UprightPicture> turned = TurnUpright(stored.width, stored.height, std::move(resampled), orientation);
  if (!turned) return result;
  result.outcome = LargePicture::Outcome::kDecoded;
  result.width = turned->width;
  result.height = turned->height;
  result.pixels = std::move(turned->pixels);
  return result;
}

// A picture over kLongestSideKept, reduced through the imaging component.
LargePicture ReduceThroughImaging(const ImagingFrame& picture, const Conversion& conversion, Orientation orientation) {
  LargePicture result = Undecodable();
  const UINT width = picture.width(), height = picture.height();
  if (uint64_t{width} * height > kMaxDecodedPixels) return result;
  const Reduction reduction = ReduceToFit(static_cast<int32_t>(width), static_cast<int32_t>(height));
  std::vector<uint8_t> pixels(static_cast<size_t>(reduction.width) * static_cast<size_t>(reduction.height) * 4);
  if (!DecodeByTransform(picture.frame(), reduction, conversion, pixels) &&
      !DecodeByBlocks(picture, reduction, conversion, pixels)) {
    return result;
  }
  return Reduced(std::move(pixels), reduction.width, reduction.height, width, height, orientation);
}

// A picture kept at its own size: every row at once, four bytes a pixel.
LargePicture DecodeWhole(const ImagingFrame& picture, const Conversion& conversion) {
  LargePicture result = Undecodable();
  ComPtr<IWICFormatConverter> converter;
  int bytesPerPixel = 0;
  IWICBitmapSource* source = PixelSource(picture.factory(), picture.frame(), conversion, converter, bytesPerPixel);
  if (!source) return result;
  const UINT width = picture.width(), height = picture.height();
  const size_t count = static_cast<size_t>(width) * height;
  const UINT stride = width * static_cast<UINT>(bytesPerPixel);
  std::vector<uint8_t> rows(count * static_cast<size_t>(bytesPerPixel));
  if (FAILED(source->CopyPixels(nullptr, stride, static_cast<UINT>(rows.size()), rows.data()))) return result;
  if (bytesPerPixel == 4) {
    result.pixels = std::move(rows);
    for (size_t i = 3; i < result.pixels.size(); i += 4) result.pixels[i] = 0;  // the alpha, already applied
  } else {
    result.pixels.assign(count * 4, 0);
    for (size_t i = 0; i < count; ++i) std::copy_n(&rows[i * 3], 3, &result.pixels[i * 4]);
  }
  result.outcome = LargePicture::Outcome::kDecoded;
  result.width = static_cast<int32_t>(width);
  result.height = static_cast<int32_t>(height);
  return result;
}

}  // namespace

LargePicture DecodeLargePicture(std::span<const uint8_t> bytes, Orientation orientation) {
  LargePicture result;
  if (bytes.size() > 0xffffffffu) return result;
  // Asked for its size, a decoder may decode the whole picture: the header
  // says whether this one needs to be reduced at all.
  const std::optional<PictureSize> declared = DeclaredPictureSize(bytes);
  if (!declared || declared->width > uint32_t{INT32_MAX} || declared->height > uint32_t{INT32_MAX}) return result;
  const UprightSize upright = UprightPictureSize(static_cast<int32_t>(declared->width),
                                                 static_cast<int32_t>(declared->height), orientation);
  if (std::max(upright.width, upright.height) <= kLongestSideKept) return result;
  // The sequential JPEGs that cameras write are decoded here, many times
  // faster than a full-size decode; the platform's decoders take the rest.
  const Reduction halving = ReduceToFit(static_cast<int32_t>(declared->width), static_cast<int32_t>(declared->height));
  if (std::optional<ReducedJpeg> jpeg = DecodeJpegReduced(bytes, std::min(halving.shift, kMaxJpegShift))) {
    return Reduced(std::move(jpeg->pixels), jpeg->width, jpeg->height, declared->width, declared->height,
                   orientation);
  }

  const ImagingFrame picture(bytes);
  if (!picture.opened()) return result;
  if (std::max(picture.width(), picture.height()) <= static_cast<UINT>(kLongestSideKept)) return result;
  return ReduceThroughImaging(picture, kOpaque, orientation);
}

LargePicture DecodeImagingPicture(std::span<const uint8_t> bytes) {
  LargePicture result = Undecodable();
  if (bytes.empty() || bytes.size() > 0xffffffffu) return result;
  const ImagingFrame picture(bytes);
  if (!picture.opened()) return result;
  if (std::max(picture.width(), picture.height()) > static_cast<UINT>(kLongestSideKept)) {
    return ReduceThroughImaging(picture, kOnBlack, Orientation::kAsStored);
  }
  return DecodeWhole(picture, kOnBlack);
}

}  // namespace ventalune::pictures
