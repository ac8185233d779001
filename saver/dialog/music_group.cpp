#include "saver/dialog/music_group.h"

#include <optional>

#include "common/wide_text.h"
#include "saver/dialog/dialog_keys.h"
#include "saver/dialog/dialog_rules.h"
#include "saver/dialog/file_chooser.h"
#include "saver/settings/profile_file.h"

namespace ventalune::dialog {
namespace {

using enum ElementId;

// The music options from top to bottom: audio CD, none, sound file (the
// kinds 1, 0, 2), the order the arrows walk.
constexpr std::array<int, 3> kOptionOrder{1, 0, 2};

}  // namespace

void MusicGroup::Build(DialogElements& elements) {
  const COLORREF buttonText = GetSysColor(COLOR_BTNTEXT);
  title_ = &elements.AddLabel(frame_, Lbl1, texts_.musicFrameTitle, buttonText);
  title_->SetAlignment(toolkit::Alignment::Centre);
  SetWindowTextW(frame_.window(), WideFromUtf8(texts_.musicFrameTitle).c_str());
  constexpr std::array<ElementId, 3> kMarks{ImgBgm0, ImgBgm1, ImgBgm2};
  constexpr std::array<ElementId, 3> kCaptions{LblBgm0, LblBgm1, LblBgm2};
  const std::array<const char*, 3> captions{texts_.noMusicCaption, texts_.audioCdCaption, texts_.soundFileCaption};
  for (int i = 0; i < 3; ++i) {
    marks_[i] = &elements.AddMark(frame_, kMarks[i], i);
    marks_[i]->onClick = [this](int kind) {
      if (pressed) pressed();
      Select(kind);
    };
    captions_[i] = &elements.AddLabel(frame_, kCaptions[i], captions[i], buttonText);
    captions_[i]->SetIndex(i);
    captions_[i]->onClick = marks_[i]->onClick;
  }
  repeatCaption_ = &elements.AddLabel(frame_, Lbl2, texts_.repeatCaption, buttonText);
  const PixelRect box = elements.At(BgmRepeat);
  // The height given is the dropped list's; the box itself takes its height
  // from the font and the item height set below.
  repeatBox_ = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN,
                               box.x, box.y, box.width, box.height * 8, frame_.window(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(BgmRepeat) + 1), instance_, nullptr);
  if (repeatBox_) {
    SendMessageW(repeatBox_, WM_SETFONT, reinterpret_cast<WPARAM>(elements.boxFont()->handle()), FALSE);
    // The selection field: the box's height less its 3D edge.
    SendMessageW(repeatBox_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), box.height - 6);
  }
  AddPathBox(elements, LblFname0, buttonText);
  focus_ = &frame_.AddFocusFrame();
  elements.AddButton(chooseButton_, frame_, CmdBgm, kChooseCaption);
  chooseButton_.Click = [this] { ChooseSound(); };
}

void MusicGroup::ShowChoices(const std::wstring* repeatText) {
  const BgmGroupView view = BgmGroupFor(settings_.BgmKind);
  ShowMarks();
  EnableButton(chooseButton_, view.chooseSoundEnabled);
  if (repeatBox_) {
    EnableWindow(repeatBox_, view.repeatEnabled);
    SetWindowTextW(repeatBox_,
                   repeatText ? repeatText->c_str() : WideFromUtf8(RepeatBoxText(settings_.BgmRepeatTrack)).c_str());
  }
  ShowPath(settings_.BgmFile);
  // The list under the text; adding items leaves the text as it is.
  if (repeatBox_)
    for (const std::string& item : RepeatBoxItems())
      SendMessageW(repeatBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromUtf8(item).c_str()));
}

void MusicGroup::ShowMarks() {
  const BgmGroupView view = BgmGroupFor(settings_.BgmKind);
  for (size_t i = 0; i < marks_.size(); ++i)
    if (marks_[i]) marks_[i]->SetPicture(view.selected[i] ? optionMarks_.on : optionMarks_.off);
}

void MusicGroup::Select(int kind) {
  if (kind < 0 || kind > 2) return;
  settings_.BgmKind = static_cast<settings::MusicKind>(kind);
  const BgmGroupView view = BgmGroupFor(settings_.BgmKind);
  ShowMarks();
  if (repeatBox_) EnableWindow(repeatBox_, view.repeatEnabled);
  EnableButton(chooseButton_, view.chooseSoundEnabled);
  if (selectionChanged) selectionChanged();
}

int MusicGroup::SelectedPlace() const {
  for (size_t i = 0; i < kOptionOrder.size(); ++i)
    if (kOptionOrder[i] == static_cast<int>(settings_.BgmKind)) return static_cast<int>(i);
  return -1;
}

void MusicGroup::Step(int step) {
  const int current = SelectedPlace();
  const int next = step == 0 && current >= 0 ? current : StepOption(current, 3, step);
  Select(kOptionOrder[static_cast<size_t>(next)]);
}

void MusicGroup::ShowFocus(bool shown) {
  const int place = SelectedPlace();
  ShowFocusRound(*captions_[static_cast<size_t>(kOptionOrder[static_cast<size_t>(place < 0 ? 0 : place)])], shown);
}

void MusicGroup::ChooseSound() {
  const std::optional<std::string> path =
      ChooseFile(dialog_, instance_, {texts_, texts_.soundFilterDescription, kSoundPattern, settings_.BgmFolder});
  if (!path) return;
  settings_.BgmFile = *path;
  ShowPath(*path);
  settings_.BgmFolder = settings::ChooserFolder(settings_.BgmFile, true);
}

std::string MusicGroup::RepeatText() const {
  if (!repeatBox_) return {};
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(repeatBox_)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(repeatBox_, text.data(), static_cast<int>(text.size()))));
  return Utf8FromWide(text);
}

void MusicGroup::TakeRepeatTrack() {
  settings_.BgmRepeatTrack = RepeatTrackFromText(RepeatText(), settings_.BgmRepeatTrack);
}

bool MusicGroup::RepeatListOpen() const {
  return repeatBox_ && SendMessageW(repeatBox_, CB_GETDROPPEDSTATE, 0, 0);
}

}  // namespace ventalune::dialog
