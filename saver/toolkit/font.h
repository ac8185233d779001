#pragma once
// A GDI font made from a font description, released with the object.
#include <windows.h>

#include <memory>

#include "common/handles.h"
#include "saver/toolkit/property_bag.h"

namespace ventalune::toolkit {

class Font {
 public:
  // Sized for `dpi` (0: the screen's real resolution); the face is named in
  // UTF-8. When
  // the system lacks that face, the font mapper picks the closest one of
  // the character set asked for. Falls back to the system's GUI
  // font when the platform cannot make this one.
  explicit Font(const FontDescription& description, int dpi = 0);
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  HFONT handle() const { return handle_ ? handle_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }
  const FontDescription& description() const { return description_; }
  // The height of one line of text in pixels.
  int lineHeight() const;

 private:
  FontDescription description_;
  OwnedFont handle_;
};

using SharedFont = std::shared_ptr<const Font>;
inline SharedFont MakeFont(const FontDescription& description, int dpi = 0) {
  return std::make_shared<const Font>(description, dpi);
}

}  // namespace ventalune::toolkit
