#include "saver/dialog/dialog_layout.h"

namespace ventalune::dialog {

using enum ElementId;
using C = Container;

const std::array<ElementPlace, kElementCount> kLayout = {{
    {PicBase, "Pic_Base", C::Window, {0, 0, 645, 365}},
    {PicD0, "Pic_D(0)", C::Window, {12, 12, 449, 125}},
    {ImgTT0, "Img_TT(0)", C::PicD0, {8, 8, 95, 22}},
    {Lbl0, "lbl(0)", C::PicD0, {8, 12, 95, 13}},
    {ImgSel0, "Img_Sel(0)", C::PicD0, {24, 36, 13, 13}},
    {LblSel0, "lbl_Sel(0)", C::PicD0, {40, 36, 83, 13}},
    {ImgSel1, "Img_Sel(1)", C::PicD0, {24, 56, 13, 13}},
    {LblSel1, "lbl_Sel(1)", C::PicD0, {40, 56, 92, 13}},
    {CmdPic, "Cmd_Pic", C::PicD0, {140, 52, 29, 21}},
    {LblFname1, "lbl_Fname(1)", C::PicD0, {40, 76, 305, 33}},
    {Display, "Display", C::PicD0, {352, 28, 80, 80}},
    {PicD1, "Pic_D(1)", C::Window, {12, 148, 449, 145}},
    {ImgTT1, "Img_TT(1)", C::PicD1, {8, 8, 95, 22}},
    {Lbl1, "lbl(1)", C::PicD1, {8, 12, 95, 13}},
    {ImgBgm1, "Img_BGM(1)", C::PicD1, {24, 36, 13, 13}},
    {LblBgm1, "lbl_BGM(1)", C::PicD1, {40, 36, 43, 13}},
    {BgmRepeat, "BGM_Repeat", C::PicD1, {100, 32, 41, 20}},
    {Lbl2, "lbl(2)", C::PicD1, {144, 36, 66, 13}},
    {ImgBgm0, "Img_BGM(0)", C::PicD1, {24, 56, 13, 13}},
    {LblBgm0, "lbl_BGM(0)", C::PicD1, {40, 56, 23, 13}},
    {ImgBgm2, "Img_BGM(2)", C::PicD1, {24, 76, 13, 13}},
    {LblBgm2, "lbl_BGM(2)", C::PicD1, {40, 76, 60, 13}},
    {CmdBgm, "Cmd_BGM", C::PicD1, {108, 72, 29, 21}},
    {LblFname0, "lbl_Fname(0)", C::PicD1, {40, 96, 397, 33}},
    {UcAniGif1, "ucAniGIF1", C::PicBase, {12, 304, 120, 50}},
    {Lbl9, "lbl(9)", C::PicBase, {140, 304, 165, 13}},
    {CmdSet, "Cmd_Set", C::PicBase, {320, 324, 69, 29}},
    {CmdCan, "Cmd_Can", C::PicBase, {392, 324, 69, 29}},
    {PicD2, "Pic_D(2)", C::Window, {473, 12, 160, 125}},
    {ImgTT2, "Img_TT(2)", C::PicD2, {8, 8, 95, 22}},
    {Lbl3, "lbl(3)", C::PicD2, {8, 12, 95, 13}},
    {ImgMon0, "Img_Mon(0)", C::PicD2, {24, 36, 13, 13}},
    {LblMon0, "lbl_Mon(0)", C::PicD2, {40, 36, 112, 13}},
    {ImgMon1, "Img_Mon(1)", C::PicD2, {24, 56, 13, 13}},
    {LblMon1, "lbl_Mon(1)", C::PicD2, {40, 56, 112, 13}},
}};

const ElementPlace& PlaceOf(ElementId id) { return kLayout[static_cast<size_t>(id)]; }

int32_t ScaleToDpi(int32_t length, int32_t dpi) {
  if (dpi <= 0) dpi = kLayoutDpi;
  const int64_t scaled = static_cast<int64_t>(length) * dpi;
  const int64_t half = kLayoutDpi / 2;
  return static_cast<int32_t>(scaled >= 0 ? (scaled + half) / kLayoutDpi : -((-scaled + half) / kLayoutDpi));
}

PixelRect ScaleToDpi(const PixelRect& rect, int32_t dpi) {
  return {ScaleToDpi(rect.x, dpi), ScaleToDpi(rect.y, dpi), ScaleToDpi(rect.width, dpi),
          ScaleToDpi(rect.height, dpi)};
}

PixelRect ElementRect(ElementId id, int32_t dpi) { return ScaleToDpi(PlaceOf(id).rect, dpi); }

TwipsPoint WindowCornerTwips(int64_t screenWidthTwips, int64_t screenHeightTwips) {
  // C++ division drops the remainder toward zero, as wanted.
  return {(screenWidthTwips - kWindowWidthTwips) / 2, (screenHeightTwips - kWindowHeightTwips) / 3};
}

}  // namespace ventalune::dialog
