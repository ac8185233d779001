#pragma once
// Text a person sees is kept as UTF-8 and handed to the wide API; paths and
// settings are bytes in the system's ANSI code page. Conversions between the
// three, with a way to tell when ANSI cannot hold a text.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ventalune {

std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

// ANSI (system code page) bytes as wide text.
std::wstring WideFromAnsi(std::string_view ansi);
// The text in the system code page, or nothing when some character has no
// place there (the platform would put a replacement character instead).
std::optional<std::string> AnsiFromWide(std::wstring_view wide);
// The text in the system code page as the ANSI functions of the platform
// hand it over: a character the code page lacks becomes its default one.
std::string AnsiFromWideReplacing(std::wstring_view wide);

// A constant of plain ASCII spelt for the wide API at compile time, so a
// text both programs share is written once.
template <std::size_t Size>
constexpr std::array<wchar_t, Size> WideAscii(const char (&text)[Size]) {
  std::array<wchar_t, Size> wide{};
  for (std::size_t i = 0; i < Size; ++i) wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
  return wide;
}
// The same for a text made at compile time (see JoinedPath).
template <std::size_t Size>
constexpr std::array<wchar_t, Size> WideAscii(const std::array<char, Size>& text) {
  std::array<wchar_t, Size> wide{};
  for (std::size_t i = 0; i < Size; ++i) wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
  return wide;
}

}  // namespace ventalune
