#include "saver/controls/button/command.h"

#include <algorithm>

#include "saver/controls/button/button_face.h"
#include "saver/toolkit/screen_units.h"

namespace ventalune::button {
namespace {

constexpr UINT_PTR kPointerWatch = 1;

TRIVERTEX Vertex(LONG x, LONG y, GradientColour colour) {
  return TRIVERTEX{x, y, colour.red, colour.green, colour.blue, 0};
}

}  // namespace

bool ButtonSkins::Load(HMODULE module, const std::array<int, kSkinCount>& resourceIds) {
  bool all = true;
  for (size_t i = 0; i < kSkinCount; ++i) {
    pictures_[i] = std::make_unique<pictures::PictureSurface>();
    all = pictures_[i]->LoadResource(module, resourceIds[i]) && all;
  }
  return all;
}

bool ButtonSkins::Load(const std::array<std::string, kSkinCount>& paths) {
  bool all = true;
  for (size_t i = 0; i < kSkinCount; ++i) {
    pictures_[i] = std::make_unique<pictures::PictureSurface>();
    all = pictures_[i]->LoadFile(paths[i]) && all;
  }
  return all;
}

bool Command::Create(HWND parent, int x, int y, int width, int height, std::shared_ptr<const ButtonSkins> skins,
                     const toolkit::AmbientProperties& ambient, const toolkit::PropertyBag& saved) {
  skins_ = std::move(skins);
  ambient_ = ambient;
  font_ = ambient.font;
  toolkit::PanelStyle style;
  style.background = GetSysColor(COLOR_BTNFACE);
  panel_.messageHook = [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return HandleMessage(message, wParam, lParam, result);
  };
  if (!panel_.Create(parent, x, y, width, height, style)) return false;
  caption_ = &panel_.AddLabel();
  caption_->SetText(kDesignCaption);
  caption_->SetAlignment(toolkit::Alignment::Centre);
  caption_->SetFont(toolkit::MakeFont(font_, ambient_.dpi));
  // The caption is part of the face: its mouse events are the button's.
  caption_->onMouseDown = [this](const toolkit::MouseEvent& event) { MouseDown(event); };
  caption_->onMouseUp = [this](const toolkit::MouseEvent& event) { MouseUp(event); };
  caption_->onMouseMove = [this](const toolkit::MouseEvent&) { MouseMove(); };
  panel_.onMouseDown = caption_->onMouseDown;
  panel_.onMouseUp = caption_->onMouseUp;
  panel_.onMouseMove = caption_->onMouseMove;
  focusFrame_ = &panel_.AddFocusFrame();
  ReadProperties(saved);
  changed_.clear();
  return true;
}

void Command::MarkChanged(const char* key) {
  if (std::find(changed_.begin(), changed_.end(), key) == changed_.end()) changed_.emplace_back(key);
}

void Command::SetCaption(const std::string& caption) {
  if (caption_) caption_->SetText(caption);
  MarkChanged(kCaptionKey);
}

bool Command::RefreshEnabled() {
  if (firstRun_ == 0) {
    InitialLook();
    firstRun_ = 1;
    machine_.SetEnabled(true);
  }
  EnabledLook();
  return machine_.enabled();
}

void Command::SetEnabled(bool enabled) {
  machine_.SetEnabled(enabled);
  MarkChanged(kEnabledKey);
  EnabledLook();
}

void Command::SetFont(const toolkit::FontDescription& font) {
  font_ = font;
  if (caption_) caption_->SetFont(toolkit::MakeFont(font_, ambient_.dpi));
  MarkChanged(kFontKey);
}

COLORREF Command::FontColour() {
  const COLORREF colour = caption_ ? caption_->colour() : 0;
  InitialLook();
  return colour;
}

void Command::SetFontColour(COLORREF colour) {
  if (caption_) caption_->SetColour(colour);
  MarkChanged(kFontColourKey);
  InitialLook();
}

void Command::SetOpaque(bool opaque) {
  panel_.SetTransparent(!opaque);
  if (opaque) InitialLook();
  MarkChanged(kVisibleKey);
}

void Command::Initialize() {
  Apply(machine_.Initialize());
  if (window()) SetTimer(window(), kPointerWatch, kPointerWatchMs, nullptr);
}

void Command::ReadProperties(const toolkit::PropertyBag& bag) {
  const ButtonProperties read = ReadButtonProperties(bag, ambient_.font, font_);
  machine_.SetEnabled(read.enabled);
  if (caption_) caption_->SetText(read.caption);
  font_ = read.font;
  if (caption_) caption_->SetFont(toolkit::MakeFont(font_, ambient_.dpi));
  firstRun_ = read.firstRun;
  if (caption_) caption_->SetColour(static_cast<COLORREF>(read.fontColour));
  panel_.SetTransparent(read.visible == 0);
  InitialLook();
}

void Command::WriteProperties(toolkit::PropertyBag& bag) {
  ButtonProperties written;
  written.enabled = machine_.enabled();
  written.caption = Caption();
  written.font = font_;
  written.firstRun = firstRun_;
  written.fontColour = caption_ ? static_cast<int32_t>(caption_->colour()) : 0;
  written.visible = panel_.transparent() ? 0 : 1;
  WriteButtonProperties(bag, written, ambient_.font);
  InitialLook();
}

void Command::InitialLook() {
  if (!machine_.enabled()) return;
  if (caption_) {
    caption_->SetEnabled(true);
    if (firstRun_ == 0) caption_->SetColour(RGB(0, 0, 0));
  }
  Paint(Skin::Normal);
}

void Command::EnabledLook() {
  const bool enabled = machine_.enabled();
  Paint(enabled ? Skin::Normal : Skin::Disable);
  // A disabled caption in high contrast is grey text, not engraved.
  if (caption_) caption_->SetEnabled(enabled || systemColours_);
}

void Command::Apply(const ButtonStep& step) {
  if (step.paint) Paint(*step.paint);
  if (step.click && Click) Click();
}

void Command::ShowFocusCue(bool show) {
  focusCue_ = show;
  UpdateFocusFrame();
}

void Command::UpdateFocusFrame() {
  if (!focusFrame_) return;
  const bool shown = focusCue_ && window() && GetFocus() == window();
  if (shown == focusFrame_->visible()) return;
  // Inside the skin's border.
  const int inset = MulDiv(3, Dpi(), 96);
  focusFrame_->SetBounds(inset, inset, panel_.width() - 2 * inset, panel_.height() - 2 * inset);
  focusFrame_->SetVisible(shown);
}

void Command::UseSystemColours(bool use) {
  if (use == systemColours_) return;
  systemColours_ = use;
  if (caption_) {
    if (use) ownCaptionColour_ = caption_->colour();
    caption_->SetColour(use ? GetSysColor(COLOR_BTNTEXT) : ownCaptionColour_);
  }
  EnabledLook();
}

void Command::PaintSystemFace(Skin skin) {
  HDC dc = panel_.dc();
  RECT face{0, 0, panel_.width(), panel_.height()};
  HBRUSH fill = GetSysColorBrush(COLOR_BTNFACE);
  FillRect(dc, &face, fill);
  // A frame in the text colour; a wider one in the highlight colour while
  // the pointer is over it or it has the focus.
  const bool marked = skin == Skin::HighLight || skin == Skin::Selected || skin == Skin::HighLightSelect;
  FrameRect(dc, &face, GetSysColorBrush(skin == Skin::Disable ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  if (marked) {
    InflateRect(&face, -1, -1);
    FrameRect(dc, &face, GetSysColorBrush(COLOR_HIGHLIGHT));
  }
  if (caption_) caption_->SetColour(GetSysColor(skin == Skin::Disable ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
}

void Command::Paint(Skin skin) {
  HDC dc = panel_.dc();
  if (!dc || !skins_) return;
  const int width = panel_.width();
  const int height = panel_.height();
  machine_.UpdateHotFace();
  panel_.Clear();
  if (systemColours_) {
    PaintSystemFace(skin);
    shown_ = skin;
    panel_.InvalidateArea({0, 0, width, height});
    if (caption_) {
      const int lineHeight = caption_->font() ? caption_->font()->lineHeight() : 0;
      caption_->SetBounds(0, CaptionTop(height, lineHeight, Dpi()), width, lineHeight);
    }
    UpdateFocusFrame();
    return;
  }

  // The gradient's rectangle names vertex 1 as its upper-left corner and
  // vertex 0 as its lower-right; the colours still run from top to bottom.
  const FaceGradient gradient = FaceGradientFor(machine_.hotFace());
  TRIVERTEX vertices[2] = {Vertex(0, 0, gradient.top), Vertex(width - 1, height - 1, gradient.bottom)};
  GRADIENT_RECT mesh{1, 0};
  GradientFill(dc, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_V);

  const pictures::PictureSurface& picture = (*skins_)[skin];
  if (picture.dc()) {
    SetStretchBltMode(dc, COLORONCOLOR);
    for (const BorderPiece& piece : BorderPieces(width, height)) {
      const PixelRect& d = piece.destination;
      const PixelRect& s = piece.source;
      StretchBlt(dc, d.x, d.y, d.width, d.height, picture.dc(), s.x, s.y, s.width, s.height, SRCCOPY);
    }
  }
  shown_ = skin;
  panel_.InvalidateArea({0, 0, width, height});

  if (caption_) {
    const int lineHeight = caption_->font() ? caption_->font()->lineHeight() : 0;
    const int top = CaptionTop(height, lineHeight, Dpi());
    caption_->SetBounds(0, top, width, lineHeight);
  }
}

void Command::MouseDown(const toolkit::MouseEvent& event) {
  if (!ambient_.userMode) return;
  // A press gives an enabled button the focus before it sees the press.
  if (event.button == toolkit::kLeftButton && machine_.enabled() && GetFocus() != window()) SetFocus(window());
  if (event.button == toolkit::kLeftButton) Apply(machine_.ButtonDown(MouseButton::Left));
}

void Command::MouseUp(const toolkit::MouseEvent& event) {
  if (!ambient_.userMode) return;
  const MouseButton button = event.button == toolkit::kLeftButton    ? MouseButton::Left
                             : event.button == toolkit::kRightButton ? MouseButton::Right
                                                                     : MouseButton::Middle;
  Apply(machine_.ButtonUp(button));
}

void Command::MouseMove() {
  if (ambient_.userMode) Apply(machine_.MouseMove());
}

bool Command::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_SETFOCUS:
      if (ambient_.userMode) Apply(machine_.FocusGained());
      UpdateFocusFrame();
      return true;
    case WM_KILLFOCUS:
      if (ambient_.userMode) Apply(machine_.FocusLost());
      UpdateFocusFrame();
      return true;
    case WM_SIZE:
      EnabledLook();
      return false;
    case WM_TIMER: {
      if (wParam != kPointerWatch) return false;
      POINT pointer{};
      // The caption has no window, so the pointer over it is over ours.
      if (GetCursorPos(&pointer)) Apply(machine_.TimerTick(WindowFromPoint(pointer) == window()));
      return true;
    }
    case WM_DESTROY:
      KillTimer(window(), kPointerWatch);
      return false;
    default:
      return false;
  }
}

}  // namespace ventalune::button
