// libFuzzer target for the settings' number reader: any text. Where the
// text is plain decimal of modest length, the C library's reading of it,
// rounded down, is the answer the reader must give (or refuse exactly when
// that answer lies outside a 16-bit number).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "saver/settings/setting_number.h"

namespace {

// The text without blanks and tabs around it, when what is left holds only
// digits, one sign in front and points, and few enough digits that a long
// double reads it exactly enough to round down right.
bool PlainDecimal(std::string_view text, std::string& core) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  int digits = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') ++digits;
    else if (!(c == '.' || ((c == '+' || c == '-') && i == 0))) return false;
  }
  if (digits == 0 || digits > 17) return false;
  core = std::string(text);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<int16_t> read = ventalune::settings::ReadSettingNumber(text);

  std::string core;
  if (!PlainDecimal(text, core)) {
    // Anything else with a letter, a comma, a NUL or an inner blank is refused.
    if (read && text.find_first_not_of(" \t+-.0123456789") != std::string_view::npos) std::abort();
    return 0;
  }
  char* end = nullptr;
  const long double value = std::strtold(core.c_str(), &end);
  const bool parsed = end == core.c_str() + core.size();
  const long double down = std::floor(value);
  const bool fits = parsed && down >= -32768.0L && down <= 32767.0L;
  if (fits != read.has_value()) std::abort();
  if (read && static_cast<long double>(*read) != down) std::abort();
  return 0;
}
