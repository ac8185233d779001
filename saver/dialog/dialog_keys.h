#pragma once
// The settings dialog from the keyboard, apart from its window: the order
// Tab walks through, and what each key does where the focus is. The option
// groups and buttons are drawn on panels, not dialog controls, so the
// system's own dialog navigation cannot do this for them.
#include <array>
#include <cstddef>

namespace ventalune::dialog {

// The places the focus can be, in reading order, which is also Tab's order:
// the picture group, the monitors group beside it, the music group below.
enum class Stop { PictureOptions, ChoosePicture, MonitorOptions, MusicOptions, RepeatBox, ChooseSound, Save, Cancel };
inline constexpr size_t kStopCount = 8;
using StopsEnabled = std::array<bool, kStopCount>;

// The enabled stop after (or before) `from`, round the end; `from` itself
// when no other is enabled.
Stop NextStop(Stop from, bool backwards, const StopsEnabled& enabled);
// `from` while it is enabled, else the next enabled stop after it.
Stop EnabledStopFrom(Stop from, const StopsEnabled& enabled);

enum class Key { Tab, Left, Right, Up, Down, Space, Enter, Escape, Other };

enum class KeyAction {
  PassOn,          // the focused window handles it as usual
  FocusNext,
  FocusPrevious,
  SelectPrevious,  // within an option group, selecting as the focus moves
  SelectNext,
  SelectFocused,   // selects the focused option
  PressFocused,    // the focused button, as a click
  PressSave,       // the default button
  Cancel,          // as the close box
};

// What a key pressed with the focus at `focused` does. `listOpen`: the
// repeat box's list is dropped down, and takes Enter and Esc itself.
KeyAction RouteKey(Key key, bool shift, Stop focused, bool listOpen);

// The option an arrow moves to in a group of `count`, round the ends; a
// group with nothing selected (current < 0) starts at its first option.
int StepOption(int current, int count, int step);

}  // namespace ventalune::dialog
