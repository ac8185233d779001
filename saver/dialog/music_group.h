#pragma once
// The dialog's music group: no music, an audio CD with the track to repeat,
// or an MP3 or WAV file with the "..." button that chooses it and its path.
// It edits the settings' music choice as the user acts.
#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "saver/controls/button/command.h"
#include "saver/dialog/dialog_elements.h"
#include "saver/dialog/dialog_texts.h"
#include "saver/dialog/option_marks.h"
#include "saver/dialog/path_boxes.h"
#include "saver/settings/settings_store.h"
#include "saver/toolkit/picture_panel.h"

namespace ventalune::dialog {

class MusicGroup {
 public:
  MusicGroup(settings::Settings& settings, const DialogTexts& texts, PathBoxes& paths)
      : settings_(settings), texts_(texts), paths_(paths) {}
  MusicGroup(const MusicGroup&) = delete;
  MusicGroup& operator=(const MusicGroup&) = delete;

  // The group's frame in the dialog window, then what it holds.
  void CreateFrame(DialogElements& elements, HWND dialog);
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

  void SetOptionMarks(const OptionMarks& marks);
  // The keyboard's focus frame round the selected option's caption.
  void ShowFocus(bool shown);

  // A press on an option: the keyboard goes to the group.
  std::function<void()> pressed;
  // After a selection: what the dialog shows and tells screen readers follows.
  std::function<void()> selectionChanged;

  toolkit::PicturePanel& frame() { return frame_; }
  const toolkit::Label& title() const { return *title_; }
  // By the kind, as Select takes it.
  const toolkit::ImageElement& mark(size_t kind) const { return *marks_[kind]; }
  const toolkit::Label& caption(size_t kind) const { return *captions_[kind]; }
  const toolkit::Label& repeatCaption() const { return *repeatCaption_; }
  HWND repeatBox() const { return repeatBox_; }
  bool RepeatListOpen() const;
  const toolkit::Label& pathBox() const { return *pathShown_; }
  const std::wstring& fullPath() const { return paths_.FullPath(pathBoxIndex_); }
  button::Command& chooseButton() { return chooseButton_; }
  const button::Command& chooseButton() const { return chooseButton_; }

 private:
  void ShowMarks();
  // The place of the selected kind from top to bottom, or -1.
  int SelectedPlace() const;

  settings::Settings& settings_;
  const DialogTexts& texts_;
  PathBoxes& paths_;
  HWND dialog_ = nullptr;
  HINSTANCE instance_ = nullptr;
  OptionMarks optionMarks_;

  toolkit::PicturePanel frame_;               // Pic_D(1)
  button::Command chooseButton_;              // Cmd_BGM
  HWND repeatBox_ = nullptr;                  // BGM_Repeat
  toolkit::Label* title_ = nullptr;           // lbl(1)
  toolkit::Label* repeatCaption_ = nullptr;   // lbl(2)
  std::array<toolkit::ImageElement*, 3> marks_{};  // Img_BGM(0..2)
  std::array<toolkit::Label*, 3> captions_{};      // lbl_BGM(0..2)
  toolkit::Label* pathShown_ = nullptr;       // lbl_Fname(0)
  size_t pathBoxIndex_ = 0;
  toolkit::FocusFrame* focus_ = nullptr;
};

}  // namespace ventalune::dialog
