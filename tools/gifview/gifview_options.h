#pragma once
// gifview's command line: gifview [options] FILE-OR-URL.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ventalune::gifview {

inline constexpr char kGifviewUsage[] =
    "usage: gifview [options] FILE-OR-URL\n"
    "  --stretch M        stretch mode 0-4 (default 1)\n"
    "  --mirror K         0 none, 1 horizontal, 2 vertical, 3 both\n"
    "  --loops N          loops to play, 0 = endless (default: the file's)\n"
    "  --min-delay MS     shortest time a frame stays (10-32700, default 50)\n"
    "  --delay-mode D     0-3 (default 1)\n"
    "  --size WxH         client area of the window (default 320x240)\n"
    "  --background RRGGBB  the window's colour behind the picture\n"
    "  --design           show the control as in a designer\n"
    "  --capture DIR      after each paint write DIR/shot-NNNN.bmp and a line to standard output\n"
    "  --exit-after MS    end after MS milliseconds\n"
    "  --cancel-remote 1  answer RemoteLoadComplete with Cancel\n";

struct GifviewOptions {
  std::optional<int32_t> stretch;
  std::optional<int32_t> mirror;
  std::optional<int32_t> loops;
  std::optional<int32_t> minDelay;
  std::optional<int32_t> delayMode;
  int32_t width = 320;
  int32_t height = 240;
  uint32_t background = 0xC0C0C0;  // 0xRRGGBB
  bool design = false;
  std::string captureDir;  // empty: no capture
  std::optional<int64_t> exitAfterMs;
  bool cancelRemote = false;
  std::string source;  // file name or URL, as given
};

// Nothing when the arguments are not understood (the caller prints the
// usage and exits with 2). Numbers must be whole decimal numbers; sizes
// and times must be positive; a mode outside its range is refused.
std::optional<GifviewOptions> ParseGifviewOptions(const std::vector<std::string>& arguments);

// A URL gifview downloads rather than reads as a file.
bool IsRemoteSource(const std::string& source);

}  // namespace ventalune::gifview
