#pragma once
// Text the toolkit shows is kept as UTF-8 and handed to the wide API; paths
// and settings are bytes in the system's ANSI code page. Conversions between
// the three, with a way to tell when ANSI cannot hold a text.
#include <optional>
#include <string>
#include <string_view>

namespace ventalune::toolkit {

std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

// ANSI (system code page) bytes as wide text.
std::wstring WideFromAnsi(std::string_view ansi);
// The text in the system code page, or nothing when some character has no
// place there (the platform would put a replacement character instead).
std::optional<std::string> AnsiFromWide(std::wstring_view wide);

}  // namespace ventalune::toolkit
