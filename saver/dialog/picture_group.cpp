#include "saver/dialog/picture_group.h"

#include <optional>

#include "common/wide_text.h"
#include "saver/dialog/dialog_drawing.h"
#include "saver/dialog/dialog_keys.h"
#include "saver/dialog/dialog_rules.h"
#include "saver/dialog/file_chooser.h"
#include "saver/settings/profile_file.h"

namespace ventalune::dialog {

using enum ElementId;

void PictureGroup::Build(DialogElements& elements) {
  toolkit::PanelStyle hidden;
  hidden.visible = false;
  hidden.sizeToPicture = true;
  hidden.background = GetSysColor(COLOR_WINDOW);
  previewScratch_.Create(dialog_, -2000, 0, elements.Scaled(57), elements.Scaled(53), hidden);
  previewSide_ = elements.Scaled(kPreviewSide);

  const COLORREF buttonText = GetSysColor(COLOR_BTNTEXT);
  title_ = &elements.AddLabel(frame_, Lbl0, texts_.pictureFrameTitle, GetSysColor(COLOR_WINDOWTEXT));
  title_->SetAlignment(toolkit::Alignment::Centre);
  SetWindowTextW(frame_.window(), WideFromUtf8(texts_.pictureFrameTitle).c_str());
  for (int i = 0; i < 2; ++i) {
    marks_[i] = &elements.AddMark(frame_, i == 0 ? ImgSel0 : ImgSel1, i);
    marks_[i]->onMouseDown = [this](const toolkit::MouseEvent& e) {
      if (pressed) pressed();
      Select(e.index, false);
    };
    captions_[i] = &elements.AddLabel(frame_, i == 0 ? LblSel0 : LblSel1,
                                      i == 0 ? texts_.desktopCaption : texts_.pictureFileCaption, buttonText);
    captions_[i]->SetIndex(i);
    captions_[i]->onMouseDown = [this](const toolkit::MouseEvent& e) {
      if (pressed) pressed();
      Select(e.index, true);
    };
  }
  AddPathBox(elements, LblFname1, buttonText);
  focus_ = &frame_.AddFocusFrame();
  toolkit::PanelStyle displayStyle;
  displayStyle.background = GetSysColor(COLOR_WINDOW);
  elements.CreatePanel(preview_, frame_.window(), Display, displayStyle);
  elements.AddButton(chooseButton_, frame_, CmdPic, kChooseCaption);
  chooseButton_.Click = [this] { ChoosePicture(); };
}

void PictureGroup::ShowChoices() {
  const PictureGroupView view = PictureGroupFor(settings_.PictureKind);
  ShowMarks();
  EnableButton(chooseButton_, view.choosePictureEnabled);
  ShowPath(settings_.PictureFile);
  const bool pictureInUse = settings_.PictureKind == settings::kPictureFile;
  if (pictureInUse) ShowPreview(settings_.PictureFile);
  settings_.PictureFolder = settings::ChooserFolder(settings_.PictureFile, pictureInUse);
}

void PictureGroup::ShowMarks() {
  const PictureGroupView view = PictureGroupFor(settings_.PictureKind);
  // A kind outside the group selects nothing and shows no mark.
  if (!view.selected[0] && !view.selected[1]) return;
  for (size_t i = 0; i < marks_.size(); ++i)
    if (marks_[i]) marks_[i]->SetPicture(view.selected[i] ? optionMarks_.on : optionMarks_.off);
}

// A picture too large for memory loads as an unreadable one: no preview.
void PictureGroup::ShowPreview(const std::string& path) {
  dialog::ShowPreview(path, preview_, previewScratch_, previewSide_);
}

int PictureGroup::SelectedOption() const {
  return settings_.PictureKind == 0 || settings_.PictureKind == 1 ? settings_.PictureKind : -1;
}

void PictureGroup::Select(int index, bool onCaption) {
  if (index < 0 || index > 1) return;
  settings_.PictureKind = static_cast<int16_t>(index);
  const PictureGroupView view = PictureGroupFor(settings_.PictureKind);
  ShowMarks();
  EnableButton(chooseButton_, view.choosePictureEnabled);
  if (PressClearsPictureShown(index, onCaption)) {
    // What is shown goes; the setting keeps its file and is saved with it.
    ShowPath("");
    preview_.Clear();
    preview_.Resize(previewSide_, previewSide_);
    preview_.Refresh();
  }
  if (selectionChanged) selectionChanged();
}

void PictureGroup::Step(int step) {
  const int current = SelectedOption();
  Select(step == 0 && current >= 0 ? current : StepOption(current, 2, step), false);
}

void PictureGroup::ShowFocus(bool shown) {
  const int selected = SelectedOption();
  ShowFocusRound(*captions_[static_cast<size_t>(selected < 0 ? 0 : selected)], shown);
}

void PictureGroup::ChoosePicture() {
  const std::optional<std::string> path = ChooseFile(
      dialog_, instance_, {texts_, texts_.pictureFilterDescription, kPicturePattern, settings_.PictureFolder});
  if (!path) return;
  settings_.PictureFile = *path;
  ShowPath(*path);
  settings_.PictureFolder = settings::ChooserFolder(*path, true);
  ShowPreview(*path);
}

}  // namespace ventalune::dialog
