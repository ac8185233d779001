#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace ventalune::settings {

// Reads a number setting as the settings file holds it: plain decimal text,
// as the dialog writes it (" 1") or as a person might type it.
//
// Accepted: blanks or tabs around the number, one sign (+ or -), digits with
// an optional decimal point and fraction (".5" and "5." included). A fraction
// is rounded down, toward minus infinity: 1.9 gives 1, -1.5 gives -2.
// Refused (nothing returned, so the caller keeps what it had): anything else,
// among them exponents ("1e3"), a decimal comma ("1,5"), thousands
// separators, hexadecimal forms, full-width digits, and any result outside
// -32768..32767. Digit strings of any length are read without overflow.
std::optional<int16_t> ReadSettingNumber(std::string_view text);

}  // namespace ventalune::settings
