#pragma once
// Shortening a path that is too wide for its box by leaving out its middle,
// so that both the drive and the file name stay in sight.
#include <functional>
#include <string>
#include <string_view>

namespace ventalune::dialog {

// The ellipsis that stands for what was left out (U+2026 in UTF-8).
inline constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

// `utf8` as it is when widthOf(utf8) <= maxWidth (an empty text always);
// otherwise some start of it, kEllipsis and some end of it, cut between
// characters only. A well-formed UTF-8 sequence is one character; each byte
// that is not part of one is a character of its own.
//
// The rule, for a text of n characters: first the largest k < n is taken for
// which the first floor(k/2) and the last ceil(k/2) characters fit round the
// ellipsis, so the end has as many characters as the start or one more; then
// the end alone takes as many more characters as still fit, since the file
// name at the end says most about the choice. When not
// even the ellipsis fits, the result is the ellipsis alone: a box that shows
// "…" still says there is a path. `widthOf` is assumed to grow as its text
// grows at either end; it is called O(log n) times.
std::string ShortenInMiddle(std::string_view utf8, int maxWidth, const std::function<int(std::string_view)>& widthOf);

}  // namespace ventalune::dialog
