#include "tools/gifview/gifview_options.h"

#include <cctype>
#include <charconv>
#include <limits>

namespace ventalune::gifview {
namespace {

template <class T>
std::optional<T> Whole(const std::string& text, int base = 10) {
  T value{};
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value, base);
  if (text.empty() || error != std::errc{} || at != end) return std::nullopt;
  return value;
}

std::optional<int32_t> InRange(const std::string& text, int64_t low, int64_t high) {
  const auto value = Whole<int64_t>(text);
  if (!value || *value < low || *value > high) return std::nullopt;
  return static_cast<int32_t>(*value);
}

bool ParseSize(const std::string& text, int32_t& width, int32_t& height) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  const auto w = InRange(text.substr(0, x), 1, 16384);
  const auto h = InRange(text.substr(x + 1), 1, 16384);
  if (!w || !h) return false;
  width = *w;
  height = *h;
  return true;
}

}  // namespace

std::optional<GifviewOptions> ParseGifviewOptions(const std::vector<std::string>& arguments) {
  GifviewOptions options;
  bool haveSource = false;
  constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--design") {
      options.design = true;
      continue;
    }
    if (argument.rfind("--", 0) == 0) {
      if (i + 1 >= arguments.size()) return std::nullopt;
      const std::string& value = arguments[++i];
      if (argument == "--stretch") {
        if (!(options.stretch = InRange(value, 0, 4))) return std::nullopt;
      } else if (argument == "--mirror") {
        if (!(options.mirror = InRange(value, 0, 3))) return std::nullopt;
      } else if (argument == "--loops") {
        if (!(options.loops = InRange(value, -kInt32Max, kInt32Max))) return std::nullopt;
      } else if (argument == "--min-delay") {
        if (!(options.minDelay = InRange(value, 0, kInt32Max))) return std::nullopt;
      } else if (argument == "--delay-mode") {
        if (!(options.delayMode = InRange(value, 0, 3))) return std::nullopt;
      } else if (argument == "--size") {
        if (!ParseSize(value, options.width, options.height)) return std::nullopt;
      } else if (argument == "--background") {
        const auto colour = value.size() == 6 ? Whole<uint32_t>(value, 16) : std::nullopt;
        if (!colour) return std::nullopt;
        options.background = *colour;
      } else if (argument == "--capture") {
        if (value.empty()) return std::nullopt;
        options.captureDir = value;
      } else if (argument == "--cancel-remote") {
        if (value != "0" && value != "1") return std::nullopt;
        options.cancelRemote = value == "1";
      } else if (argument == "--exit-after") {
        const auto ms = Whole<int64_t>(value);
        if (!ms || *ms <= 0) return std::nullopt;
        options.exitAfterMs = *ms;
      } else {
        return std::nullopt;
      }
      continue;
    }
    if (haveSource || argument.empty()) return std::nullopt;
    options.source = argument;
    haveSource = true;
  }
  if (!haveSource) return std::nullopt;
  return options;
}

bool IsRemoteSource(const std::string& source) {
  std::string lower;
  for (char c : source.substr(0, 8)) lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  return lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0 || lower.rfind("file:", 0) == 0;
}

}  // namespace ventalune::gifview
