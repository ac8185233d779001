#include "saver/dialog/dialog_elements.h"

#include "common/wide_text.h"
#include "saver/dialog/dialog_texts.h"

namespace ventalune::dialog {

void NumberWindow(HWND window, ElementId id) {
  if (window) SetWindowLongPtrW(window, GWLP_ID, static_cast<LONG_PTR>(id) + 1);
}

void EnableButton(button::Command& command, bool enabled) {
  command.SetEnabled(enabled);
  if (command.window()) EnableWindow(command.window(), enabled);
}

DialogElements::DialogElements(HINSTANCE instance, int dpi, const toolkit::FontDescription& dialogFont,
                               const DialogArtwork& art)
    : instance_(instance),
      dpi_(dpi),
      dialogFont_(dialogFont),
      art_(art),
      labelFont_(toolkit::MakeFont(dialogFont, dpi)),
      boxFont_(toolkit::MakeFont({kDefaultFace, kDefaultFontHundredths, 1, 400}, dpi)) {}

void DialogElements::CreatePanel(toolkit::PicturePanel& panel, HWND parent, ElementId id,
                                 const toolkit::PanelStyle& style) {
  const PixelRect r = At(id);
  panel.Create(parent, r.x, r.y, r.width, r.height, style);
  NumberWindow(panel.window(), id);
}

toolkit::Label& DialogElements::AddLabel(toolkit::PicturePanel& panel, ElementId id, const char* text,
                                         COLORREF colour) {
  toolkit::Label& label = panel.AddLabel();
  const PixelRect r = At(id);
  label.SetBounds(r.x, r.y, r.width, r.height);
  label.SetFont(labelFont_);
  label.SetColour(colour);
  labelColours_.emplace_back(&label, colour);
  label.SetText(text);
  label.SetWordWrap(false);
  return label;
}

toolkit::ImageElement& DialogElements::AddMark(toolkit::PicturePanel& panel, ElementId id, int index) {
  toolkit::ImageElement& mark = panel.AddImage();
  const PixelRect r = At(id);
  mark.SetBounds(r.x, r.y, r.width, r.height);
  mark.SetIndex(index);
  return mark;
}

void DialogElements::AddButton(button::Command& command, toolkit::PicturePanel& panel, ElementId id,
                               const char* caption) {
  const PixelRect r = At(id);
  toolkit::AmbientProperties ambient;
  ambient.font = dialogFont_;
  ambient.dpi = dpi_;
  command.Create(panel.window(), r.x, r.y, r.width, r.height, art_.skins, ambient);
  command.SetFont(dialogFont_);
  command.SetCaption(caption);
  SetWindowTextW(command.window(), WideFromUtf8(caption).c_str());
  NumberWindow(command.window(), id);
}

}  // namespace ventalune::dialog
