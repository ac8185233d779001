#include "saver/toolkit/font.h"

#include <algorithm>

#include "common/handles.h"
#include "saver/toolkit/screen_units.h"
#include "common/wide_text.h"

namespace ventalune::toolkit {

Font::Font(const FontDescription& description, int dpi) : description_(description) {
  LOGFONTW font{};
  // Hundredths of a point to pixels of character height (negative: the
  // em height, not the cell height).
  font.lfHeight = -MulDiv(description.sizeHundredths, dpi > 0 ? dpi : ReadScreenDpi().y, 7200);
  font.lfWeight = description.weight;
  font.lfItalic = description.italic;
  font.lfUnderline = description.underline;
  font.lfStrikeOut = description.strikeout;
  font.lfCharSet = description.charset;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  // Faces are asked for by their Unicode names (a Japanese face has a
  // Japanese name), so the font is found under any system code page.
  const std::wstring face = WideFromUtf8(description.face);
  const size_t length = std::min(face.size(), static_cast<size_t>(LF_FACESIZE - 1));
  std::copy_n(face.data(), length, font.lfFaceName);
  handle_.reset(CreateFontIndirectW(&font));
}

int Font::lineHeight() const {
  const WindowDc screen;
  if (!screen) return 0;
  const SelectedObject selected(screen.get(), handle());
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen.get(), &metrics);
  return metrics.tmHeight;
}

}  // namespace ventalune::toolkit
