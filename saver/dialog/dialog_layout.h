#pragma once
// Where everything of the settings dialog sits: the window's size and
// placement in twips, and each element's rectangle in its container, in
// pixels as drawn at 96 dpi. On a screen of another resolution every
// rectangle scales with it, so the dialog keeps its proportions.
#include <array>
#include <cstdint>
#include <string_view>

namespace ventalune::dialog {

inline constexpr int32_t kWindowWidthTwips = 7190;
inline constexpr int32_t kWindowHeightTwips = 5950;
inline constexpr int32_t kLayoutDpi = 96;

enum class Container { Window, PicBase, PicD0, PicD1 };

enum class ElementId {
  PicBase, PicD0, ImgTT0, Lbl0, ImgSel0, LblSel0, ImgSel1, LblSel1, CmdPic, LblFname1, Display,
  PicD1, ImgTT1, Lbl1, ImgBgm1, LblBgm1, BgmRepeat, Lbl2, ImgBgm0, LblBgm0, ImgBgm2, LblBgm2, CmdBgm, LblFname0,
  UcAniGif1, Lbl9, CmdSet, CmdCan,
  kCount
};

struct PixelRect {
  int32_t x = 0, y = 0, width = 0, height = 0;
  bool operator==(const PixelRect&) const = default;
};

struct ElementPlace {
  ElementId id;
  std::string_view name;  // as the window tree names windowed elements
  Container container;
  PixelRect rect;         // at 96 dpi
};

inline constexpr size_t kElementCount = static_cast<size_t>(ElementId::kCount);
extern const std::array<ElementPlace, kElementCount> kLayout;

const ElementPlace& PlaceOf(ElementId id);

// A length at `dpi`, rounded to the nearest pixel (halves away from zero).
// A resolution that is not positive counts as 96 dpi.
int32_t ScaleToDpi(int32_t length, int32_t dpi);
PixelRect ScaleToDpi(const PixelRect& rect, int32_t dpi);
// An element's rectangle in its container at `dpi`.
PixelRect ElementRect(ElementId id, int32_t dpi);

// The window's top-left corner in twips on a screen of the given size in
// twips: centred across, a third of the free height above it. Each
// difference is a whole number of twips, divided with the remainder
// dropped (toward zero, so a window larger than the screen starts left of
// or above it).
struct TwipsPoint {
  int64_t x = 0, y = 0;
  bool operator==(const TwipsPoint&) const = default;
};
TwipsPoint WindowCornerTwips(int64_t screenWidthTwips, int64_t screenHeightTwips);

}  // namespace ventalune::dialog
