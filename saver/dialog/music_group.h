#pragma once
// The dialog's music group: no music, an audio CD with the track to repeat,
// or an MP3 or WAV file with the "..." button that chooses it and its path.
// It edits the settings' music choice as the user acts.
#include <windows.h>

#include <array>
#include <string>

#include "saver/dialog/choice_group.h"

namespace ventalune::dialog {

class MusicGroup final : public ChoiceGroup {
 public:
  using ChoiceGroup::ChoiceGroup;

  // What the group holds, in its frame (see CreateFrame).
  void Build(DialogElements& elements);
  // The settings as loaded. The repeat box shows `repeatText`, what the user
  // had typed before the dialog was built again, or else the track stored.
  void ShowChoices(const std::wstring* repeatText);

  // By the kind: 0 no music, 1 audio CD, 2 a sound file.
  void Select(int kind);
  // An arrow key: the next or previous option from top to bottom (audio
  // CD, none, sound file), round the group; 0 selects the focused one.
  void Step(int step);
  void ChooseSound();
  // What the repeat box holds now (UTF-8), and the track it stands for,
  // taken into the settings before they are saved.
  std::string RepeatText() const;
  void TakeRepeatTrack();

  // The keyboard's focus frame round the selected option's caption.
  void ShowFocus(bool shown);

  // By the kind, as Select takes it.
  const toolkit::ImageElement& mark(size_t kind) const { return *marks_[kind]; }
  const toolkit::Label& caption(size_t kind) const { return *captions_[kind]; }
  const toolkit::Label& repeatCaption() const { return *repeatCaption_; }
  HWND repeatBox() const { return repeatBox_; }
  bool RepeatListOpen() const;

 private:
  void ShowMarks() override;
  // The place of the selected kind from top to bottom, or -1.
  int SelectedPlace() const;

  HWND repeatBox_ = nullptr;                 // BGM_Repeat
  toolkit::Label* repeatCaption_ = nullptr;  // lbl(2)
  std::array<toolkit::ImageElement*, 3> marks_{};  // Img_BGM(0..2)
  std::array<toolkit::Label*, 3> captions_{};      // lbl_BGM(0..2)
};

}  // namespace ventalune::dialog
