#include "saver/dialog/dialog_keys.h"

namespace ventalune::dialog {
namespace {

size_t IndexOf(Stop stop) { return static_cast<size_t>(stop); }

bool IsButton(Stop stop) {
  return stop == Stop::ChoosePicture || stop == Stop::ChooseSound || stop == Stop::Save || stop == Stop::Cancel;
}

bool IsOptionGroup(Stop stop) {
  return stop == Stop::PictureOptions || stop == Stop::MonitorOptions || stop == Stop::MusicOptions;
}

}  // namespace

Stop NextStop(Stop from, bool backwards, const StopsEnabled& enabled) {
  size_t at = IndexOf(from) % kStopCount;
  for (size_t step = 1; step < kStopCount; ++step) {
    at = backwards ? (at + kStopCount - 1) % kStopCount : (at + 1) % kStopCount;
    if (enabled[at]) return static_cast<Stop>(at);
  }
  return from;
}

Stop EnabledStopFrom(Stop from, const StopsEnabled& enabled) {
  return enabled[IndexOf(from) % kStopCount] ? from : NextStop(from, false, enabled);
}

KeyAction RouteKey(Key key, bool shift, Stop focused, bool listOpen) {
  const bool inRepeatBox = focused == Stop::RepeatBox;
  switch (key) {
    case Key::Tab:
      return shift ? KeyAction::FocusPrevious : KeyAction::FocusNext;
    case Key::Escape:
      return inRepeatBox && listOpen ? KeyAction::PassOn : KeyAction::Cancel;
    case Key::Enter:
      if (inRepeatBox && listOpen) return KeyAction::PassOn;
      return IsButton(focused) ? KeyAction::PressFocused : KeyAction::PressSave;
    case Key::Space:
      if (IsButton(focused)) return KeyAction::PressFocused;
      return IsOptionGroup(focused) ? KeyAction::SelectFocused : KeyAction::PassOn;
    case Key::Left:
    case Key::Up:
      return IsOptionGroup(focused) ? KeyAction::SelectPrevious : KeyAction::PassOn;
    case Key::Right:
    case Key::Down:
      return IsOptionGroup(focused) ? KeyAction::SelectNext : KeyAction::PassOn;
    case Key::Other:
      break;
  }
  return KeyAction::PassOn;
}

int StepOption(int current, int count, int step) {
  if (count <= 0) return -1;
  if (current < 0 || current >= count) return 0;
  return ((current + step) % count + count) % count;
}

}  // namespace ventalune::dialog
