#pragma once
// Windowless elements: labels and images that their picture panel draws over
// its persistent image and finds under the mouse. They have no window of
// their own, so the pointer over one is over the panel's window.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "saver/pictures/picture_surface.h"
#include "saver/toolkit/font.h"

namespace ventalune::toolkit {

class PicturePanel;

// Mouse buttons as the events report them (one bit each) and the shift keys.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;
inline constexpr int kShiftKey = 1;
inline constexpr int kControlKey = 2;
inline constexpr int kAltKey = 4;

struct MouseEvent {
  int index = 0;   // the element's index in its array
  int button = 0;  // kLeftButton, kRightButton or kMiddleButton; 0 for moves
  int shift = 0;
  int x = 0, y = 0;  // pixels from the element's (or panel's) top-left corner
};

class Element {
 public:
  explicit Element(PicturePanel& panel) : panel_(panel) {}
  Element(const Element&) = delete;
  Element& operator=(const Element&) = delete;
  virtual ~Element() = default;

  // Placement in the panel's client pixels.
  void SetBounds(int x, int y, int width, int height);
  const RECT& bounds() const { return bounds_; }
  void SetVisible(bool visible);
  bool visible() const { return visible_; }
  // A disabled element ignores the mouse, and a label shows greyed text.
  void SetEnabled(bool enabled);
  bool enabled() const { return enabled_; }
  void SetIndex(int index) { index_ = index; }
  int index() const { return index_; }

  std::function<void(const MouseEvent&)> onMouseDown;
  std::function<void(const MouseEvent&)> onMouseUp;
  std::function<void(const MouseEvent&)> onMouseMove;
  // A press and release of a button on the element.
  std::function<void(int index)> onClick;

  virtual void Draw(HDC dc) const = 0;

 protected:
  void Changed() const;

 private:
  PicturePanel& panel_;
  RECT bounds_{};
  bool visible_ = true;
  bool enabled_ = true;
  int index_ = 0;
};

enum class Alignment { Left, Centre, Right };

class Label final : public Element {
 public:
  using Element::Element;
  // UTF-8 text, shown through the wide API whatever the system code page.
  void SetText(std::string text);
  const std::string& text() const { return text_; }
  void SetFont(SharedFont font);
  const SharedFont& font() const { return font_; }
  void SetColour(COLORREF colour);
  COLORREF colour() const { return colour_; }
  void SetAlignment(Alignment alignment);
  void SetBorder(bool single);
  // Wrapping at word breaks is on by default; a caption with it off stays
  // on one line, running past its right edge when the face is wider.
  void SetWordWrap(bool wrap);
  // Transparent by default; an opaque label fills its bounds first.
  void SetBackground(bool opaque, COLORREF colour = RGB(255, 255, 255));
  // For texts that are data, such as paths: an ampersand shows as itself
  // rather than underlining the next character, and nothing is drawn
  // outside the bounds, so a later, shorter text leaves no trace.
  void SetDataText(bool data);

  void Draw(HDC dc) const override;

 private:
  std::string text_;
  SharedFont font_;
  COLORREF colour_ = RGB(0, 0, 0);
  Alignment alignment_ = Alignment::Left;
  bool border_ = false;
  bool wordWrap_ = true;
  bool opaque_ = false;
  bool dataText_ = false;
  COLORREF background_ = RGB(255, 255, 255);
};

// The dotted focus rectangle round a control drawn on a panel. It is drawn
// by inverting, so it shows on any colour underneath.
class FocusFrame final : public Element {
 public:
  using Element::Element;
  void Draw(HDC dc) const override;
};

class ImageElement final : public Element {
 public:
  using Element::Element;
  // The picture is shared: several elements may show one picture.
  void SetPicture(std::shared_ptr<const pictures::PictureSurface> picture);
  const std::shared_ptr<const pictures::PictureSurface>& picture() const { return picture_; }
  void Draw(HDC dc) const override;

 private:
  std::shared_ptr<const pictures::PictureSurface> picture_;
};

}  // namespace ventalune::toolkit
