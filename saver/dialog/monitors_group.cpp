#include "saver/dialog/monitors_group.h"

#include "common/wide_text.h"
#include "saver/dialog/dialog_keys.h"
#include "saver/dialog/dialog_rules.h"

namespace ventalune::dialog {

using enum ElementId;

void MonitorsGroup::Build(DialogElements& elements) {
  const COLORREF buttonText = GetSysColor(COLOR_BTNTEXT);
  title_ = &elements.AddLabel(frame_, Lbl3, texts_.monitorsFrameTitle, buttonText);
  title_->SetAlignment(toolkit::Alignment::Centre);
  SetWindowTextW(frame_.window(), WideFromUtf8(texts_.monitorsFrameTitle).c_str());
  constexpr std::array<ElementId, 2> kMarks{ImgMon0, ImgMon1};
  constexpr std::array<ElementId, 2> kCaptions{LblMon0, LblMon1};
  const std::array<const char*, 2> captions{texts_.everyMonitorCaption, texts_.mainMonitorCaption};
  for (int i = 0; i < 2; ++i) {
    marks_[i] = &elements.AddMark(frame_, kMarks[i], i);
    marks_[i]->onClick = [this](int option) {
      if (pressed) pressed();
      Select(option);
    };
    captions_[i] = &elements.AddLabel(frame_, kCaptions[i], captions[i], buttonText);
    captions_[i]->SetIndex(i);
    captions_[i]->onClick = marks_[i]->onClick;
  }
  focus_ = &frame_.AddFocusFrame();
}

void MonitorsGroup::ShowMarks() {
  const int selected = SelectedOption();
  for (size_t i = 0; i < marks_.size(); ++i)
    if (marks_[i]) marks_[i]->SetPicture(static_cast<int>(i) == selected ? optionMarks_.on : optionMarks_.off);
}

int MonitorsGroup::SelectedOption() const { return MonitorsOptionFor(settings_.Monitors); }

void MonitorsGroup::Select(int option) {
  if (option < 0 || option > 1) return;
  settings_.Monitors = option == 0 ? settings::kMonitorsEvery : settings::kMonitorsMainOnly;
  ShowMarks();
  if (selectionChanged) selectionChanged();
}

void MonitorsGroup::Step(int step) {
  const int current = SelectedOption();
  Select(step == 0 ? current : StepOption(current, 2, step));
}

void MonitorsGroup::ShowFocus(bool shown) {
  ShowFocusRound(*captions_[static_cast<size_t>(SelectedOption())], shown);
}

}  // namespace ventalune::dialog
