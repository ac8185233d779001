#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include "scene/picture_texture.h"

#include <memory>
#include <span>

#include "common/bitmap_check.h"
#include "scene/gl_api.h"
#include "scene/texture_size.h"
#include "scene/texture_upload.h"

namespace ventalune::scene {
namespace {

constexpr int kHimetricPerInch = 2540;
constexpr int kMaxPathChars = 260;  // including the terminator

struct PictureRelease {
  void operator()(IPicture* picture) const { picture->Release(); }
};
struct DcDelete {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct BitmapDelete {
  void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
using PicturePtr = std::unique_ptr<IPicture, PictureRelease>;
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDelete>;
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDelete>;

// Reads just enough of the file to refuse a bitmap cut short before the
// picture loader reads past its end.
bool PictureFileLooksWhole(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  uint8_t head[kBitmapHeaderBytes];
  DWORD read = 0;
  const bool ok = GetFileSizeEx(file, &size) && ReadFile(file, head, sizeof(head), &read, nullptr);
  CloseHandle(file);
  return ok && BitmapFileIsWhole(std::span(head, read), static_cast<uint64_t>(size.QuadPart));
}

PicturePtr OpenPicture(const char* path) {
  if (!PictureFileLooksWhole(path)) return nullptr;
  wchar_t widePath[kMaxPathChars];
  if (MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, kMaxPathChars) == 0) return nullptr;
  void* picture = nullptr;
  if (FAILED(OleLoadPicturePath(widePath, nullptr, 0, 0, IID_IPicture, &picture))) return nullptr;
  return PicturePtr(static_cast<IPicture*>(picture));
}

}  // namespace

bool LoadPictureTexture(const char* path, uint32_t& textureName) {
  PicturePtr picture = OpenPicture(path);
  if (!picture) return false;
  MemoryDc memory(CreateCompatibleDC(nullptr));
  if (!memory) return false;

  GLint largestSide = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largestSide);
  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  if (FAILED(picture->get_Width(&himetricWidth)) || FAILED(picture->get_Height(&himetricHeight))) return false;
  const int pixelWidth = MulDiv(himetricWidth, GetDeviceCaps(memory.get(), LOGPIXELSX), kHimetricPerInch);
  const int pixelHeight = MulDiv(himetricHeight, GetDeviceCaps(memory.get(), LOGPIXELSY), kHimetricPerInch);
  const int32_t width = TextureSide(pixelWidth, largestSide);
  const int32_t height = TextureSide(pixelHeight, largestSide);

  // Positive height: rows run bottom-up, as the GL wants them.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap dib(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib || !bits) return false;

  const HGDIOBJ previous = SelectObject(memory.get(), dib.get());
  // Source from the top edge with a negative height: the picture lands
  // right side up, stretched to fill the texture exactly.
  picture->Render(memory.get(), 0, 0, width, height, 0, himetricHeight, himetricWidth, -himetricHeight, nullptr);
  GdiFlush();
  const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  textureName = UploadPictureTexture(std::span(static_cast<uint8_t*>(bits), bytes), width, height);
  SelectObject(memory.get(), previous);
  return true;
}

}  // namespace ventalune::scene
