#include "saver/dialog/path_shortening.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "row_name.h"

namespace ventalune::dialog {
namespace {

bool IsTrailByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Widths as fonts might give them: one per character; the same but two for
// a CJK character (lead byte E3 and up); one per byte but one for the
// ellipsis, for texts of ASCII and stray bytes.
enum class Font { Narrow, Wide, Bytewise };
int WidthIn(Font font, std::string_view text) {
  int width = 0;
  for (char c : text) {
    if (font == Font::Bytewise) ++width;
    else if (!IsTrailByte(c)) width += font == Font::Wide && static_cast<unsigned char>(c) >= 0xE3 ? 2 : 1;
  }
  if (font == Font::Bytewise) {
    for (size_t at = text.find(kEllipsis); at != std::string_view::npos; at = text.find(kEllipsis, at + 1)) width -= 2;
  }
  return width;
}

struct ShortenRow {
  std::string name;
  Font font;
  std::string text;
  int maxWidth;
  std::string shortened;
};
class ShortenInMiddleTest : public testing::TestWithParam<ShortenRow> {};
TEST_P(ShortenInMiddleTest, KeepsTheStartAndMoreOfTheEnd) {
  // A buffer of exactly the text's size, so a read past its end is caught.
  const std::vector<char> text(GetParam().text.begin(), GetParam().text.end());
  const auto widthOf = [&](std::string_view s) { return WidthIn(GetParam().font, s); };
  EXPECT_EQ(ShortenInMiddle(std::string_view(text.data(), text.size()), GetParam().maxWidth, widthOf),
            GetParam().shortened);
}
INSTANTIATE_TEST_SUITE_P(
    Texts, ShortenInMiddleTest,
    testing::Values(
        ShortenRow{"FitsUnchanged", Font::Narrow, "C:\\a\\b.jpg", 10, "C:\\a\\b.jpg"},
        ShortenRow{"EmptyUnchanged", Font::Narrow, "", -1, ""},
        ShortenRow{"OneTooWide", Font::Narrow, "abcdefghij", 9, "abcd\u2026ghij"},
        ShortenRow{"OddRoomGoesToTheEnd", Font::Narrow, "abcdefghij", 8, "abc\u2026ghij"},
        ShortenRow{"RoomForOneGoesToTheEnd", Font::Narrow, "abcdefghij", 2, "\u2026j"},
        ShortenRow{"OnlyTheEllipsisFits", Font::Narrow, "abc", 1, "\u2026"},
        ShortenRow{"NotEvenTheEllipsisFits", Font::Narrow, "abc", 0, "\u2026"},
        // Wide characters at the start leave room the end alone takes.
        ShortenRow{"WideStartLeavesRoomToTheEnd", Font::Wide, "\u5199\u771f\u5199\u771f\u5199\u771f\\abcdef.jpg", 15,
                   "\u5199\u771f\u5199\u771f\u2026ef.jpg"},
        ShortenRow{"WideCharacterAtTheEndKeptWhole", Font::Wide, "C:\\Music\\\u97f3\u697d.mp3", 11,
                   "C:\\M\u2026\u697d.mp3"},
        // FF and FE never occur in UTF-8; E3 81 lacks its last byte.
        ShortenRow{"StrayBytesAreCharacters", Font::Bytewise, "ab\xFF\xFE" "cd\xE3\x81", 7,
                   "ab\xFF\u2026" "d\xE3\x81"},
        // E0 80 80 is an overlong form of U+0000, ED A0 80 a surrogate half.
        ShortenRow{"OverlongFormAndSurrogateAreStrayBytes", Font::Bytewise, "\xE0\x80\x80" "ab\xED\xA0\x80", 5,
                   "\xE0\x80\u2026\xA0\x80"},
        // E3 81 before "a" is two stray bytes, not the start of a character.
        ShortenRow{"CutSequenceBeforeACharacter", Font::Narrow, "\xE3\x81" "abcdef\u3042", 7,
                   "\xE3\x81" "a\u2026def\u3042"},
        ShortenRow{"CutSequenceAtTheEnd", Font::Narrow, "abcdefgh\xE3\x81", 5, "ab\u2026h\xE3\x81"}),
    testing_support::RowName());

// Every width from too small for the ellipsis to the whole text: the result
// fits, is a start and an end of the text cut between characters, and gives
// the end at least as many characters as the start.
TEST(ShortenInMiddleTest, FitsAndCutsBetweenCharactersAtEveryWidth) {
  const std::string text = "D:\\\u5199\u771f\\2024\\\u590f\u306e\u7a7a.jpg";
  const auto widthOf = [](std::string_view s) { return WidthIn(Font::Wide, s); };
  const auto characters = [](std::string_view s) {
    int count = 0;
    for (char c : s) count += IsTrailByte(c) ? 0 : 1;
    return count;
  };
  for (int maxWidth = -1; maxWidth <= widthOf(text); ++maxWidth) {
    SCOPED_TRACE(maxWidth);
    const std::string shortened = ShortenInMiddle(text, maxWidth, widthOf);
    if (maxWidth == widthOf(text)) {
      EXPECT_EQ(shortened, text);
      continue;
    }
    const size_t ellipsis = shortened.find(kEllipsis);
    ASSERT_NE(ellipsis, std::string::npos);
    const std::string start = shortened.substr(0, ellipsis);
    const std::string end = shortened.substr(ellipsis + kEllipsis.size());
    EXPECT_TRUE(shortened == kEllipsis || widthOf(shortened) <= maxWidth);
    EXPECT_TRUE(text.starts_with(start) && text.ends_with(end));
    EXPECT_LT(start.size() + end.size(), text.size());
    EXPECT_FALSE(IsTrailByte(text[start.size()]));
    EXPECT_FALSE(!end.empty() && IsTrailByte(end.front()));
    EXPECT_GE(characters(end), characters(start));
  }
}

}  // namespace
}  // namespace ventalune::dialog
