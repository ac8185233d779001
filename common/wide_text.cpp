#include "common/wide_text.h"

#include <windows.h>

namespace ventalune {
namespace {

std::wstring ToWide(UINT codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), size);
  return wide;
}

// The text in `codePage`, a character it lacks as its default one.
std::string FromWide(UINT codePage, std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size =
      WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size, nullptr, nullptr);
  return bytes;
}

}  // namespace

std::wstring WideFromUtf8(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }
std::wstring WideFromAnsi(std::string_view ansi) { return ToWide(CP_ACP, ansi); }

std::string Utf8FromWide(std::wstring_view wide) { return FromWide(CP_UTF8, wide); }
std::string AnsiFromWideReplacing(std::wstring_view wide) { return FromWide(CP_ACP, wide); }

std::optional<std::string> AnsiFromWide(std::wstring_view wide) {
  if (wide.empty()) return std::string();
  BOOL lossy = FALSE;
  // No best-fit mapping: a character ANSI lacks must not pass for another.
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, &lossy);
  if (size <= 0 || lossy) return std::nullopt;
  std::string ansi(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), ansi.data(), size,
                      nullptr, &lossy);
  if (lossy) return std::nullopt;
  return ansi;
}

}  // namespace ventalune
