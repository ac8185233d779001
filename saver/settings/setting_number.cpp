#include "saver/settings/setting_number.h"

#include <limits>

namespace ventalune::settings {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Any whole part beyond this is out of range whatever the sign and fraction;
// stopping there keeps the arithmetic small for digit strings of any length.
constexpr int64_t kWholeCeiling = 100000;

}  // namespace

std::optional<int16_t> ReadSettingNumber(std::string_view text) {
  size_t at = 0;
  const size_t end = text.size();
  while (at < end && IsBlank(text[at])) ++at;

  bool negative = false;
  if (at < end && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }

  bool anyDigit = false;
  int64_t whole = 0;
  while (at < end && IsDigit(text[at])) {
    anyDigit = true;
    if (whole < kWholeCeiling) whole = whole * 10 + (text[at] - '0');
    ++at;
  }

  bool fractionNonZero = false;
  if (at < end && text[at] == '.') {
    ++at;
    while (at < end && IsDigit(text[at])) {
      anyDigit = true;
      if (text[at] != '0') fractionNonZero = true;
      ++at;
    }
  }

  while (at < end && IsBlank(text[at])) ++at;
  if (!anyDigit || at != end) return std::nullopt;

  // Rounding down moves a negative number with a fraction one further away from zero.
  const int64_t value = negative ? -whole - (fractionNonZero ? 1 : 0) : whole;
  if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max()) return std::nullopt;
  return static_cast<int16_t>(value);
}

}  // namespace ventalune::settings
