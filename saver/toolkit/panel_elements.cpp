#include "saver/toolkit/panel_elements.h"

#include <algorithm>

#include "common/handles.h"
#include "common/wide_text.h"
#include "saver/toolkit/picture_panel.h"

namespace ventalune::toolkit {

void Element::Changed() const { panel_.InvalidateArea(bounds_); }

void Element::SetBounds(int x, int y, int width, int height) {
  Changed();
  bounds_ = {x, y, x + width, y + height};
  Changed();
}

void Element::SetVisible(bool visible) {
  visible_ = visible;
  Changed();
}

void Element::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Changed();
}

void Label::SetText(std::string text) {
  text_ = std::move(text);
  Changed();
}

void Label::SetFont(SharedFont font) {
  font_ = std::move(font);
  Changed();
}

void Label::SetColour(COLORREF colour) {
  colour_ = colour;
  Changed();
}

void Label::SetAlignment(Alignment alignment) {
  alignment_ = alignment;
  Changed();
}

void Label::SetBorder(bool single) {
  border_ = single;
  Changed();
}

void Label::SetWordWrap(bool wrap) {
  wordWrap_ = wrap;
  Changed();
}

void Label::SetBackground(bool opaque, COLORREF colour) {
  opaque_ = opaque;
  background_ = colour;
  Changed();
}

void Label::SetDataText(bool data) {
  dataText_ = data;
  Changed();
}

void Label::Draw(HDC dc) const {
  RECT area = bounds();
  if (opaque_) {
    const OwnedBrush brush(CreateSolidBrush(background_));
    FillRect(dc, &area, brush.get());
  }
  if (border_) {
    // In the text's colour, so the box stays visible on a dark background.
    const OwnedBrush brush(CreateSolidBrush(colour_));
    FrameRect(dc, &area, brush.get());
    InflateRect(&area, -1, -1);
  }
  const SelectedObject font(dc, font_ ? font_->handle() : GetStockObject(DEFAULT_GUI_FONT));
  const int previousMode = SetBkMode(dc, TRANSPARENT);
  UINT format = (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE) | (dataText_ ? DT_NOPREFIX : DT_NOCLIP);
  if (alignment_ == Alignment::Centre) format |= DT_CENTER;
  if (alignment_ == Alignment::Right) format |= DT_RIGHT;
  // Through the wide API, so the text reads the same under any code page.
  const std::wstring text = WideFromUtf8(text_);
  const int length = static_cast<int>(text.size());
  if (enabled()) {
    SetTextColor(dc, colour_);
    DrawTextW(dc, text.c_str(), length, &area, format);
  } else {
    // Greyed, engraved text: a light copy one pixel down and right under a
    // shadow-coloured one.
    RECT light = area;
    OffsetRect(&light, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
    DrawTextW(dc, text.c_str(), length, &light, format);
    SetTextColor(dc, GetSysColor(COLOR_3DSHADOW));
    DrawTextW(dc, text.c_str(), length, &area, format);
  }
  SetBkMode(dc, previousMode);
}

void FocusFrame::Draw(HDC dc) const {
  RECT area = bounds();
  const COLORREF previousText = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF previousBack = SetBkColor(dc, RGB(255, 255, 255));
  DrawFocusRect(dc, &area);
  SetBkColor(dc, previousBack);
  SetTextColor(dc, previousText);
}

void ImageElement::SetPicture(std::shared_ptr<const pictures::PictureSurface> picture) {
  picture_ = std::move(picture);
  Changed();
}

void ImageElement::Draw(HDC dc) const {
  if (!picture_ || !picture_->dc()) return;
  const RECT& area = bounds();
  // At its own size from the top-left corner, clipped to the element.
  const int width = std::min<int>(picture_->width(), area.right - area.left);
  const int height = std::min<int>(picture_->height(), area.bottom - area.top);
  if (width > 0 && height > 0) BitBlt(dc, area.left, area.top, width, height, picture_->dc(), 0, 0, SRCCOPY);
}

}  // namespace ventalune::toolkit
