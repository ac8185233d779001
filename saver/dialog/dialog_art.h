#pragma once
// The settings dialog's artwork from the program's resources, stretched to
// the screen's resolution: button skins, the background tile, the title
// plate and its mask, the two option marks, the banner and its cursor; and
// the face its texts are drawn in.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "saver/controls/button/command.h"
#include "saver/dialog/dialog_layout.h"
#include "saver/pictures/picture_surface.h"
#include "saver/toolkit/picture_panel.h"

namespace ventalune::dialog {

// The dialog's face if the system has it, else the closest stand-in there is.
std::string DialogFace();

struct DialogArtwork {
  // Pieces that cannot be loaded stay empty; the dialog draws without them.
  void Load(HINSTANCE instance, int dpi);
  // A hidden panel outside the client area holding `picture` at its size.
  static void FillHidden(toolkit::PicturePanel& panel, HWND parent, const pictures::PictureSurface* picture);

  std::shared_ptr<button::ButtonSkins> skins;
  std::unique_ptr<pictures::PictureSurface> tile, plate, mask;
  std::shared_ptr<const pictures::PictureSurface> optionOn, optionOff;
  std::vector<uint8_t> banner;       // GIF file
  std::vector<uint8_t> handCursor;   // cursor file: pointing hand, hot spot at the fingertip
};

}  // namespace ventalune::dialog
