#include "saver/launcher/launch_mode.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace ventalune::launcher {

LaunchMode ModeOf(std::string_view arguments) {
  if (arguments.empty()) return LaunchMode::kSettings;
  if (arguments.size() < 2) return LaunchMode::kNone;
  switch (arguments[1]) {
    case 'P':
    case 'p':
      return LaunchMode::kPreview;
    case 'C':
    case 'c':
      return LaunchMode::kSettings;
    case 'S':
    case 's':
      return LaunchMode::kRun;
    default:
      return LaunchMode::kNone;
  }
}

int32_t PreviewHostHandle(std::string_view arguments) {
  if (arguments.size() <= 3) return 0;
  std::string_view rest = arguments.substr(3);
  const size_t start = rest.find_first_not_of(" \t");
  if (start == std::string_view::npos) return 0;
  rest = rest.substr(start);

  // A sign, digits, and an optional fraction; nothing else is read.
  size_t end = 0;
  if (end < rest.size() && (rest[end] == '-' || rest[end] == '+')) ++end;
  const size_t digitsStart = end;
  while (end < rest.size() && rest[end] >= '0' && rest[end] <= '9') ++end;
  if (end == digitsStart) return 0;
  if (end < rest.size() && rest[end] == '.') {
    ++end;
    while (end < rest.size() && rest[end] >= '0' && rest[end] <= '9') ++end;
  }
  const double value = std::strtod(std::string(rest.substr(0, end)).c_str(), nullptr);
  // Halves go to the even neighbour, as the platform's own conversion does.
  const double rounded = std::nearbyint(value);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return 0;
  return static_cast<int32_t>(rounded);
}

}  // namespace ventalune::launcher
