#include "saver/dialog/path_boxes.h"

#include <commctrl.h>

#include "common/handles.h"
#include "common/wide_text.h"
#include "saver/dialog/path_shortening.h"

namespace ventalune::dialog {

PathBoxes::~PathBoxes() {
  if (tips_) DestroyWindow(tips_);
}

size_t PathBoxes::Add(toolkit::PicturePanel& panel, toolkit::Label& label) {
  boxes_.push_back({&panel, &label, {}});
  return boxes_.size() - 1;
}

void PathBoxes::Show(size_t box, const std::string& ansiPath) {
  if (box >= boxes_.size()) return;
  toolkit::Label& label = *boxes_[box].label;
  // Paths are bytes in the system code page; labels take UTF-8.
  const std::wstring wide = WideFromAnsi(ansiPath);
  const std::string utf8 = Utf8FromWide(wide);
  const RECT& bounds = label.bounds();
  // Inside the box's one-pixel border.
  const int width = bounds.right - bounds.left - 2;
  const int height = bounds.bottom - bounds.top - 2;
  {
    const WindowDc windowDc(dialog_);
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
  }

  boxes_[box].fullPath = wide;
  if (!tips_) CreateTips();
  if (!tips_) return;
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.hwnd = boxes_[box].panel->window();
  info.uId = box + 1;
  info.lpszText = boxes_[box].fullPath.data();
  SendMessageW(tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void PathBoxes::CreateTips() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  // No prefix handling: an ampersand in a path is one.
  tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog_, nullptr, instance_,
                          nullptr);
  if (!tips_) return;
  // Long paths wrap at the screen's width rather than running off it.
  SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN) / 2);
  for (size_t i = 0; i < boxes_.size(); ++i) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = boxes_[i].panel->window();
    info.uId = i + 1;
    info.rect = boxes_[i].label->bounds();
    info.lpszText = boxes_[i].fullPath.data();
    SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

}  // namespace ventalune::dialog
