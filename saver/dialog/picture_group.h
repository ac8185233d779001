#pragma once
// The dialog's picture group: "current desktop" or "picture file", the
// "..." button that chooses the file, the chosen path and its preview. It
// edits the settings' picture choice as the user acts.
#include <windows.h>

#include <array>
#include <string>

#include "saver/dialog/choice_group.h"

namespace ventalune::dialog {

class PictureGroup final : public ChoiceGroup {
 public:
  using ChoiceGroup::ChoiceGroup;

  // What the group holds, in its frame (see CreateFrame).
  void Build(DialogElements& elements);
  // The settings as loaded: the marks, the button, the path and the preview.
  void ShowChoices();

  // Index 0 the desktop, 1 a picture file; a press on the desktop's caption
  // also clears what is shown (see PressClearsPictureShown).
  void Select(int index, bool onCaption);
  // An arrow key: the next or previous option round the group; 0 selects
  // the one with the focus.
  void Step(int step);
  void ChoosePicture();

  // The keyboard's focus frame round the selected option's caption.
  void ShowFocus(bool shown);
  // The option selected now, or -1 for a kind outside the group.
  int SelectedOption() const;

  const toolkit::ImageElement& mark(size_t index) const { return *marks_[index]; }
  const toolkit::Label& caption(size_t index) const { return *captions_[index]; }

 private:
  void ShowMarks() override;
  void ShowPreview(const std::string& path);

  int previewSide_ = 0;
  toolkit::PicturePanel preview_;         // Display: the chosen picture, fitted
  toolkit::PicturePanel previewScratch_;  // Pic_Dummy: the picture loaded at its own size, hidden
  std::array<toolkit::ImageElement*, 2> marks_{};  // Img_Sel(0..1)
  std::array<toolkit::Label*, 2> captions_{};      // lbl_Sel(0..1)
};

}  // namespace ventalune::dialog
