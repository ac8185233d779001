#pragma once
// `Command`: the owner-drawn push button. Its face is a vertical white and
// lavender gradient framed by the border of one of six skin pictures, with
// the caption on a label across the whole width. A 100 ms timer notices the
// pointer leaving, since the button is told of no leave.
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/screen_dpi.h"
#include "saver/controls/button/button_properties.h"
#include "saver/controls/button/button_state.h"
#include "saver/pictures/picture_surface.h"
#include "saver/toolkit/font.h"
#include "saver/toolkit/picture_panel.h"
#include "saver/toolkit/property_bag.h"

namespace ventalune::button {

// The six 64 × 25 skins in the order of `Skin`.
class ButtonSkins {
 public:
  // From RT_RCDATA resources (BMP or JPEG bytes); false unless all six load.
  bool Load(HMODULE module, const std::array<int, kSkinCount>& resourceIds);
  bool Load(const std::array<std::string, kSkinCount>& paths);
  const pictures::PictureSurface& operator[](Skin skin) const { return *pictures_[static_cast<size_t>(skin)]; }

 private:
  std::array<std::unique_ptr<pictures::PictureSurface>, kSkinCount> pictures_;
};

inline constexpr UINT kPointerWatchMs = 100;

class Command {
 public:
  Command() = default;
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  // Places the button in `parent` (pixels, outer size) and loads its
  // persisted properties from `saved` (an empty bag gives the defaults).
  bool Create(HWND parent, int x, int y, int width, int height, std::shared_ptr<const ButtonSkins> skins,
              const toolkit::AmbientProperties& ambient, const toolkit::PropertyBag& saved = {});
  HWND window() const { return panel_.window(); }

  std::string Caption() const { return caption_ ? caption_->text() : std::string(); }
  void SetCaption(const std::string& caption);
  bool Enabled() const { return machine_.enabled(); }
  // Repaints the enabled or disabled look.
  void SetEnabled(bool enabled);
  // What reading the property does for a host: a button saved before it
  // first ran takes its first look and becomes enabled, then the enabled or
  // disabled look is painted again. Returns the flag.
  bool RefreshEnabled();
  const toolkit::FontDescription& Font() const { return font_; }
  void SetFont(const toolkit::FontDescription& font);
  // Reading and writing both apply the initial look afterwards.
  COLORREF FontColour();
  void SetFontColour(COLORREF colour);
  // The background style, persisted as "Visible" (it is not visibility):
  // false lets the parent show through around the caption; the button stays
  // where it is.
  bool Opaque() const { return !panel_.transparent(); }
  void SetOpaque(bool opaque);

  // The dotted focus rectangle inside the face, shown while the button has
  // the focus and `show` is true (the dialog follows the system's keyboard
  // cues).
  void ShowFocusCue(bool show);
  // High contrast: the face in the system's button colours with a plain
  // frame instead of the gradient and the skins, the caption in button text.
  void UseSystemColours(bool use);

  // Makes the button respond to the pointer and starts its pointer watch.
  void Initialize();
  // Raised when a mouse button is released on it (see ButtonStateMachine).
  std::function<void()> Click;

  void ReadProperties(const toolkit::PropertyBag& bag);
  void WriteProperties(toolkit::PropertyBag& bag);
  // Properties changed since creation, in the order they were changed, so a
  // designer knows what to save.
  const std::vector<std::string>& changedProperties() const { return changed_; }

  ButtonState state() const { return machine_.state(); }
  // The skin shown last; none before the first paint.
  std::optional<Skin> shownSkin() const { return shown_; }

 private:
  void Paint(Skin skin);
  int Dpi() const { return ambient_.dpi > 0 ? ambient_.dpi : ReadScreenDpi().y; }
  void PaintSystemFace(Skin skin);
  void UpdateFocusFrame();
  void Apply(const ButtonStep& step);
  void InitialLook();
  void EnabledLook();
  void MarkChanged(const char* key);
  void MouseDown(const toolkit::MouseEvent& event);
  void MouseUp(const toolkit::MouseEvent& event);
  void MouseMove();
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  toolkit::PicturePanel panel_;
  toolkit::Label* caption_ = nullptr;
  toolkit::FocusFrame* focusFrame_ = nullptr;
  bool focusCue_ = false;
  bool systemColours_ = false;
  COLORREF ownCaptionColour_ = RGB(0, 0, 0);
  std::shared_ptr<const ButtonSkins> skins_;
  toolkit::AmbientProperties ambient_;
  toolkit::FontDescription font_;
  ButtonStateMachine machine_;
  uint8_t firstRun_ = 1;
  std::optional<Skin> shown_;
  std::vector<std::string> changed_;
};

}  // namespace ventalune::button
