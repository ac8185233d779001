#include "saver/dialog/dialog_rules.h"

#include <cmath>
#include <cstdlib>


namespace ventalune::dialog {

PictureGroupView PictureGroupFor(int16_t pictureKind) {
  PictureGroupView view;
  if (pictureKind == settings::kPictureDesktop || pictureKind == settings::kPictureFile)
    view.selected[static_cast<size_t>(pictureKind)] = true;
  view.choosePictureEnabled = pictureKind == settings::kPictureFile;
  return view;
}

bool PressClearsPictureShown(int index, bool onCaption) { return onCaption && index != settings::kPictureFile; }

BgmGroupView BgmGroupFor(int16_t bgmKind) {
  BgmGroupView view;
  if (bgmKind >= settings::kBgmNone && bgmKind <= settings::kBgmSoundFile)
    view.selected[static_cast<size_t>(bgmKind)] = true;
  view.repeatEnabled = bgmKind == settings::kBgmAudioCd;
  view.chooseSoundEnabled = bgmKind == settings::kBgmSoundFile;
  return view;
}

std::string RepeatBoxText(int16_t track) { return track == 0 ? std::string() : std::to_string(track); }

std::vector<std::string> RepeatBoxItems() {
  std::vector<std::string> items;
  for (int16_t track = 0; track <= 20; ++track) items.push_back(RepeatBoxText(track));
  return items;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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
  const std::optional<double> number = PlainNumber(text);
  if (!number) return 0;
  // The default rounding mode sends halves to the even neighbour.
  const double rounded = std::nearbyint(*number);
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) return previous;
  return static_cast<int16_t>(rounded);
}

std::optional<std::string> StorablePath(std::wstring_view chosen, PathPort& paths) {
  if (chosen.empty()) return std::nullopt;
  const auto storable = [&](std::wstring_view path) -> std::optional<std::string> {
    std::optional<std::string> ansi = paths.ToAnsi(path);
    if (!ansi || ansi->empty() || ansi->size() > kMaxStoredPathBytes) return std::nullopt;
    return ansi;
  };
  if (std::optional<std::string> path = storable(chosen)) return path;
  if (const std::optional<std::wstring> shortForm = paths.ShortForm(chosen)) return storable(*shortForm);
  return std::nullopt;
}

}  // namespace ventalune::dialog
