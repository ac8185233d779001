#include "saver/dialog/path_shortening.h"

#include <cstddef>
#include <vector>

namespace ventalune::dialog {
namespace {

// The length of the well-formed UTF-8 sequence `text` starts with, or 1
// when its first byte begins none: a stray trail byte, a lead byte without
// all its trail bytes, an overlong form, a surrogate or a value past
// U+10FFFF.
size_t CharacterLength(std::string_view text) {
  const auto byte = [&](size_t at) { return static_cast<unsigned char>(text[at]); };
  const unsigned char lead = byte(0);
  size_t length = 0;
  // The range of the second byte, narrower after some leads.
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 1;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 1;
  for (size_t at = 2; at < length; ++at) {
    if (byte(at) < 0x80 || byte(at) > 0xBF) return 1;
  }
  return length;
}

// Where each character of `text` starts, and then the text's size.
std::vector<size_t> CharacterBounds(std::string_view text) {
  std::vector<size_t> bounds;
  size_t at = 0;
  while (at < text.size()) {
    bounds.push_back(at);
    at += CharacterLength(text.substr(at));
  }
  bounds.push_back(text.size());
  return bounds;
}

// The largest value in low..high that fits, when `low` does and whatever
// fits, everything below it does too.
size_t LargestFitting(size_t low, size_t high, const std::function<bool(size_t)>& fits) {
  while (low < high) {
    const size_t middle = low + (high - low + 1) / 2;
    if (fits(middle)) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  return low;
}

}  // namespace

std::string ShortenInMiddle(std::string_view utf8, int maxWidth, const std::function<int(std::string_view)>& widthOf) {
  if (utf8.empty() || widthOf(utf8) <= maxWidth) return std::string(utf8);
  const std::vector<size_t> bounds = CharacterBounds(utf8);
  const size_t count = bounds.size() - 1;
  // The first `head` and the last `tail` characters round the ellipsis.
  const auto joined = [&](size_t head, size_t tail) {
    std::string text(utf8.substr(0, bounds[head]));
    text += kEllipsis;
    text += utf8.substr(bounds[count - tail]);
    return text;
  };
  const auto fits = [&](size_t head, size_t tail) { return widthOf(joined(head, tail)) <= maxWidth; };
  if (!fits(0, 0)) return std::string(kEllipsis);

  // At least one character is left out, or the ellipsis would stand for nothing.
  const size_t kept = LargestFitting(0, count - 1, [&](size_t k) { return fits(k / 2, k - k / 2); });
  const size_t head = kept / 2;
  const size_t tail = LargestFitting(kept - head, count - 1 - head, [&](size_t t) { return fits(head, t); });
  return joined(head, tail);
}

}  // namespace ventalune::dialog
