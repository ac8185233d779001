#include "common/run_monitors.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace ventalune {
namespace {

constexpr std::wstring_view kEvery = L"every";
constexpr std::wstring_view kMain = L"main";

// The virtual screen is far smaller than this either way; anything beyond
// is a broken value, not a monitor.
constexpr int32_t kFarthestCoordinate = 1 << 20;

std::optional<int32_t> ParseCoordinate(std::wstring_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::string narrow;
  for (const wchar_t c : text) {
    if (c != L'-' && (c < L'0' || c > L'9')) return std::nullopt;
    narrow += static_cast<char>(c);
  }
  int32_t value = 0;
  const auto [end, error] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
  if (error != std::errc{} || end != narrow.data() + narrow.size()) return std::nullopt;
  if (value < -kFarthestCoordinate || value > kFarthestCoordinate) return std::nullopt;
  return value;
}

std::optional<MonitorRect> ParseRect(std::wstring_view text) {
  int32_t values[4] = {};
  for (int i = 0; i < 4; ++i) {
    const size_t comma = i < 3 ? text.find(L',') : text.size();
    if (comma == std::wstring_view::npos) return std::nullopt;
    const std::optional<int32_t> value = ParseCoordinate(text.substr(0, comma));
    if (!value) return std::nullopt;
    values[i] = *value;
    text.remove_prefix(std::min(text.size(), comma + 1));
  }
  const MonitorRect rect{values[0], values[1], values[2], values[3]};
  if (rect.empty()) return std::nullopt;
  return rect;
}

// The main monitor; none when no monitor has an area.
const DisplayMonitor* MainMonitor(std::span<const DisplayMonitor> monitors) {
  const auto holdsOrigin = [](const MonitorRect& r) { return r.left <= 0 && 0 < r.right && r.top <= 0 && 0 < r.bottom; };
  for (const DisplayMonitor& m : monitors)
    if (m.primary && !m.area.empty()) return &m;
  for (const DisplayMonitor& m : monitors)
    if (!m.area.empty() && holdsOrigin(m.area)) return &m;
  for (const DisplayMonitor& m : monitors)
    if (!m.area.empty()) return &m;
  return nullptr;
}

}  // namespace

std::wstring FormatRunMonitors(const RunMonitors& monitors) {
  std::wstring text(monitors.mainOnly ? kMain : kEvery);
  for (const MonitorRect& r : monitors.rooms) {
    text += L';';
    for (const int32_t value : {r.left, r.top, r.right, r.bottom}) {
      text += std::to_wstring(value);
      text += L',';
    }
    text.pop_back();
  }
  return text;
}

std::optional<RunMonitors> ParseRunMonitors(std::wstring_view text) {
  RunMonitors monitors;
  const size_t first = text.find(L';');
  const std::wstring_view spread = text.substr(0, first);
  if (spread != kEvery && spread != kMain) return std::nullopt;
  monitors.mainOnly = spread == kMain;
  if (first == std::wstring_view::npos) return monitors;
  text.remove_prefix(first + 1);
  for (;;) {
    const size_t end = text.find(L';');
    const std::optional<MonitorRect> rect = ParseRect(text.substr(0, end));
    if (!rect || monitors.rooms.size() == kMostRoomPictures) return std::nullopt;
    monitors.rooms.push_back(*rect);
    if (end == std::wstring_view::npos) return monitors;
    text.remove_prefix(end + 1);
  }
}

std::vector<DisplayMonitor> ShownMonitors(std::span<const DisplayMonitor> monitors, bool mainOnly) {
  const DisplayMonitor* main = MainMonitor(monitors);
  if (!main) return {};
  std::vector<DisplayMonitor> shown{*main};
  if (mainOnly) return shown;
  for (const DisplayMonitor& m : monitors) {
    if (m.area.empty() || shown.size() == kMostRoomPictures) continue;
    const bool already = std::any_of(shown.begin(), shown.end(), [&](const DisplayMonitor& s) { return s.area == m.area; });
    if (!already) shown.push_back(m);
  }
  return shown;
}

std::size_t RoomPictureFor(const MonitorRect& monitor, const std::vector<MonitorRect>& rooms) {
  const auto found = std::find(rooms.begin(), rooms.end(), monitor);
  return found == rooms.end() ? 0 : static_cast<std::size_t>(found - rooms.begin());
}

}  // namespace ventalune
