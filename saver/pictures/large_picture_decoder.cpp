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

// The decoder scales while it decodes: only when it reaches exactly the
// reduced size, in a pixel layout we can take.
bool DecodeByTransform(IWICBitmapFrameDecode* frame, const Reduction& reduction, std::vector<uint8_t>& pixels) {
  ComPtr<IWICBitmapSourceTransform> transform = QueryAs<IWICBitmapSourceTransform>(frame);
  if (!transform) return false;
  UINT width = static_cast<UINT>(reduction.width);
  UINT height = static_cast<UINT>(reduction.height);
  if (FAILED(transform->GetClosestSize(&width, &height))) return false;
  if (width != static_cast<UINT>(reduction.width) || height != static_cast<UINT>(reduction.height)) return false;
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
  if (FAILED(transform->GetClosestPixelFormat(&format))) return false;
  const size_t count = static_cast<size_t>(width) * height;
  if (SameFormat(format, GUID_WICPixelFormat32bppBGR) || SameFormat(format, GUID_WICPixelFormat32bppBGRA)) {
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

// Full-size rows, a strip at a time, averaged down in blocks. A JPEG's own
// blue-green-red rows are taken as they are; anything else is converted.
bool DecodeByBlocks(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, UINT width, UINT height,
                    const Reduction& reduction, std::vector<uint8_t>& pixels) {
  WICPixelFormatGUID format{};
  IWICBitmapSource* source = frame;
  int bytesPerPixel = 3;
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(frame->GetPixelFormat(&format)) || !SameFormat(format, GUID_WICPixelFormat24bppBGR)) {
    IWICFormatConverter* rawConverter = nullptr;
    if (FAILED(factory->CreateFormatConverter(&rawConverter))) return false;
    converter.reset(rawConverter);
    if (FAILED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
      return false;
    }
    source = converter.get();
    bytesPerPixel = 4;
  }
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

// A picture halved while it was decoded, resampled to the size it is kept at.
LargePicture Reduced(const std::vector<uint8_t>& halved, int32_t halvedWidth, int32_t halvedHeight, UINT width,
                     UINT height) {
  const ReducedSize size = ReducedPictureSize(static_cast<int32_t>(width), static_cast<int32_t>(height));
  LargePicture result{LargePicture::Outcome::kUndecodable};
  result.pixels = ResampleByArea(halved, halvedWidth, halvedHeight, size.width, size.height);
  if (result.pixels.empty()) return result;
  result.outcome = LargePicture::Outcome::kDecoded;
  result.width = size.width;
  result.height = size.height;
  return result;
}

}  // namespace

LargePicture DecodeLargePicture(std::span<const uint8_t> bytes) {
  LargePicture result;
  if (bytes.size() > 0xffffffffu) return result;
  // Asked for its size, a decoder may decode the whole picture: the header
  // says whether this one needs to be reduced at all.
  const std::optional<PictureSize> declared = DeclaredPictureSize(bytes);
  if (!declared || std::max(declared->width, declared->height) <= static_cast<uint32_t>(kLongestSideKept)) {
    return result;
  }
  // The sequential JPEGs that cameras write are decoded here, many times
  // faster than a full-size decode; the platform's decoders take the rest.
  const Reduction halving = ReduceToFit(static_cast<int32_t>(declared->width), static_cast<int32_t>(declared->height));
  if (const std::optional<ReducedJpeg> jpeg = DecodeJpegReduced(bytes, std::min(halving.shift, kMaxJpegShift))) {
    return Reduced(jpeg->pixels, jpeg->width, jpeg->height, declared->width, declared->height);
  }

  ComScope com;
  IWICImagingFactory* rawFactory = nullptr;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(&rawFactory)))) {
    return result;
  }
  ComPtr<IWICImagingFactory> factory(rawFactory);
  IWICStream* rawStream = nullptr;
  if (FAILED(factory->CreateStream(&rawStream))) return result;
  ComPtr<IWICStream> stream(rawStream);
  // The stream only reads the bytes, for as long as this call lasts.
  if (FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())))) {
    return result;
  }
  IWICBitmapDecoder* rawDecoder = nullptr;
  if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, &rawDecoder))) {
    return result;
  }
  ComPtr<IWICBitmapDecoder> decoder(rawDecoder);
  IWICBitmapFrameDecode* rawFrame = nullptr;
  if (FAILED(decoder->GetFrame(0, &rawFrame))) return result;
  ComPtr<IWICBitmapFrameDecode> frame(rawFrame);
  UINT width = 0;
  UINT height = 0;
  if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0) return result;
  if (std::max(width, height) <= static_cast<UINT>(kLongestSideKept)) return result;

  result.outcome = LargePicture::Outcome::kUndecodable;
  if (uint64_t{width} * height > kMaxDecodedPixels) return result;
  const Reduction reduction = ReduceToFit(static_cast<int32_t>(width), static_cast<int32_t>(height));
  std::vector<uint8_t> pixels(static_cast<size_t>(reduction.width) * static_cast<size_t>(reduction.height) * 4);
  if (!DecodeByTransform(frame.get(), reduction, pixels) &&
      !DecodeByBlocks(factory.get(), frame.get(), width, height, reduction, pixels)) {
    return result;
  }
  return Reduced(pixels, reduction.width, reduction.height, width, height);
}

}  // namespace ventalune::pictures
