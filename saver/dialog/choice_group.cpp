#include "saver/dialog/choice_group.h"

namespace ventalune::dialog {

void ChoiceGroup::CreateFrame(DialogElements& elements, HWND dialog, ElementId id) {
  dialog_ = dialog;
  instance_ = elements.instance();
  toolkit::PanelStyle framed;
  framed.border3d = true;
  framed.background = RGB(192, 192, 192);
  elements.CreatePanel(frame_, dialog, id, framed);
  SetWindowPos(frame_.window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ChoiceGroup::SetOptionMarks(const OptionMarks& marks) {
  optionMarks_ = marks;
  ShowMarks();
}

void ChoiceGroup::AddPathBox(DialogElements& elements, ElementId id, COLORREF colour) {
  pathShown_ = &elements.AddLabel(frame_, id, "", colour);
  pathShown_->SetBorder(true);
  pathShown_->SetWordWrap(true);
  pathShown_->SetDataText(true);
  pathBoxIndex_ = paths_.Add(frame_, *pathShown_);
}

void ChoiceGroup::ShowFocusRound(const toolkit::Label& caption, bool shown) {
  if (!focus_) return;
  if (shown) {
    const RECT& r = caption.bounds();
    focus_->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  if (focus_->visible() != shown) focus_->SetVisible(shown);
}

}  // namespace ventalune::dialog
