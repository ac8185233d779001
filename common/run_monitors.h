#pragma once
// What the saver tells the scene about the monitors of a run: whether the
// room is to show on every monitor or on the main one only, and for which
// monitor each room picture was made. The saver writes it into an
// environment variable the scene inherits; the scene, started alone or
// handed a value it cannot read, shows every monitor with the first room
// picture on each. Portable: both programs and their tests share it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ventalune {

inline constexpr wchar_t kRunMonitorsVariable[] = L"VENTALUNE_MONITORS";

// A monitor's rectangle in the virtual screen's physical pixels: left and
// top inclusive, right and bottom exclusive, as Windows' RECT.
struct MonitorRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool operator==(const MonitorRect&) const = default;
};

// No run makes more room pictures than this; further monitors show the
// first one. A broken monitor list cannot fill the disk.
inline constexpr std::size_t kMostRoomPictures = 16;

// A monitor as the system lists it.
struct DisplayMonitor {
  MonitorRect area;
  bool primary = false;
  uint32_t refreshHz = 0;  // 0 where the system does not say
  bool operator==(const DisplayMonitor&) const = default;
};

struct RunMonitors {
  bool mainOnly = false;
  // rooms[i] is the monitor room picture i was made for (RoomPictureIn).
  std::vector<MonitorRect> rooms;
  bool operator==(const RunMonitors&) const = default;
};

// "every" or "main", then ";left,top,right,bottom" for each room picture.
std::wstring FormatRunMonitors(const RunMonitors& monitors);
// Nothing for a text that is not exactly that form (an empty room, more
// rooms than kMostRoomPictures, numbers out of range).
std::optional<RunMonitors> ParseRunMonitors(std::wstring_view text);

// The monitors the room shows on, the main one first (the one the system
// flags, else the one holding the origin, where Windows keeps it, else the
// first that has an area): every monitor with an
// area (the main one only, for `mainOnly`), one of each group showing the
// same area (mirrored monitors), at most kMostRoomPictures.
std::vector<DisplayMonitor> ShownMonitors(std::span<const DisplayMonitor> monitors, bool mainOnly);

// Which room picture belongs to a monitor: the one made for exactly that
// rectangle, else the first (a monitor that came during the run, or a
// picture chosen by the user, which serves every monitor).
std::size_t RoomPictureFor(const MonitorRect& monitor, const std::vector<MonitorRect>& rooms);

}  // namespace ventalune
