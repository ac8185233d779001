#pragma once
// The settings dialog's rules, apart from its window: which option marks
// show selected and which controls are enabled for a choice, the repeat
// box's texts, and which chosen paths the settings file can hold.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "saver/settings/settings_store.h"

namespace ventalune::dialog {

// The picture group: the marks of "current desktop" and "picture file", and
// whether the picture chooser's button is enabled.
struct PictureGroupView {
  std::array<bool, 2> selected{};
  bool choosePictureEnabled = false;
  bool operator==(const PictureGroupView&) const = default;
};
// A kind outside 0..1 (a hand-edited file) selects no mark.
PictureGroupView PictureGroupFor(int16_t pictureKind);

// What a press in the picture group does beyond selecting: a press on the
// desktop option's caption (not on its mark) also clears the path shown
// and the preview; the setting itself keeps its file.
bool PressClearsPictureShown(int index, bool onCaption);

// The music group: marks of "none", "audio CD", "sound file"; the repeat
// box is enabled for the CD, the sound chooser for a sound file.
struct BgmGroupView {
  std::array<bool, 3> selected{};
  bool repeatEnabled = false;
  bool chooseSoundEnabled = false;
  bool operator==(const BgmGroupView&) const = default;
};
BgmGroupView BgmGroupFor(settings::MusicKind bgmKind);

// The option the monitors group shows selected: 0 every monitor, 1 the
// main monitor only. Any other number (a hand-edited file) shows "every
// monitor", as a run treats it; the number itself stays in the settings
// until the user picks an option.
int MonitorsOptionFor(int16_t monitors);

// The repeat box shows the track as plain digits, and nothing for 0.
std::string RepeatBoxText(int16_t track);
// Its list: "" and then "1" to "20".
std::vector<std::string> RepeatBoxItems();

// The track the box's text (UTF-8) stands for when saving. A number (blanks
// round it, a sign, digits with an optional fraction) is rounded to a whole
// one, halves to the even neighbour; any other text, the empty one
// included, means 0. A number outside -32768..32767 cannot be taken: the
// previous track stays. The full-width digits, blank, plus, minus and full
// stop a Japanese input method types read as their ASCII forms.
int16_t RepeatTrackFromText(std::string_view text, int16_t previous);

// The system services a chosen path goes through before it is stored.
class PathPort {
 public:
  virtual ~PathPort() = default;
  // The path in the system's ANSI code page, or nothing when some
  // character has no place there.
  virtual std::optional<std::string> ToAnsi(std::wstring_view path) = 0;
  // The file's short (8.3) name, when the file system has one.
  virtual std::optional<std::wstring> ShortForm(std::wstring_view path) = 0;
};

// The longest path a settings value holds intact: it must come back
// through the 255-byte read with room to spare, as the chooser's own
// 255-character buffer allowed.
inline constexpr size_t kMaxStoredPathBytes = 254;

// Why a chosen path cannot be stored, so the dialog can tell the user.
enum class PathRefusal {
  None,
  Empty,
  // The code page holds the path or its short form, but neither fits
  // kMaxStoredPathBytes: a shorter path would do.
  TooLong,
  // The code page holds neither the path nor its short form.
  NotInCodePage,
};

// A chooser's answer as the settings file can take it: the path to store,
// or why there is none.
struct StorableChoice {
  std::optional<std::string> path;  // set exactly when `refusal` is None
  PathRefusal refusal = PathRefusal::None;
  bool operator==(const StorableChoice&) const = default;
};

// The path to store for a chooser's answer: as chosen when the system
// code page holds it and it fits; otherwise its short form under the same
// conditions; otherwise nothing (the choice is refused, as a cancel).
StorableChoice StorablePath(std::wstring_view chosen, PathPort& paths);

}  // namespace ventalune::dialog
