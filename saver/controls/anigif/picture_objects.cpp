#include "saver/controls/anigif/picture_objects.h"

#include "common/screen_dpi.h"

namespace ventalune::anigif {

std::shared_ptr<GifPictureObject> GifPictureObject::FromBytes(std::span<const uint8_t> gifFile) {
  ComPtr<IPicture> picture = LoadOlePicture(gifFile);
  if (!picture) return nullptr;
  std::shared_ptr<GifPictureObject> object(new GifPictureObject());
  object->bytes_.assign(gifFile.begin(), gifFile.end());
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  picture->get_Width(&width);
  picture->get_Height(&height);
  const ScreenDpi dpi = ReadScreenDpi();
  object->width_ = HimetricToPixels(width, dpi.x);
  object->height_ = HimetricToPixels(height, dpi.y);
  object->picture_ = std::move(picture);
  return object;
}

std::shared_ptr<CursorPicture> CursorPicture::FromFileBytes(std::span<const uint8_t> file) {
  // An icon directory: reserved 0, type 1 (icon) or 2 (cursor), a count,
  // then 16-byte entries giving each image's size and offset.
  constexpr size_t kHeader = 6, kEntry = 16;
  if (file.size() < kHeader + kEntry) return nullptr;
  const auto word = [&file](size_t at) { return static_cast<uint32_t>(file[at] | (file[at + 1] << 8)); };
  const auto dword = [&](size_t at) { return word(at) | (word(at + 2) << 16); };
  const uint32_t type = word(2);
  if (word(0) != 0 || (type != 1 && type != 2) || word(4) == 0) return nullptr;
  const uint32_t imageSize = dword(kHeader + 8);
  const uint32_t imageOffset = dword(kHeader + 12);
  if (imageOffset > file.size() || imageSize > file.size() - imageOffset || imageSize == 0) return nullptr;

  // The resource form of a cursor starts with its hot spot; an icon's
  // centre serves as one.
  std::vector<uint8_t> resource;
  uint16_t hotX = 0, hotY = 0;
  if (type == 2) {
    hotX = static_cast<uint16_t>(word(kHeader + 4));
    hotY = static_cast<uint16_t>(word(kHeader + 6));
  } else {
    hotX = static_cast<uint16_t>((file[kHeader] == 0 ? 256 : file[kHeader]) / 2);
    hotY = static_cast<uint16_t>((file[kHeader + 1] == 0 ? 256 : file[kHeader + 1]) / 2);
  }
  resource.push_back(static_cast<uint8_t>(hotX));
  resource.push_back(static_cast<uint8_t>(hotX >> 8));
  resource.push_back(static_cast<uint8_t>(hotY));
  resource.push_back(static_cast<uint8_t>(hotY >> 8));
  resource.insert(resource.end(), file.begin() + imageOffset, file.begin() + imageOffset + imageSize);
  OwnedCursor cursor(CreateIconFromResourceEx(resource.data(), static_cast<DWORD>(resource.size()), FALSE, 0x00030000,
                                              0, 0, LR_DEFAULTCOLOR));
  if (!cursor) return nullptr;
  std::shared_ptr<CursorPicture> picture(new CursorPicture());
  picture->cursor_ = cursor.get();
  picture->owned_ = std::move(cursor);
  picture->bytes_.assign(file.begin(), file.end());
  return picture;
}

std::shared_ptr<CursorPicture> CursorPicture::FromSystem(LPCWSTR id) {
  HCURSOR cursor = LoadCursorW(nullptr, id);
  if (!cursor) return nullptr;
  std::shared_ptr<CursorPicture> picture(new CursorPicture());
  picture->cursor_ = cursor;
  return picture;
}

}  // namespace ventalune::anigif
