#include "saver/dialog/dialog_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "row_name.h"

namespace ventalune::dialog {
namespace {

struct PictureRow {
  std::string name;
  int16_t kind;
  PictureGroupView view;
};
class PictureGroupTest : public testing::TestWithParam<PictureRow> {};
TEST_P(PictureGroupTest, OneMarkAndTheChooserOnlyForAFile) {
  EXPECT_EQ(PictureGroupFor(GetParam().kind), GetParam().view);
}
INSTANTIATE_TEST_SUITE_P(Kinds, PictureGroupTest,
                         testing::Values(PictureRow{"Desktop", 0, {{true, false}, false}},
                                         PictureRow{"File", 1, {{false, true}, true}},
                                         PictureRow{"HandEditedTwo", 2, {{false, false}, false}},
                                         PictureRow{"Negative", -1, {{false, false}, false}}),
                         testing_support::RowName());

struct BgmRow {
  std::string name;
  int16_t kind;
  BgmGroupView view;
};
class BgmGroupTest : public testing::TestWithParam<BgmRow> {};
TEST_P(BgmGroupTest, RepeatBoxForCdChooserForFile) {
  EXPECT_EQ(BgmGroupFor(static_cast<settings::MusicKind>(GetParam().kind)), GetParam().view);
}
INSTANTIATE_TEST_SUITE_P(Kinds, BgmGroupTest,
                         testing::Values(BgmRow{"None", 0, {{true, false, false}, false, false}},
                                         BgmRow{"AudioCd", 1, {{false, true, false}, true, false}},
                                         BgmRow{"SoundFile", 2, {{false, false, true}, false, true}},
                                         BgmRow{"HandEditedFive", 5, {{false, false, false}, false, false}},
                                         BgmRow{"Negative", -1, {{false, false, false}, false, false}}),
                         testing_support::RowName());

struct MonitorsRow {
  std::string name;
  int16_t monitors;
  int option;
};
class MonitorsGroupTest : public testing::TestWithParam<MonitorsRow> {};
TEST_P(MonitorsGroupTest, OnlyMainOnlySelectsTheSecondOption) {
  EXPECT_EQ(MonitorsOptionFor(GetParam().monitors), GetParam().option);
}
INSTANTIATE_TEST_SUITE_P(Numbers, MonitorsGroupTest,
                         testing::Values(MonitorsRow{"Every", 0, 0}, MonitorsRow{"MainOnly", 1, 1},
                                         MonitorsRow{"HandEditedTwoIsEvery", 2, 0},
                                         MonitorsRow{"NegativeIsEvery", -1, 0}),
                         testing_support::RowName());

TEST(PicturePressTest, OnlyTheDesktopCaptionClearsWhatIsShown) {
  EXPECT_TRUE(PressClearsPictureShown(0, true));
  EXPECT_FALSE(PressClearsPictureShown(0, false));
  EXPECT_FALSE(PressClearsPictureShown(1, true));
  EXPECT_FALSE(PressClearsPictureShown(1, false));
}

TEST(RepeatBoxTest, ZeroIsEmptyAndTheListRunsToTwenty) {
  EXPECT_EQ(RepeatBoxText(0), "");
  EXPECT_EQ(RepeatBoxText(7), "7");
  EXPECT_EQ(RepeatBoxText(-3), "-3");
  EXPECT_EQ(RepeatBoxText(32767), "32767");
  const std::vector<std::string> items = RepeatBoxItems();
  ASSERT_EQ(items.size(), 21u);
  EXPECT_EQ(items.front(), "");
  EXPECT_EQ(items[1], "1");
  EXPECT_EQ(items.back(), "20");
}

struct TrackRow {
  std::string name;
  std::string text;
  int16_t previous;
  int16_t track;
};
class RepeatTrackTest : public testing::TestWithParam<TrackRow> {};
TEST_P(RepeatTrackTest, FromTheBoxText) {
  // A buffer of exactly the text's size, so a read past its end is caught.
  const std::vector<char> text(GetParam().text.begin(), GetParam().text.end());
  EXPECT_EQ(RepeatTrackFromText(std::string_view(text.data(), text.size()), GetParam().previous), GetParam().track);
}
INSTANTIATE_TEST_SUITE_P(
    Texts, RepeatTrackTest,
    testing::Values(TrackRow{"Empty", "", 9, 0}, TrackRow{"Letters", "abc", 9, 0}, TrackRow{"Seven", "7", 9, 7},
                    TrackRow{"TwoAndAHalfGoesToEven", "2.5", 9, 2}, TrackRow{"ThreeAndAHalfGoesToEven", "3.5", 9, 4},
                    TrackRow{"FractionRounds", "2.51", 9, 3}, TrackRow{"BlanksRound", "  12 ", 9, 12},
                    TrackRow{"Negative", "-4", 9, -4}, TrackRow{"NegativeHalf", "-2.5", 9, -2},
                    TrackRow{"LeadingPoint", ".6", 9, 1}, TrackRow{"TopOfRange", "32767", 9, 32767},
                    TrackRow{"BottomOfRange", "-32768", 9, -32768},
                    TrackRow{"AboveRangeKeepsPrevious", "40000", 9, 9},
                    TrackRow{"JustAboveAfterRounding", "32767.5", 3, 3},
                    TrackRow{"BelowRangeKeepsPrevious", "-32769", 9, 9},
                    TrackRow{"EndlessDigitsKeepPrevious", std::string(400, '9'), 9, 9},
                    TrackRow{"BareSign", "-", 9, 0}, TrackRow{"BarePoint", ".", 9, 0},
                    TrackRow{"Exponent", "1e3", 9, 0}, TrackRow{"DecimalComma", "2,5", 9, 0},
                    TrackRow{"TwoSigns", "+-1", 9, 0}, TrackRow{"InnerBlank", "1 2", 9, 0},
                    // Full-width forms, as a Japanese input method may type them (UTF-8).
                    TrackRow{"FullWidthDigits", "\xEF\xBC\x97", 9, 7},
                    TrackRow{"TwoFullWidthDigits", "\xEF\xBC\x91\xEF\xBC\x99", 9, 19},
                    TrackRow{"MixedWidths", "\xEF\xBC\x91" "2\xEF\xBC\x93", 9, 123},
                    TrackRow{"FullWidthSignAndPoint", "\xEF\xBC\x8D\xEF\xBC\x92\xEF\xBC\x8E\xEF\xBC\x95", 9, -2},
                    TrackRow{"FullWidthPlusHalfWidthPoint", "\xEF\xBC\x8B\xEF\xBC\x93.5", 9, 4},
                    TrackRow{"FullWidthBlanksAround", "\xE3\x80\x80 \xEF\xBC\x98\xE3\x80\x80", 9, 8},
                    TrackRow{"FullWidthInnerBlank", "1\xE3\x80\x80" "2", 9, 0},
                    // The last byte of a full-width digit is missing.
                    TrackRow{"CutSequenceAtEnd", "1\xEF\xBC", 9, 0},
                    TrackRow{"LoneLeadByte", "\xEF", 9, 0},
                    // A digit where the sequence's last byte should be is no full-width digit.
                    TrackRow{"CutSequenceBeforeDigit", "\xEF\xBC" "7", 9, 0},
                    // Full-width letters stay letters.
                    TrackRow{"FullWidthExponent", "1\xEF\xBD\x85" "3", 9, 0}),
    testing_support::RowName());

// A system code page that holds ASCII only, and a file system that knows
// short names for some paths.
class FakePaths final : public PathPort {
 public:
  std::map<std::wstring, std::wstring> shortNames;
  std::optional<std::string> ToAnsi(std::wstring_view path) override {
    std::string ansi;
    for (wchar_t c : path) {
      if (c > 0x7F) return std::nullopt;
      ansi += static_cast<char>(c);
    }
    return ansi;
  }
  std::optional<std::wstring> ShortForm(std::wstring_view path) override {
    const auto found = shortNames.find(std::wstring(path));
    if (found == shortNames.end()) return std::nullopt;
    return found->second;
  }
};

struct PathRow {
  std::string name;
  std::wstring chosen;
  std::wstring shortForm;  // empty: the file system has none
  std::optional<std::string> stored;
  PathRefusal refusal;
};
class StorablePathTest : public testing::TestWithParam<PathRow> {};
TEST_P(StorablePathTest, NeverAReplacementCharacter) {
  FakePaths paths;
  if (!GetParam().shortForm.empty()) paths.shortNames[GetParam().chosen] = GetParam().shortForm;
  const StorableChoice choice = StorablePath(GetParam().chosen, paths);
  EXPECT_EQ(choice.path, GetParam().stored);
  EXPECT_EQ(choice.refusal, GetParam().refusal);
}
const std::wstring kLongName = L"C:\\" + std::wstring(251, L'a');  // 254 characters
INSTANTIATE_TEST_SUITE_P(
    Paths, StorablePathTest,
    testing::Values(
        PathRow{"Held", L"C:\\Pictures\\sky.jpg", L"C:\\PICTUR~1\\sky.jpg", "C:\\Pictures\\sky.jpg", PathRefusal::None},
        PathRow{"NotHeldTakesShortForm", L"C:\\\u5199\u771f\\sky.jpg", L"C:\\8A9F~1\\sky.jpg", "C:\\8A9F~1\\sky.jpg",
                PathRefusal::None},
        PathRow{"NotHeldNoShortFormRefused", L"C:\\\u5199\u771f\\sky.jpg", L"", std::nullopt,
                PathRefusal::NotInCodePage},
        PathRow{"ShortFormNotHeldEitherRefused", L"C:\\\u5199\u771f\\\u7a7a.jpg", L"C:\\8A9F~1\\\u7a7a.jpg",
                std::nullopt, PathRefusal::NotInCodePage},
        PathRow{"LongestThatFits", kLongName, L"", "C:\\" + std::string(251, 'a'), PathRefusal::None},
        PathRow{"TooLongTakesShortForm", kLongName + L"b", L"C:\\AAAAAA~1", "C:\\AAAAAA~1", PathRefusal::None},
        PathRow{"TooLongNoShortFormRefused", kLongName + L"b", L"", std::nullopt, PathRefusal::TooLong},
        // The code page holds one of the forms, but it is too long: length is the reason.
        PathRow{"NotHeldShortFormTooLongRefused", L"C:\\\u5199\u771f\\" + std::wstring(250, L'a'),
                L"C:\\8A9F~1\\" + std::wstring(250, L'a'), std::nullopt, PathRefusal::TooLong},
        PathRow{"TooLongShortFormNotHeldRefused", kLongName + L"b", L"C:\\\u7a7a~1", std::nullopt,
                PathRefusal::TooLong},
        PathRow{"Empty", L"", L"", std::nullopt, PathRefusal::Empty}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::dialog
