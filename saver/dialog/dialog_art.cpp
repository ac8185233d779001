#include "saver/dialog/dialog_art.h"

#include "common/handles.h"
#include "common/resource_data.h"
#include "common/wide_text.h"
#include "saver/dialog/dialog_texts.h"
#include "saver_resources.h"

namespace ventalune::dialog {
namespace {

// The resource's picture stretched by dpi / 96; null when it cannot be read.
std::unique_ptr<pictures::PictureSurface> ScaledPicture(HINSTANCE instance, int resourceId, int dpi) {
  pictures::PictureSurface original;
  if (!original.LoadResource(instance, resourceId)) return nullptr;
  auto scaled = std::make_unique<pictures::PictureSurface>();
  if (!scaled->Resize(ScaleToDpi(original.width(), dpi), ScaleToDpi(original.height(), dpi))) return nullptr;
  SetStretchBltMode(scaled->dc(), COLORONCOLOR);
  StretchBlt(scaled->dc(), 0, 0, scaled->width(), scaled->height(), original.dc(), 0, 0, original.width(),
             original.height(), SRCCOPY);
  return scaled;
}

std::vector<uint8_t> ResourceBytes(HINSTANCE instance, int resourceId) {
  const std::span<const uint8_t> data = ResourceData(instance, resourceId);
  return std::vector<uint8_t>(data.begin(), data.end());
}

bool FaceInstalled(const char* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  const std::wstring name = WideFromUtf8(face);
  if (name.size() >= LF_FACESIZE) return false;
  name.copy(wanted.lfFaceName, name.size());
  const WindowDc screen;
  bool found = false;
  EnumFontFamiliesExW(
      screen.get(), &wanted,
      [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM result) -> int {
        *reinterpret_cast<bool*>(result) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

}  // namespace

std::string DialogFace() {
  if (FaceInstalled(kDialogFace)) return kDialogFace;
  for (const char* standIn : kDialogFaceStandIns)
    if (FaceInstalled(standIn)) return standIn;
  return kDialogFace;
}

void DialogArtwork::Load(HINSTANCE instance, int dpi) {
  skins = std::make_shared<button::ButtonSkins>();
  skins->Load(instance, {IDR_BUTTON_NORMAL, IDR_BUTTON_HIGHLIGHT, IDR_BUTTON_SELECTED, IDR_BUTTON_HIGHLIGHT_SELECT,
                         IDR_BUTTON_PRESSED, IDR_BUTTON_DISABLE});
  tile = ScaledPicture(instance, IDR_DIALOG_TILE, dpi);
  plate = ScaledPicture(instance, IDR_TITLE_PLATE, dpi);
  mask = ScaledPicture(instance, IDR_TITLE_MASK, dpi);
  optionOn = ScaledPicture(instance, IDR_OPTION_ON, dpi);
  optionOff = ScaledPicture(instance, IDR_OPTION_OFF, dpi);
  banner = ResourceBytes(instance, IDR_BANNER);
  handCursor = ResourceBytes(instance, IDR_POINTING_HAND);
}

void DialogArtwork::FillHidden(toolkit::PicturePanel& panel, HWND parent, const pictures::PictureSurface* picture) {
  toolkit::PanelStyle hidden;
  hidden.visible = false;
  const int width = picture ? picture->width() : 1;
  const int height = picture ? picture->height() : 1;
  if (!panel.Create(parent, -4000, 0, width, height, hidden) || !picture || !panel.dc()) return;
  BitBlt(panel.dc(), 0, 0, width, height, picture->dc(), 0, 0, SRCCOPY);
}

}  // namespace ventalune::dialog
