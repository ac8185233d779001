#pragma once
// Where everything of the settings dialog sits: the window's size and
// placement in twips, and each element's rectangle in its container, in
// pixels as drawn at 96 dpi. On a screen of another resolution every
// rectangle scales with it, so the dialog keeps its proportions.
#include <array>
#include <cstdint>
#include <string_view>

namespace ventalune::dialog {

// The monitors group stands right of the picture group, the window wider by
// its width and a margin (172 pixels of 15 twips), so that nothing else
// moves.
inline constexpr int32_t kWindowWidthTwips = 9770;
inline constexpr int32_t kWindowHeightTwips = 5950;
inline constexpr int32_t kLayoutDpi = 96;

enum class Container { Window, PicBase, PicD0, PicD1, PicD2 };

// The elements by their names in the layout table (kLayout), which the
// window tree shows too; what each one is for:
enum class ElementId {
  PicBase,    // the tiled ground under everything, and the bottom row
  PicD0,      // the picture group's frame
  ImgTT0,     // its title plate
  Lbl0,       // its title
  ImgSel0,    // option mark: current desktop
  LblSel0,    // its caption
  ImgSel1,    // option mark: picture file
  LblSel1,    // its caption
  CmdPic,     // "..." choosing the picture file
  LblFname1,  // the chosen picture's path
  Display,    // the chosen picture, fitted
  PicD1,      // the music group's frame
  ImgTT1,     // its title plate
  Lbl1,       // its title
  ImgBgm1,    // option mark: audio CD
  LblBgm1,    // its caption
  BgmRepeat,  // the repeat-track box
  Lbl2,       // its caption
  ImgBgm0,    // option mark: no music
  LblBgm0,    // its caption
  ImgBgm2,    // option mark: MP3 or WAV file
  LblBgm2,    // its caption
  CmdBgm,     // "..." choosing the sound file
  LblFname0,  // the chosen sound file's path
  UcAniGif1,  // the animated banner, a link to the homepage
  Lbl9,       // the credit line with the version
  CmdSet,     // Save
  CmdCan,     // Cancel
  // Last, so that the elements above keep their control numbers.
  PicD2,      // the monitors group's frame
  ImgTT2,     // its title plate
  Lbl3,       // its title
  ImgMon0,    // option mark: every monitor
  LblMon0,    // its caption
  ImgMon1,    // option mark: the main monitor only
  LblMon1,    // its caption
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
