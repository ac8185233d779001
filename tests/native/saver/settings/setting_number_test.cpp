#include "saver/settings/setting_number.h"

#include <gtest/gtest.h>

#include "row_name.h"

namespace ventalune::settings {
namespace {

struct NumberRow {
  const char* name;
  const char* text;
  std::optional<int16_t> number;  // nothing: not a number, the old value stays
};

class SettingNumberTest : public testing::TestWithParam<NumberRow> {};

TEST_P(SettingNumberTest, ReadsDecimalTextOrRefusesIt) {
  EXPECT_EQ(ReadSettingNumber(GetParam().text), GetParam().number) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SettingNumberTest,
    testing::Values(
        // Forms the dialog writes and plain variants of them.
        NumberRow{"Zero", "0", 0}, NumberRow{"DialogFormLeadingBlank", " 1", 1}, NumberRow{"Seven", " 7", 7},
        NumberRow{"TabAndTrailingBlanks", "\t2  ", 2}, NumberRow{"LeadingZeros", "0003", 3},
        NumberRow{"PlusSign", "+4", 4}, NumberRow{"Negative", "-5", -5}, NumberRow{"NegativeZero", "-0", 0},
        // Fractions are rounded down, toward minus infinity.
        NumberRow{"FractionRoundedDown", "1.9", 1}, NumberRow{"NegativeFractionRoundedDown", "-1.5", -2},
        NumberRow{"NegativeZeroFractionIsWhole", "-2.000", -2}, NumberRow{"OnlyFraction", ".5", 0},
        NumberRow{"TrailingPoint", "5.", 5},
        // The edges of signed 16 bits.
        NumberRow{"Largest", "32767", 32767}, NumberRow{"LargestWithFraction", "32767.99", 32767},
        NumberRow{"Smallest", "-32768", -32768}, NumberRow{"JustAboveLargest", "32768", std::nullopt},
        NumberRow{"FractionPushesBelowSmallest", "-32768.5", std::nullopt},
        NumberRow{"FortyThousand", "40000", std::nullopt},
        NumberRow{"ManyDigitsDoNotOverflow", "99999999999999999999999999", std::nullopt},
        NumberRow{"ManyLeadingZeros", "000000000000000000000000012", 12},
        // Not numbers.
        NumberRow{"Letters", "abc", std::nullopt}, NumberRow{"DigitsThenLetters", "12abc", std::nullopt},
        NumberRow{"OnlyBlanks", "   ", std::nullopt}, NumberRow{"OnlySign", "-", std::nullopt},
        NumberRow{"OnlyPoint", ".", std::nullopt}, NumberRow{"TwoSigns", "+-1", std::nullopt},
        NumberRow{"BlankAfterSign", "- 1", std::nullopt}, NumberRow{"BlankInsideDigits", "1 2", std::nullopt},
        NumberRow{"Exponent", "1e3", std::nullopt}, NumberRow{"DecimalComma", "1,5", std::nullopt},
        NumberRow{"TwoPoints", "1.2.3", std::nullopt}, NumberRow{"Hexadecimal", "&H10", std::nullopt},
        NumberRow{"CPrefixHexadecimal", "0x10", std::nullopt},
        // Full-width digit one in Shift-JIS.
        NumberRow{"FullWidthDigit", "\x82\x50", std::nullopt}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::settings
