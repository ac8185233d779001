#include "saver/pictures/imaging_decoder.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>

#include "common/handles.h"

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

// Rows are fetched in strips of about this many bytes.
constexpr uint64_t kStripBytes = uint64_t{4} << 20;

template <class T>
ComPtr<T> QueryAs(IUnknown* object) {
  T* result = nullptr;
  if (FAILED(object->QueryInterface(__uuidof(T), reinterpret_cast<void**>(&result)))) return nullptr;
  return ComPtr<T>(result);
}

// COM for as long as a picture is open, on whatever terms this thread has it.
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

// What the pixels are converted to when the frame's own layout is not the
// one taken as it is. Pictures that may be transparent are taken
// premultiplied: their colour channels are then the picture composited on
// black, and averaging them averages that.
struct Conversion {
  WICPixelFormatGUID format;
  bool premultiplied;
};
const Conversion kOpaque{GUID_WICPixelFormat32bppBGR, false};
const Conversion kOnBlack{GUID_WICPixelFormat32bppPBGRA, true};

const Conversion& ConversionFor(Transparency transparency) {
  return transparency == Transparency::kOnBlack ? kOnBlack : kOpaque;
}

PicturePixels Blank(int32_t width, int32_t height) {
  PicturePixels picture;
  picture.width = width;
  picture.height = height;
  picture.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
  return picture;
}

}  // namespace

struct ImagingPicture::Parts {
  ComScope com;  // first made, last gone
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  UINT width = 0;
  UINT height = 0;

  // The frame's pixels as four bytes each, or as they are when they already
  // are three bytes of blue, green and red (a JPEG's own rows); nothing when
  // the converter refuses the frame.
  IWICBitmapSource* PixelSource(const Conversion& conversion, ComPtr<IWICFormatConverter>& converter,
                                int& bytesPerPixel) const {
    WICPixelFormatGUID format{};
    bytesPerPixel = 3;
    if (SUCCEEDED(frame->GetPixelFormat(&format)) && SameFormat(format, GUID_WICPixelFormat24bppBGR))
      return frame.get();
    IWICFormatConverter* rawConverter = nullptr;
    if (FAILED(factory->CreateFormatConverter(&rawConverter))) return nullptr;
    converter.reset(rawConverter);
    if (FAILED(converter->Initialize(frame.get(), conversion.format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
      return nullptr;
    }
    bytesPerPixel = 4;
    return converter.get();
  }

  // The decoder scales while it decodes: only when it reaches exactly the
  // reduced size, in a pixel layout we can take (straight alpha only where
  // the alpha is not wanted).
  bool DecodeByTransform(const Reduction& reduction, const Conversion& conversion,
                         std::vector<uint8_t>& pixels) const {
    ComPtr<IWICBitmapSourceTransform> transform = QueryAs<IWICBitmapSourceTransform>(frame.get());
    if (!transform) return false;
    UINT reducedWidth = static_cast<UINT>(reduction.width);
    UINT reducedHeight = static_cast<UINT>(reduction.height);
    if (FAILED(transform->GetClosestSize(&reducedWidth, &reducedHeight))) return false;
    if (reducedWidth != static_cast<UINT>(reduction.width) || reducedHeight != static_cast<UINT>(reduction.height))
      return false;
    WICPixelFormatGUID format = conversion.format;
    if (FAILED(transform->GetClosestPixelFormat(&format))) return false;
    const size_t count = static_cast<size_t>(reducedWidth) * reducedHeight;
    if (SameFormat(format, GUID_WICPixelFormat32bppBGR) || SameFormat(format, conversion.format) ||
        (!conversion.premultiplied && SameFormat(format, GUID_WICPixelFormat32bppBGRA))) {
      return SUCCEEDED(transform->CopyPixels(nullptr, reducedWidth, reducedHeight, &format, WICBitmapTransformRotate0,
                                             reducedWidth * 4, static_cast<UINT>(pixels.size()), pixels.data()));
    }
    if (!SameFormat(format, GUID_WICPixelFormat24bppBGR)) return false;
    const UINT stride = (reducedWidth * 3 + 3) & ~3u;
    std::vector<uint8_t> rows(static_cast<size_t>(stride) * reducedHeight);
    if (FAILED(transform->CopyPixels(nullptr, reducedWidth, reducedHeight, &format, WICBitmapTransformRotate0, stride,
                                     static_cast<UINT>(rows.size()), rows.data()))) {
      return false;
    }
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* from = &rows[(i / reducedWidth) * stride + (i % reducedWidth) * 3];
      std::copy(from, from + 3, &pixels[i * 4]);
    }
    return true;
  }

  // Full-size rows, a strip at a time, averaged down in blocks.
  bool DecodeByBlocks(const Reduction& reduction, const Conversion& conversion, std::vector<uint8_t>& pixels) const {
    ComPtr<IWICFormatConverter> converter;
    int bytesPerPixel = 0;
    IWICBitmapSource* source = PixelSource(conversion, converter, bytesPerPixel);
    if (!source) return false;
    const uint64_t rowBytes = uint64_t{width} * static_cast<uint64_t>(bytesPerPixel);
    const UINT stripRows = static_cast<UINT>(std::clamp<uint64_t>(kStripBytes / rowBytes, 1, height));
    std::vector<uint8_t> strip(static_cast<size_t>(rowBytes * stripRows));
    BlockAverager averager(static_cast<int32_t>(width), static_cast<int32_t>(height), bytesPerPixel, reduction,
                           pixels);
    for (UINT row = 0; row < height; row += stripRows) {
      const UINT rows = std::min(stripRows, height - row);
      const WICRect rect{0, static_cast<INT>(row), static_cast<INT>(width), static_cast<INT>(rows)};
      const UINT bytes = static_cast<UINT>(rowBytes * rows);
      if (FAILED(source->CopyPixels(&rect, static_cast<UINT>(rowBytes), bytes, strip.data()))) return false;
      if (!averager.AddRows(std::span(strip).first(bytes))) return false;
    }
    return averager.complete();
  }
};

ImagingPicture::ImagingPicture(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}
ImagingPicture::~ImagingPicture() = default;

std::unique_ptr<ImagingPicture> ImagingPicture::Open(std::span<const uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > 0xffffffffu) return nullptr;
  auto parts = std::make_unique<Parts>();
  IWICImagingFactory* rawFactory = nullptr;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(&rawFactory)))) {
    return nullptr;
  }
  parts->factory.reset(rawFactory);
  IWICStream* rawStream = nullptr;
  if (FAILED(parts->factory->CreateStream(&rawStream))) return nullptr;
  parts->stream.reset(rawStream);
  // The stream only reads the bytes, which outlive the picture.
  if (FAILED(parts->stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))))
    return nullptr;
  IWICBitmapDecoder* rawDecoder = nullptr;
  if (FAILED(parts->factory->CreateDecoderFromStream(parts->stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                     &rawDecoder))) {
    return nullptr;
  }
  parts->decoder.reset(rawDecoder);
  IWICBitmapFrameDecode* rawFrame = nullptr;
  if (FAILED(parts->decoder->GetFrame(0, &rawFrame))) return nullptr;
  parts->frame.reset(rawFrame);
  if (FAILED(parts->frame->GetSize(&parts->width, &parts->height)) || parts->width == 0 || parts->height == 0)
    return nullptr;
  return std::unique_ptr<ImagingPicture>(new ImagingPicture(std::move(parts)));
}

PictureSize ImagingPicture::size() const { return {parts_->width, parts_->height}; }

std::optional<PicturePixels> ImagingPicture::DecodeWhole(Transparency transparency) const {
  ComPtr<IWICFormatConverter> converter;
  int bytesPerPixel = 0;
  IWICBitmapSource* source = parts_->PixelSource(ConversionFor(transparency), converter, bytesPerPixel);
  if (!source) return std::nullopt;
  const UINT width = parts_->width, height = parts_->height;
  const size_t count = static_cast<size_t>(width) * height;
  const UINT stride = width * static_cast<UINT>(bytesPerPixel);
  std::vector<uint8_t> rows(count * static_cast<size_t>(bytesPerPixel));
  if (FAILED(source->CopyPixels(nullptr, stride, static_cast<UINT>(rows.size()), rows.data()))) return std::nullopt;
  PicturePixels picture;
  picture.width = static_cast<int32_t>(width);
  picture.height = static_cast<int32_t>(height);
  if (bytesPerPixel == 4) {
    picture.pixels = std::move(rows);
    for (size_t i = 3; i < picture.pixels.size(); i += 4) picture.pixels[i] = 0;  // the alpha, already applied
  } else {
    picture.pixels.assign(count * 4, 0);
    for (size_t i = 0; i < count; ++i) std::copy_n(&rows[i * 3], 3, &picture.pixels[i * 4]);
  }
  return picture;
}

std::optional<PicturePixels> ImagingPicture::DecodeHalved(const Reduction& reduction,
                                                          Transparency transparency) const {
  if (reduction.width <= 0 || reduction.height <= 0) return std::nullopt;
  PicturePixels picture = Blank(reduction.width, reduction.height);
  const Conversion& conversion = ConversionFor(transparency);
  if (!parts_->DecodeByTransform(reduction, conversion, picture.pixels) &&
      !parts_->DecodeByBlocks(reduction, conversion, picture.pixels)) {
    return std::nullopt;
  }
  return picture;
}

}  // namespace ventalune::pictures
