// How the settings dialog looks: its own artwork (tiles, title plates,
// option marks, skinned buttons), or, while a high-contrast theme is on, the
// system's colours throughout, switched whenever the theme changes; and its
// path boxes, which show a path that does not fit shortened in the middle
// with the full path as a tooltip.
#include <windows.h>
#include <commctrl.h>

#include "common/handles.h"
#include "common/wide_text.h"
#include "saver/dialog/dialog_drawing.h"
#include "saver/dialog/path_shortening.h"
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
  if (highContrast_) {
    const COLORREF ground = GetSysColor(COLOR_WINDOW);
    FillPanel(basePanel_, ground);
    FillPanel(pictureFrame_, ground);
    FillPanel(musicFrame_, ground);
    for (auto& [label, colour] : labelColours_) label->SetColour(GetSysColor(COLOR_WINDOWTEXT));
    const PixelRect mark = At(ImgSel0);
    systemOptionOn_ = SystemOptionMark(std::min(mark.width, mark.height), true);
    systemOptionOff_ = SystemOptionMark(std::min(mark.width, mark.height), false);
  } else {
    // The frames' grey shows only where the tiles cannot be drawn.
    pictureFrame_.SetBackground(RGB(192, 192, 192));
    musicFrame_.SetBackground(RGB(192, 192, 192));
    TileSurface(basePanel_, tileSource_);
    TileSurface(pictureFrame_, tileSource_);
    TileSurface(musicFrame_, tileSource_);
    const PixelRect plate0 = At(ImgTT0);
    const PixelRect plate1 = At(ImgTT1);
    const std::array<FrameTitle, 2> titles{FrameTitle{&pictureFrame_, {plate0.x, plate0.y}},
                                           FrameTitle{&musicFrame_, {plate1.x, plate1.y}}};
    DrawFrameTitles(titles, plateSource_, plateMaskSource_, {plate0.width, plate0.height});
    for (auto& [label, colour] : labelColours_) label->SetColour(colour);
  }
  for (button::Command* button : {&choosePictureButton_, &chooseSoundButton_, &saveButton_, &cancelButton_})
    button->UseSystemColours(highContrast_);
  ShowPictureMarks();
  ShowMusicMarks();
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void SettingsDialog::ShowMark(toolkit::ImageElement* mark, bool selected) {
  if (!mark) return;
  if (highContrast_)
    mark->SetPicture(selected ? systemOptionOn_ : systemOptionOff_);
  else
    mark->SetPicture(selected ? art_.optionOn : art_.optionOff);
}

void SettingsDialog::ShowPath(toolkit::Label& label, int tool, const std::string& ansiPath) {
  // Paths are bytes in the system code page; labels take UTF-8.
  const std::wstring wide = WideFromAnsi(ansiPath);
  const std::string utf8 = Utf8FromWide(wide);
  const RECT& bounds = label.bounds();
  // Inside the box's one-pixel border.
  const int width = bounds.right - bounds.left - 2;
  const int height = bounds.bottom - bounds.top - 2;
  const WindowDc windowDc(window_);
  HDC dc = windowDc.get();
  const SelectedObject font(dc, label.font() ? label.font()->handle() : GetStockObject(DEFAULT_GUI_FONT));
  RECT wrapped{0, 0, width, 0};
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  const bool fits = wrapped.right <= width && wrapped.bottom <= height;
  // As it always was while it fits; otherwise one line, its middle left out.
  label.SetWordWrap(fits);
  if (fits) {
    label.SetText(utf8);
  } else {
    label.SetText(ShortenInMiddle(utf8, width, [dc](std::string_view piece) {
      const std::wstring text = WideFromUtf8(std::string(piece));
      SIZE size{};
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      return static_cast<int>(size.cx);
    }));
  }

  if (tool < 0 || tool >= static_cast<int>(pathTipTexts_.size())) return;
  pathTipTexts_[static_cast<size_t>(tool)] = wide;
  if (!pathTips_) CreatePathTips();
  if (!pathTips_) return;
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.hwnd = tool == 0 ? pictureFrame_.window() : musicFrame_.window();
  info.uId = static_cast<UINT_PTR>(tool) + 1;
  info.lpszText = pathTipTexts_[static_cast<size_t>(tool)].data();
  SendMessageW(pathTips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void SettingsDialog::CreatePathTips() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  // No prefix handling: an ampersand in a path is one.
  pathTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_,
                              nullptr);
  if (!pathTips_) return;
  // Long paths wrap at the screen's width rather than running off it.
  SendMessageW(pathTips_, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN) / 2);
  const std::array<std::pair<toolkit::PicturePanel*, toolkit::Label*>, 2> boxes{
      std::pair{&pictureFrame_, pictureShown_}, std::pair{&musicFrame_, soundShown_}};
  for (size_t i = 0; i < boxes.size(); ++i) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = boxes[i].first->window();
    info.uId = i + 1;
    info.rect = boxes[i].second->bounds();
    info.lpszText = pathTipTexts_[i].data();
    SendMessageW(pathTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

}  // namespace ventalune::dialog
