// How the settings dialog looks: its own artwork (tiles, title plates,
// option marks, skinned buttons), or, while a high-contrast theme is on, the
// system's colours throughout, switched whenever the theme changes.
#include <windows.h>

#include <algorithm>
#include <array>

#include "saver/dialog/dialog_drawing.h"
#include "saver/dialog/settings_dialog_window.h"

namespace ventalune::dialog {
namespace {

using enum ElementId;

bool HighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

// An option mark as the system draws a radio button, in its colours.
std::shared_ptr<pictures::PictureSurface> SystemOptionMark(int side, bool selected) {
  auto mark = std::make_shared<pictures::PictureSurface>();
  if (side <= 0 || !mark->Resize(side, side) || !mark->dc()) return mark;
  RECT area{0, 0, side, side};
  FillRect(mark->dc(), &area, GetSysColorBrush(COLOR_WINDOW));
  DrawFrameControl(mark->dc(), &area, DFC_BUTTON, DFCS_BUTTONRADIO | (selected ? DFCS_CHECKED : 0));
  return mark;
}

void FillPanel(toolkit::PicturePanel& panel, COLORREF colour) {
  panel.SetBackground(colour);
  panel.Clear();
}

}  // namespace

void SettingsDialog::ApplyLook() {
  highContrast_ = HighContrastOn();
  toolkit::PicturePanel& pictureFrame = pictureGroup_->frame();
  toolkit::PicturePanel& musicFrame = musicGroup_->frame();
  toolkit::PicturePanel& monitorsFrame = monitorsGroup_->frame();
  if (highContrast_) {
    const COLORREF ground = GetSysColor(COLOR_WINDOW);
    FillPanel(basePanel_, ground);
    FillPanel(pictureFrame, ground);
    FillPanel(musicFrame, ground);
    FillPanel(monitorsFrame, ground);
    for (const auto& [label, colour] : elements_->labelColours()) label->SetColour(GetSysColor(COLOR_WINDOWTEXT));
    const PixelRect mark = elements_->At(ImgSel0);
    systemMarks_ = {SystemOptionMark(std::min(mark.width, mark.height), true),
                    SystemOptionMark(std::min(mark.width, mark.height), false)};
  } else {
    // The frames' grey shows only where the tiles cannot be drawn.
    pictureFrame.SetBackground(RGB(192, 192, 192));
    musicFrame.SetBackground(RGB(192, 192, 192));
    monitorsFrame.SetBackground(RGB(192, 192, 192));
    TileSurface(basePanel_, tileSource_);
    TileSurface(pictureFrame, tileSource_);
    TileSurface(musicFrame, tileSource_);
    TileSurface(monitorsFrame, tileSource_);
    const PixelRect plate0 = elements_->At(ImgTT0);
    const PixelRect plate1 = elements_->At(ImgTT1);
    const PixelRect plate2 = elements_->At(ImgTT2);
    const std::array<FrameTitle, 3> titles{FrameTitle{&pictureFrame, {plate0.x, plate0.y}},
                                           FrameTitle{&musicFrame, {plate1.x, plate1.y}},
                                           FrameTitle{&monitorsFrame, {plate2.x, plate2.y}}};
    DrawFrameTitles(titles, plateSource_, plateMaskSource_, {plate0.width, plate0.height});
    for (const auto& [label, colour] : elements_->labelColours()) label->SetColour(colour);
  }
  for (button::Command* button :
       {&pictureGroup_->chooseButton(), &musicGroup_->chooseButton(), &saveButton_, &cancelButton_})
    button->UseSystemColours(highContrast_);
  const OptionMarks& marks = highContrast_ ? systemMarks_ : OptionMarks{art_.optionOn, art_.optionOff};
  pictureGroup_->SetOptionMarks(marks);
  monitorsGroup_->SetOptionMarks(marks);
  musicGroup_->SetOptionMarks(marks);
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace ventalune::dialog
