#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include "scene/picture_texture.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/bitmap_check.h"
#include "common/dib_section.h"
#include "common/handles.h"
#include "common/ole_picture.h"
#include "common/screen_dpi.h"
#include "common/whole_file.h"
#include "scene/gl_api.h"
#include "scene/texture_size.h"
#include "scene/texture_upload.h"

namespace ventalune::scene {
namespace {

// The saver writes the pictures at most at the screen's size: an 8K desktop
// copy takes 100 MB. Anything far larger is no picture of a run.
constexpr uint64_t kLargestPictureFileBytes = 256ull << 20;

// The file is opened and read once: the bytes checked are the bytes
// decoded, so nobody can swap the file between the two. A bitmap cut short
// is refused before the picture loader reads past its end.
ComPtr<IPicture> OpenPicture(const wchar_t* path) {
  if (!path || !*path) return nullptr;
  const std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(std::wstring(path), kLargestPictureFileBytes);
  if (!bytes) return nullptr;
  const std::span<const uint8_t> head(bytes->data(), std::min<size_t>(bytes->size(), kBitmapHeaderBytes));
  if (!BitmapFileIsWhole(head, bytes->size())) return nullptr;
  return LoadOlePicture(*bytes);
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
