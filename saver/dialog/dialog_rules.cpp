#include "saver/dialog/dialog_rules.h"

#include <cmath>
#include <cstdlib>
#include <utility>


namespace ventalune::dialog {

PictureGroupView PictureGroupFor(int16_t pictureKind) {
  PictureGroupView view;
  if (pictureKind == settings::kPictureDesktop || pictureKind == settings::kPictureFile)
    view.selected[static_cast<size_t>(pictureKind)] = true;
  view.choosePictureEnabled = pictureKind == settings::kPictureFile;
  return view;
}

bool PressClearsPictureShown(int index, bool onCaption) { return onCaption && index != settings::kPictureFile; }

BgmGroupView BgmGroupFor(settings::MusicKind bgmKind) {
  using settings::MusicKind;
  BgmGroupView view;
  if (bgmKind == MusicKind::kNone || bgmKind == MusicKind::kAudioCd || bgmKind == MusicKind::kSoundFile)
    view.selected[static_cast<size_t>(bgmKind)] = true;
  view.repeatEnabled = bgmKind == MusicKind::kAudioCd;
  view.chooseSoundEnabled = bgmKind == MusicKind::kSoundFile;
  return view;
}

int MonitorsOptionFor(int16_t monitors) { return monitors == settings::kMonitorsMainOnly ? 1 : 0; }

std::string RepeatBoxText(int16_t track) { return track == 0 ? std::string() : std::to_string(track); }

std::vector<std::string> RepeatBoxItems() {
  std::vector<std::string> items;
  for (int16_t track = 0; track <= 20; ++track) items.push_back(RepeatBoxText(track));
  return items;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The ASCII character a full-width one at the start of `text` (UTF-8)
// stands for: the ideographic space, or one of U+FF0B plus, U+FF0D minus,
// U+FF0E full stop and the digits U+FF10..U+FF19, which run EF BC 90..99.
std::optional<char> AsciiOfFullWidth(std::string_view text) {
  if (text.starts_with("\xE3\x80\x80")) return ' ';
  if (text.size() < 3 || !text.starts_with("\xEF\xBC")) return std::nullopt;
  const auto last = static_cast<unsigned char>(text[2]);
  if (last >= 0x90 && last <= 0x99) return static_cast<char>('0' + (last - 0x90));
  if (last == 0x8B) return '+';
  if (last == 0x8D) return '-';
  if (last == 0x8E) return '.';
  return std::nullopt;
}

// The text with every full-width form read as its ASCII character; any
// other byte, a broken sequence's included, is kept as it is and so fails
// the number rule.
std::string AsciiForms(std::string_view text) {
  std::string ascii;
  ascii.reserve(text.size());
  while (!text.empty()) {
    if (const std::optional<char> c = AsciiOfFullWidth(text)) {
      ascii += *c;
      text.remove_prefix(3);  // every full-width form is three bytes long
    } else {
      ascii += text.front();
      text.remove_prefix(1);
    }
  }
  return ascii;
}

// The number a plain decimal text stands for, or nothing.
std::optional<double> PlainNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  size_t at = 0;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  size_t digits = 0;
  while (at < text.size() && IsDigit(text[at])) ++at, ++digits;
  if (at < text.size() && text[at] == '.') {
    ++at;
    while (at < text.size() && IsDigit(text[at])) ++at, ++digits;
  }
  if (digits == 0 || at != text.size()) return std::nullopt;
  // strtod reads any length; a huge value comes back as infinity.
  return std::strtod(std::string(text).c_str(), nullptr);
}

}  // namespace

int16_t RepeatTrackFromText(std::string_view text, int16_t previous) {
  const std::optional<double> number = PlainNumber(AsciiForms(text));
  if (!number) return 0;
  // The default rounding mode sends halves to the even neighbour.
  const double rounded = std::nearbyint(*number);
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) return previous;
  return static_cast<int16_t>(rounded);
}

StorableChoice StorablePath(std::wstring_view chosen, PathPort& paths) {
  if (chosen.empty()) return {std::nullopt, PathRefusal::Empty};
  const auto storable = [&](std::wstring_view path) -> StorableChoice {
    std::optional<std::string> ansi = paths.ToAnsi(path);
    if (!ansi || ansi->empty()) return {std::nullopt, PathRefusal::NotInCodePage};
    if (ansi->size() > kMaxStoredPathBytes) return {std::nullopt, PathRefusal::TooLong};
    return {std::move(ansi), PathRefusal::None};
  };
  StorableChoice asChosen = storable(chosen);
  if (asChosen.path) return asChosen;
  const std::optional<std::wstring> shortForm = paths.ShortForm(chosen);
  if (!shortForm) return asChosen;
  StorableChoice asShort = storable(*shortForm);
  // When one form is held but too long, length is what the user can mend.
  if (!asShort.path && asChosen.refusal == PathRefusal::TooLong) return asChosen;
  return asShort;
}

}  // namespace ventalune::dialog
