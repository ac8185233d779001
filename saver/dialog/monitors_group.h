#pragma once
// The dialog's monitors group: the room on every monitor, or on the main
// monitor only with the others dark. It edits the settings' monitors choice
// as the user acts; a number it does not know stays as it was until then.
// It chooses no file, so its frame has no "..." button and no path box.
#include <windows.h>

#include <array>

#include "saver/dialog/choice_group.h"

namespace ventalune::dialog {

class MonitorsGroup final : public ChoiceGroup {
 public:
  using ChoiceGroup::ChoiceGroup;

  // What the group holds, in its frame (see CreateFrame).
  void Build(DialogElements& elements);
  // The settings as loaded.
  void ShowChoices() { ShowMarks(); }

  // Option 0 every monitor, 1 the main monitor only.
  void Select(int option);
  // An arrow key: the other option; 0 selects the one shown selected.
  void Step(int step);

  // The keyboard's focus frame round the selected option's caption.
  void ShowFocus(bool shown);
  // The option shown selected (see MonitorsOptionFor).
  int SelectedOption() const;

  const toolkit::ImageElement& mark(size_t option) const { return *marks_[option]; }
  const toolkit::Label& caption(size_t option) const { return *captions_[option]; }

 private:
  void ShowMarks() override;

  std::array<toolkit::ImageElement*, 2> marks_{};  // Img_Mon(0..1)
  std::array<toolkit::Label*, 2> captions_{};      // lbl_Mon(0..1)
};

}  // namespace ventalune::dialog
