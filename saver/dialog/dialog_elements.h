#pragma once
// The settings dialog's elements made as the layout table places them, at
// the dialog's resolution: panels, labels, option marks and buttons. Each
// windowed one carries its element as its control number, so the window
// tree tells them apart while their texts are what a person reads.
#include <windows.h>

#include <utility>
#include <vector>

#include "saver/controls/button/command.h"
#include "saver/dialog/dialog_art.h"
#include "saver/dialog/dialog_layout.h"
#include "saver/toolkit/font.h"
#include "saver/toolkit/picture_panel.h"

namespace ventalune::dialog {

void NumberWindow(HWND window, ElementId id);

// The button enabled or not, its window too, so the system keeps the mouse
// from a disabled button.
void EnableButton(button::Command& command, bool enabled);

class DialogElements {
 public:
  // The artwork gives the buttons their skins; it is loaded before the
  // first button is made.
  DialogElements(HINSTANCE instance, int dpi, const toolkit::FontDescription& dialogFont, const DialogArtwork& art);

  HINSTANCE instance() const { return instance_; }
  PixelRect At(ElementId id) const { return ElementRect(id, dpi_); }
  int Scaled(int length) const { return ScaleToDpi(length, dpi_); }
  // The repeat box keeps the toolkit's default face.
  const toolkit::SharedFont& boxFont() const { return boxFont_; }

  void CreatePanel(toolkit::PicturePanel& panel, HWND parent, ElementId id, const toolkit::PanelStyle& style);
  // A caption in the dialog's face, on one line also in a wider stand-in.
  toolkit::Label& AddLabel(toolkit::PicturePanel& panel, ElementId id, const char* text, COLORREF colour);
  toolkit::ImageElement& AddMark(toolkit::PicturePanel& panel, ElementId id, int index);
  void AddButton(button::Command& command, toolkit::PicturePanel& panel, ElementId id, const char* caption);

  // Every label with the colour it was made in: the high-contrast look
  // paints them in the system's colour and gives them theirs back.
  const std::vector<std::pair<toolkit::Label*, COLORREF>>& labelColours() const { return labelColours_; }

 private:
  HINSTANCE instance_;
  int dpi_;
  toolkit::FontDescription dialogFont_;
  const DialogArtwork& art_;
  toolkit::SharedFont labelFont_;
  toolkit::SharedFont boxFont_;
  std::vector<std::pair<toolkit::Label*, COLORREF>> labelColours_;
};

}  // namespace ventalune::dialog
