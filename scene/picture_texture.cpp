#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include "scene/picture_texture.h"

#include <memory>
#include <span>
#include <string>

#include "common/bitmap_check.h"
#include "common/dib_section.h"
#include "common/handles.h"
#include "common/ole_picture.h"
#include "common/screen_dpi.h"
#include "scene/gl_api.h"
#include "scene/texture_size.h"
#include "scene/texture_upload.h"

namespace ventalune::scene {
namespace {

constexpr size_t kMaxPathChars = 260;  // including the terminator

// Reads just enough of the file to refuse a bitmap cut short before the
// picture loader reads past its end.
bool PictureFileLooksWhole(const wchar_t* path) {
  const OwnedFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size{};
  uint8_t head[kBitmapHeaderBytes];
  DWORD read = 0;
  const bool ok = GetFileSizeEx(file.get(), &size) && ReadFile(file.get(), head, sizeof(head), &read, nullptr);
  return ok && BitmapFileIsWhole(std::span(head, read), static_cast<uint64_t>(size.QuadPart));
}

ComPtr<IPicture> OpenPicture(const wchar_t* path) {
  // The loader takes a path of the classic length at most.
  std::wstring widePath(path);
  if (widePath.empty() || widePath.size() >= kMaxPathChars) return nullptr;
  if (!PictureFileLooksWhole(path)) return nullptr;
  void* picture = nullptr;
  if (FAILED(OleLoadPicturePath(widePath.data(), nullptr, 0, 0, IID_IPicture, &picture))) return nullptr;
  return ComPtr<IPicture>(static_cast<IPicture*>(picture));
}

}  // namespace

bool LoadPictureTexture(const wchar_t* path, uint32_t& textureName) {
  const ComPtr<IPicture> picture = OpenPicture(path);
  if (!picture) return false;

  GLint largestSide = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largestSide);
  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  if (FAILED(picture->get_Width(&himetricWidth)) || FAILED(picture->get_Height(&himetricHeight))) return false;
  const ScreenDpi dpi = ReadScreenDpi();
  const int32_t width = TextureSide(HimetricToPixels(himetricWidth, dpi.x), largestSide);
  const int32_t height = TextureSide(HimetricToPixels(himetricHeight, dpi.y), largestSide);

  // Rows bottom-up, as the GL wants them.
  const MemoryCanvas canvas = MemoryCanvas::Make(width, height, RowOrder::kBottomUp);
  if (!canvas) return false;
  // Source from the top edge with a negative height: the picture lands
  // right side up, stretched to fill the texture exactly.
  picture->Render(canvas.dc(), 0, 0, width, height, 0, himetricHeight, himetricWidth, -himetricHeight, nullptr);
  textureName = UploadPictureTexture(canvas.pixels(), width, height);
  return true;
}

}  // namespace ventalune::scene
